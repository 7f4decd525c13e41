#pragma once

#include <QString>
#include <memory>

#include "platform/storage_engine.h"

namespace platform {

// The engine for a database location: a postgresql:// URI names a server, anything else an
// SQLite file. Nothing is connected yet.
std::unique_ptr<StorageEngine> makeStorageEngine(const QString& location, int busyTimeoutMs);

}  // namespace platform
