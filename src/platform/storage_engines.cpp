#include "platform/storage_engines.h"

#include "platform/sqlite_engine.h"

namespace platform {

std::unique_ptr<StorageEngine> makeStorageEngine(const QString& location, int busyTimeoutMs) {
    return std::make_unique<SqliteEngine>(location, busyTimeoutMs);
}

}  // namespace platform
