#include "commands/database_file_argument.h"

#include "storage/database_location.h"

namespace commands {

std::optional<QString> databaseFileFor(const QString& databaseLocation, QString* refusal) {
    const std::optional<storage::DatabaseLocation> location =
        storage::readDatabaseLocation(databaseLocation, refusal);
    if (!location) {
        return std::nullopt;
    }
    if (location->engine == storage::DatabaseLocation::Engine::PostgresServer) {
        *refusal = QStringLiteral(
                       "数据库在数据库服务器“%1”上；backup 和 restore 只用于数据库文件。"
                       "服务器上的数据库请在服务器上用 PostgreSQL 自己的工具备份和恢复，例如：\n"
                       "  pg_dump --format=custom --file=billing-$(date +%F).dump 数据库名\n"
                       "  pg_restore --dbname=数据库名 billing-2026-12-09.dump   "
                       "（恢复到一个新建的空数据库）")
                       .arg(location->description);
        return std::nullopt;
    }
    return location->value;
}

}  // namespace commands
