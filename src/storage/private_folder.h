#pragma once

#include <QString>

namespace storage {

// Makes the folder at path, and any missing folder above it, open to their owner alone (0700),
// as everything that holds patients' names is; folders that exist stay as they are. False, with
// the reason, when one cannot be made.
bool makePrivateFolder(const QString& path, QString* reason);

}  // namespace storage
