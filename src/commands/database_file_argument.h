#pragma once

#include <QString>
#include <optional>

namespace commands {

// The database file that the backup and restore commands work on. A database on a server has
// tools of its own: the refusal names them and shows how they are used.
std::optional<QString> databaseFileFor(const QString& databaseLocation, QString* refusal);

}  // namespace commands
