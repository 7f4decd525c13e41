#pragma once

#include "storage/search_dialect.h"

namespace storage {

// How the shared engine's SQL searches.
const SearchDialect& postgresSearchDialect();

}  // namespace storage
