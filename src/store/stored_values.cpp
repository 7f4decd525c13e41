#include "store/stored_values.h"

#include <QDateTime>

#include "common/money.h"

namespace store {

bool sameValue(storage::FieldKind kind, const QVariant& first, const QVariant& second) {
    switch (kind) {
        case storage::FieldKind::Text:
            return first.toString() == second.toString();
        case storage::FieldKind::DateTime:
            return first.toDateTime() == second.toDateTime();
        case storage::FieldKind::Integer:
            return first.toLongLong() == second.toLongLong();
        case storage::FieldKind::Amount:
            break;
    }
    return first.value<common::Money>() == second.value<common::Money>();
}

bool sameRecord(const storage::TableSchema& table, const QVariantList& first,
                const QVariantList& second) {
    if (first.size() != table.columns.size() || second.size() != table.columns.size()) {
        return false;
    }
    for (int i = 0; i < table.columns.size(); ++i) {
        if (!sameValue(table.columns[i].kind, first[i], second[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace store
