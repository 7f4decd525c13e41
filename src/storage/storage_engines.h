#pragma once

#include <memory>

#include "storage/database_location.h"
#include "storage/storage_engine.h"

namespace storage {

// The engine for a database location, nothing connected yet. busyTimeoutMs is how long a desk
// waits for another that holds the data.
std::unique_ptr<StorageEngine> makeStorageEngine(const DatabaseLocation& location,
                                                 int busyTimeoutMs);

// What stands for a location that names no usable database: every operation fails with reason.
std::unique_ptr<StorageEngine> makeUnusableEngine(const QString& reason);

}  // namespace storage
