#include "storage/sqlite/column_value.h"

#include "common/money.h"
#include "storage/sqlite/statement.h"

namespace storage {

QVariant columnValue(const SqliteStatement& statement, int column, FieldKind kind,
                     common::StoredDateTimeReader& dateTimes) {
    switch (kind) {
        case FieldKind::Text:
            return statement.columnType(column) == SqliteType::Null ? QString()
                                                                    : statement.columnText(column);
        case FieldKind::DateTime:
            return statement.columnType(column) == SqliteType::Text
                       ? dateTimes.read(statement.columnUtf8(column))
                       : QDateTime();
        case FieldKind::Integer:
            return statement.columnInt64(column);
        case FieldKind::Amount:
            break;
    }
    return QVariant::fromValue(common::Money::fromStoredReal(statement.columnDouble(column)));
}

}  // namespace storage
