#pragma once

#include "storage/search_dialect.h"

namespace storage {

// How the embedded engine's SQL searches.
const SearchDialect& sqliteSearchDialect();

}  // namespace storage
