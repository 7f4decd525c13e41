#pragma once

#include <QString>

namespace storage {

// How an engine's SQL says what the statements of a search need, where the engines differ. The
// statements themselves are put together once, in search_statements.h.
class SearchDialect {
public:
    virtual ~SearchDialect() = default;

    // The column that keeps stored order, on the table that alias names.
    virtual QString identity(const QString& alias) const = 0;
    // The number-th parameter of a statement, counted from 1; a number may be used again.
    virtual QString parameter(int number) const = 0;

    // The condition that column begins with a text, where parameter holds prefixPattern(text):
    // exactly those characters, none of them a pattern, and found through the column's index.
    virtual QString startsWith(const QString& column, const QString& parameter) const = 0;
    virtual QString prefixPattern(const QString& text) const = 0;
    // The condition that the text that parameter holds is a part of column, character for
    // character.
    virtual QString contains(const QString& column, const QString& parameter) const = 0;
    // The sum of an amount column over the rows, exact to the fen, whatever order they come in.
    virtual QString exactSum(const QString& column) const = 0;
    // A column as a condition compares it without looking it up in its index.
    virtual QString unindexed(const QString& column) const = 0;
};

}  // namespace storage
