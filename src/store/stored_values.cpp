#include "store/stored_values.h"

#include <QDateTime>

#include "common/money.h"

namespace store {

namespace {

bool sameValue(platform::FieldKind kind, const QVariant& first, const QVariant& second) {
    switch (kind) {
        case platform::FieldKind::Text:
            return first.toString() == second.toString();
        case platform::FieldKind::DateTime:
            return first.toDateTime() == second.toDateTime();
        case platform::FieldKind::Amount:
            break;
    }
    return first.value<common::Money>() == second.value<common::Money>();
}

}  // namespace

bool sameRecord(const platform::TableSchema& table, const QVariantList& first,
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
