#pragma once

#include <QString>
#include <QVariantList>
#include <optional>

#include "storage/record_search.h"
#include "storage/search_dialect.h"

namespace storage {

// A statement and its parameters in order: texts (QString) and whole numbers (qint64).
struct SqlStatement {
    QString sql;
    QVariantList parameters;
};

// The statements of one search in an engine's SQL. A page is one bounded query: the records with
// a date come first and are read by the date's index, newest first; the records without one
// follow. A page after a given record starts right behind it (keyset paging), so that reading
// far down costs no more than reading the first page.
class SearchStatements {
public:
    // textLeads: the date is compared without its index, so that the index of a text condition
    // finds the records (SearchDialect::unindexed).
    SearchStatements(const SearchDialect& dialect, const RecordSearch& search, bool textLeads);

    // Up to limit records with a date, after `after` when that is one of them.
    SqlStatement datedPage(const std::optional<SearchPosition>& after, int limit) const;
    // Up to limit records without a date, after `after` when that is one of them.
    SqlStatement undatedPage(const std::optional<SearchPosition>& after, int limit) const;
    // One row: the number of records found, then the exact sum of each amount field.
    SqlStatement totals() const;

    // The columns of a page's rows: the table's place in the search, the record's identity, its
    // date as the engine keeps it, the search's fields, and whether it is marked (0 or 1).
    static constexpr int kTableColumn = 0;
    static constexpr int kIdColumn = 1;
    static constexpr int kDateColumn = 2;
    static constexpr int kFirstFieldColumn = 3;
    static int markColumn(const RecordSearch& search);

private:
    class Parameters;
    enum class Part { Dated, Undated };

    SqlStatement page(Part part, const std::optional<SearchPosition>& after, int limit) const;
    // The query of one table for a page; empty when the table has nothing after `after`.
    QString tablePage(int table, Part part, const std::optional<SearchPosition>& after,
                      Parameters& parameters) const;
    // The search's own conditions on one table; the last day's bound only when asked for.
    QStringList conditions(int table, Parameters& parameters, bool withLastDay = true) const;
    // The date as the conditions compare it.
    QString dateCondition(int table) const;
    QString column(int table, int field) const;

    const SearchDialect& m_dialect;
    const RecordSearch& m_search;
    bool m_textLeads;
};

}  // namespace storage
