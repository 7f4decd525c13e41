#include "storage/database_file.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "common/private_files.h"
#include "storage/schema_preparation.h"
#include "storage/sql_names.h"
#include "storage/sqlite/catalog.h"
#include "storage/sqlite/connection.h"
#include "storage/sqlite/online_copy.h"

namespace storage {

namespace {

// How long a read waits for a program that is committing.
constexpr int kBusyTimeoutMs = 5000;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// An empty file or one that starts as every SQLite database does: replacing it loses no
// document.
bool mayBeReplacedByCopy(const QString& path) {
    static const QByteArray kHeader("SQLite format 3", 16);
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) &&
           (file.size() == 0 || file.read(kHeader.size()) == kHeader);
}

bool isSameFile(const QString& a, const QString& b) {
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

std::optional<qint64> recordCount(const SqliteConnection& connection, const TableSchema& counted,
                                  QString* reason) {
    qint64 count = 0;
    SqliteCatalog catalog(connection);
    if (!catalog.queryNumber(
            QStringLiteral("SELECT count(*) FROM %1").arg(quotedIdentifier(counted.name)), &count,
            reason)) {
        return std::nullopt;
    }
    return count;
}

// A crashed program's transaction left in the journal beside the file must be undone before
// anyone reads the file, and a connection that may not write cannot undo it. One that may write
// undoes it at its first read, as a desk does when it opens the file.
bool undoInterruptedTransaction(const QString& databasePath, QString* reason) {
    if (!QFileInfo::exists(databasePath + QStringLiteral("-journal"))) {
        return true;
    }
    SqliteConnection connection;
    return connection.open(databasePath, false, kBusyTimeoutMs, reason) &&
           connection.execute("SELECT count(*) FROM sqlite_master", reason);
}

}  // namespace

bool backUpDatabaseFile(const QString& databasePath, const QString& targetPath, QString* reason) {
    if (!QFileInfo(databasePath).isFile()) {
        *reason = QStringLiteral("数据库文件“%1”不存在").arg(shown(databasePath));
        return false;
    }
    if (isSameFile(databasePath, targetPath)) {
        *reason = QStringLiteral("备份不能写在数据库文件自己身上");
        return false;
    }
    if (QFileInfo::exists(targetPath) && !mayBeReplacedByCopy(targetPath)) {
        *reason =
            QStringLiteral("“%1”已经存在，而且不是数据库文件，不会覆盖它").arg(shown(targetPath));
        return false;
    }
    FileUseLock inUse;
    QString unavailable;
    if (inUse.take(databasePath, FileUseLock::Mode::Shared, &unavailable) ==
        FileUseLock::Outcome::HeldOtherwise) {
        *reason = QStringLiteral("数据库文件正在从备份恢复，请等恢复完成后再试");
        return false;
    }
    return undoInterruptedTransaction(databasePath, reason) &&
           copyDatabaseOnline(databasePath, targetPath, reason);
}

void removeLeftoverCopies(const QString& folder, const QString& copyNameStart) {
    removeLeftoverPartialFiles(folder, copyNameStart);
}

std::optional<qint64> checkRestorableFile(const QString& path, const SchemaDefinition& schema,
                                          const TableSchema& counted, QString* reason) {
    if (!QFileInfo(path).isFile()) {
        *reason = QStringLiteral("没有这个文件");
        return std::nullopt;
    }
    SqliteConnection file;
    if (!file.open(path, true, kBusyTimeoutMs, reason)) {
        return std::nullopt;
    }
    SqliteCatalog catalog(file);
    if (!checkSchema(catalog, schema, reason) || !passesIntegrityCheck(file, reason)) {
        return std::nullopt;
    }
    return recordCount(file, counted, reason);
}

bool DatabaseFileRestore::lockOutPrograms(QString* reason) {
    if (!common::makePrivateFolder(QFileInfo(m_path).absolutePath(), reason)) {
        return false;
    }
    switch (m_lock.take(m_path, FileUseLock::Mode::Exclusive, reason)) {
        case FileUseLock::Outcome::Taken:
            return true;
        case FileUseLock::Outcome::HeldOtherwise:
            *reason = QStringLiteral(
                "本机有程序正开着它（收费台的程序，或 backup、cashier 等命令），"
                "请先在本机的各个收费台退出程序，再恢复");
            return false;
        case FileUseLock::Outcome::Unavailable:
            break;
    }
    return false;
}

std::optional<qint64> DatabaseFileRestore::currentRecords(const TableSchema& counted,
                                                          QString* reason) {
    if (!QFileInfo::exists(m_path)) {
        return 0;
    }
    SqliteConnection current;
    if (!current.open(m_path, false, kBusyTimeoutMs, reason)) {
        return std::nullopt;
    }
    return recordCount(current, counted, reason);
}

bool DatabaseFileRestore::putInPlace(const QString& backupPath, const QString& keptPath,
                                     QString* reason) {
    const QString staging = m_path + QStringLiteral(".restoring");
    if (!copyDatabaseOnline(backupPath, staging, reason)) {
        return false;
    }
    // A second name keeps the current file in place until the copy replaces it, so that the path
    // never lacks a database.
    if (QFileInfo::exists(m_path) && ::link(QFile::encodeName(m_path).constData(),
                                            QFile::encodeName(keptPath).constData()) != 0) {
        *reason = QStringLiteral("无法把当前文件保留为“%1”：%2")
                      .arg(shown(keptPath), QString::fromLocal8Bit(std::strerror(errno)));
        QFile::remove(staging);
        return false;
    }
    // A journal beside the path belongs to the current file, or to one moved away, never to the
    // copy.
    if (!setLeftoversAside(m_path, keptPath, &m_leftoversKept, reason)) {
        QFile::remove(staging);
        return false;
    }
    if (!replaceFile(staging, m_path, reason)) {
        QFile::remove(staging);
        return false;
    }
    return true;
}

}  // namespace storage
