#pragma once

#include <QVariantList>

#include "storage/table_schema.h"

namespace store {

// Whether two values of a field of that kind are the same, compared as the kind reads them.
bool sameValue(storage::FieldKind kind, const QVariant& first, const QVariant& second);

// Whether two records hold the same values, each compared as its field's kind reads it.
bool sameRecord(const storage::TableSchema& table, const QVariantList& first,
                const QVariantList& second);

}  // namespace store
