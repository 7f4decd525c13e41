#pragma once

#include <optional>

#include "storage/record_groups.h"
#include "storage/search_dialect.h"
#include "storage/search_statements.h"

namespace storage {

// The columns of a group page's rows.
inline constexpr int kGroupKeyColumn = 0;
inline constexpr int kGroupLatestColumn = 1;
inline constexpr int kGroupCountColumn = 2;
inline constexpr int kGroupSumColumn = 3;

// Up to limit groups whose value comes after `after` (from the first when none), in one bounded
// query: an index that leads with the equal fields and then the group field hands the records
// over in the groups' order, so the query stops after the page's last group.
SqlStatement groupPageStatement(const SearchDialect& dialect, const RecordGrouping& grouping,
                                const std::optional<QString>& after, int limit);

}  // namespace storage
