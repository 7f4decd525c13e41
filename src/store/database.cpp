#include "store/database.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

#include "platform/sqlite_row_test.h"
#include "store/schema_setup.h"
#include "store/storage_failure.h"
#include "store/table.h"

namespace store {

namespace {

QString nextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("billing-store-%1").arg(++counter);
}

// Judged by the file's own permission bits: an administrator may write to anything, but a file
// marked read-only should stay as it is.
bool grantsNoWrite(const QString& path) {
    constexpr QFile::Permissions kAnyWrite =
        QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    const QFileInfo info(path);
    return info.exists() && (info.permissions() & kAnyWrite) == 0;
}

// Why the file cannot even be handed to SQLite; empty when it can.
QString unusablePathReason(const QString& path) {
    if (path.isEmpty()) {
        return QStringLiteral("没有给出文件名");
    }
    const QFileInfo info(path);
    if (info.isDir()) {
        return QStringLiteral("这是一个文件夹，不是文件");
    }
    if (!info.exists() && !QDir().mkpath(info.absolutePath())) {
        return QStringLiteral("无法建立文件夹“%1”")
            .arg(QDir::toNativeSeparators(info.absolutePath()));
    }
    return {};
}

}  // namespace

Database::Database(QString path, int busyTimeoutMs)
    : m_path(std::move(path)),
      m_connectionName(nextConnectionName()),
      m_busyTimeoutMs(busyTimeoutMs) {}

Database::~Database() {
    closeAll();
    QSqlDatabase::removeDatabase(m_connectionName);
}

QString Database::connectionName() const {
    return m_connectionName;
}

QSqlDatabase Database::openConnection(QString* error) {
    QSqlDatabase connection = QSqlDatabase::database(m_connectionName, false);
    if (connection.isOpen()) {
        return connection;
    }
    if (!connection.isValid()) {
        connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    }
    if (!connection.isValid()) {
        *error = databaseFileMessage(m_path, QStringLiteral("缺少 SQLite 数据库驱动"));
        return connection;
    }
    QStringList options{QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs)};
    if (grantsNoWrite(m_path)) {
        options.append(QStringLiteral("QSQLITE_OPEN_READONLY"));
    }
    connection.setDatabaseName(m_path);
    connection.setConnectOptions(options.join(QLatin1Char(';')));
    if (!connection.open()) {
        *error = databaseFileMessage(m_path, sqlFailureReason(connection.lastError()));
        return connection;
    }
    // A receipt that was reported as saved must survive a power cut.
    QSqlQuery pragma(connection);
    if (!pragma.exec(QStringLiteral("PRAGMA synchronous = FULL"))) {
        *error = databaseFileMessage(m_path, sqlFailureReason(pragma.lastError()));
        pragma.finish();
        connection.close();
        return connection;
    }
    pragma.finish();
    // Walks that skip records (Table::open with a RecordFilter) test them through this function.
    QString reason;
    if (!platform::addRowTestFunction(connection, &reason)) {
        *error = databaseFileMessage(m_path, reason);
        connection.close();
    }
    return connection;
}

bool Database::prepare(QString* error) {
    const QString pathReason = unusablePathReason(m_path);
    if (!pathReason.isEmpty()) {
        *error = databaseFileMessage(m_path, pathReason);
        return false;
    }
    QSqlDatabase connection = openConnection(error);
    if (!connection.isOpen()) {
        return false;
    }
    QString reason;
    if (!prepareSchema(connection, &reason)) {
        *error = databaseFileMessage(m_path, reason);
        return false;
    }
    return true;
}

void Database::closeAll() {
    const QList<Table*> openTables = m_openTables;
    for (Table* table : openTables) {
        table->close();
    }
    QSqlDatabase connection = QSqlDatabase::database(m_connectionName, false);
    if (connection.isValid()) {
        connection.close();
    }
}

void Database::attach(Table* table) {
    m_openTables.append(table);
}

void Database::detach(Table* table) {
    m_openTables.removeOne(table);
}

}  // namespace store
