#pragma once

#include <QByteArrayView>
#include <QVariant>

#include "common/money.h"
#include "common/stored_date_time.h"
#include "storage/table_schema.h"

namespace storage {

class PostgresResult;

// An amount as the server writes it: numeric(12,2) as exact decimal text, another number type
// possibly not.
common::Money amountOf(QByteArrayView text);

// One value of a result as a field of that kind reads: an absent text as the empty text and an
// absent amount as 0, as on SQLite.
QVariant valueOf(const PostgresResult& result, int row, int column, FieldKind kind,
                 common::StoredDateTimeReader& dateTimes);

}  // namespace storage
