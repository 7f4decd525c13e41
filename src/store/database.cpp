#include "store/database.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "storage/storage_engines.h"
#include "store/schema.h"
#include "store/table.h"

namespace store {

Database::Database(QString location, int busyTimeoutMs) : m_location(std::move(location)) {
    const std::optional<storage::DatabaseLocation> where =
        storage::readDatabaseLocation(m_location, &m_locationError);
    m_engine = where ? storage::makeStorageEngine(*where, busyTimeoutMs)
                     : storage::makeUnusableEngine(m_locationError);
    m_onServer = where && where->engine == storage::DatabaseLocation::Engine::PostgresServer;
}

QString Database::receiptsFolder() const {
    const QString folder = QStringLiteral("receipts");
    if (m_onServer) {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .filePath(folder);
    }
    return QFileInfo(m_location).absoluteDir().filePath(folder);
}

Database::~Database() {
    closeAll();
}

bool Database::prepare(QString* error) {
    if (!m_locationError.isEmpty()) {
        *error = m_locationError;
        return false;
    }
    QString reason;
    if (!m_engine->prepare(schemaDefinition(), &reason)) {
        *error = unusableMessage(reason);
        return false;
    }
    return true;
}

void Database::closeAll() {
    const QList<Table*> openTables = m_openTables;
    for (Table* table : openTables) {
        table->close();
    }
    m_engine->disconnect();
}

QString Database::unusableMessage(const QString& reason) const {
    return QStringLiteral("%1无法使用：%2。").arg(m_engine->description(), reason);
}

QString Database::writeFailureMessage(const QString& reason) const {
    return QStringLiteral("无法写入%1：%2。").arg(m_engine->description(), reason);
}

void Database::attach(Table* table) {
    m_openTables.append(table);
}

void Database::detach(Table* table) {
    m_openTables.removeOne(table);
}

}  // namespace store
