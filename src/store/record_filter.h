#pragma once

#include <QString>
#include <QVariant>
#include <functional>

namespace store {

// A test on one field of every record that a walk makes inside SQLite's scan of the table: the
// walk shows only the records that pass, and fetches nothing else of the others. The test gets
// the field's value as Table::readField would give it.
struct RecordFilter {
    QString fieldName;
    std::function<bool(const QVariant& value)> passes;
};

}  // namespace store
