#include "storage/sqlite/connection.h"

#include <sqlite3.h>

#include "storage/sqlite/failure.h"

namespace storage {

SqliteConnection::~SqliteConnection() {
    close();
}

bool SqliteConnection::open(const QString& path, bool readOnly, int busyTimeoutMs,
                            QString* reason) {
    close();
    const int flags =
        (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
        SQLITE_OPEN_FULLMUTEX;
    const int result = sqlite3_open_v2(path.toUtf8().constData(), &m_handle, flags, nullptr);
    if (result != SQLITE_OK) {
        *reason = failureReason();
        close();
        return false;
    }
    sqlite3_extended_result_codes(m_handle, 1);
    sqlite3_busy_timeout(m_handle, busyTimeoutMs);
    // A receipt reported as saved must survive a power cut. In the rollback-journal mode that
    // other programs expect, only EXTRA also flushes the folder once the journal is deleted, so
    // that the journal cannot come back after the commit and roll it back.
    if (!execute("PRAGMA synchronous = EXTRA", reason)) {
        close();
        return false;
    }
    return true;
}

void SqliteConnection::close() {
    sqlite3_close_v2(m_handle);
    m_handle = nullptr;
}

bool SqliteConnection::fileHasMoved() const {
    int moved = 0;
    return m_handle != nullptr &&
           sqlite3_file_control(m_handle, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK &&
           moved != 0;
}

bool SqliteConnection::execute(const char* sql, QString* reason) {
    if (sqlite3_exec(m_handle, sql, nullptr, nullptr, nullptr) == SQLITE_OK) {
        return true;
    }
    *reason = failureReason();
    return false;
}

QString SqliteConnection::failureReason() const {
    if (m_handle == nullptr) {
        return sqliteFailureReason(SQLITE_CANTOPEN, {});
    }
    return sqliteFailureReason(sqlite3_extended_errcode(m_handle),
                               QString::fromUtf8(sqlite3_errmsg(m_handle)));
}

}  // namespace storage
