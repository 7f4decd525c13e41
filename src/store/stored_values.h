#pragma once

#include <QVariantList>

#include "storage/table_schema.h"

namespace store {

// Whether two records hold the same values, each compared as its field's kind reads it.
bool sameRecord(const storage::TableSchema& table, const QVariantList& first,
                const QVariantList& second);

}  // namespace store
