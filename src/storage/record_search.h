#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantList>

#include "common/money.h"
#include "storage/table_schema.h"

namespace storage {

// How a typed text is looked for in a text field. Every character stands for itself: nothing
// typed is ever a pattern.
enum class TextMatch {
    Equals,      // the whole field, exactly (an absent text equals the empty text)
    StartsWith,  // the field begins with it
    Contains,    // it is a part of the field
};

struct TextCondition {
    int field = -1;
    TextMatch match = TextMatch::Equals;
    QString text;
};

// The records of one or more tables that meet every condition, listed by a date field: the
// latest date first (records without a date after all others), then in the order of the tables,
// then the latest stored first. The tables after the first have the first one's columns at the
// same positions (and may have more); fields are named by those positions.
struct RecordSearch {
    QList<const TableSchema*> tables;
    QList<TextCondition> texts;
    int dateField = -1;
    // Only records whose date lies on one of these days, both included; a null day leaves its end
    // of the range open.
    QDate firstDay;
    QDate lastDay;
    // The fields each found record gives, and the amount fields the totals add up.
    QList<int> fields;
    QList<int> amountFields;
    // When set, each found record tells whether markTable holds a record with the same value in
    // markField, which markTable has at the same position.
    const TableSchema* markTable = nullptr;
    int markField = -1;

    bool hasDateBounds() const { return !firstDay.isNull() || !lastDay.isNull(); }
};

// A found record's place in the search's order; the next page of a search begins after it.
struct SearchPosition {
    QString date;  // the date as the engine keeps it; a null text for a record without one
    int table = 0;
    qint64 id = 0;
};

struct FoundRecord {
    SearchPosition position;  // its table (by its place in the search's tables) and its identity
    QVariantList values;      // the search's fields, in its order, as a walk reads them
    bool marked = false;
};

struct SearchTotals {
    qint64 count = 0;
    QList<common::Money> sums;  // exact, in the order of the search's amount fields
};

}  // namespace storage
