#pragma once

#include <QVariant>

#include "common/stored_date_time.h"
#include "storage/table_schema.h"

namespace storage {

class SqliteStatement;

// One column of the statement's current row as a field of that kind reads: an absent text as the
// empty text, an absent amount as 0, an amount of any number type to the fen.
QVariant columnValue(const SqliteStatement& statement, int column, FieldKind kind,
                     common::StoredDateTimeReader& dateTimes);

}  // namespace storage
