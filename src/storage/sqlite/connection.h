#pragma once

#include <QString>

struct sqlite3;

namespace storage {

// One open SQLite database file, closed with the object.
class SqliteConnection {
public:
    SqliteConnection() = default;
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    // Opens (and creates, unless readOnly) the file. A statement that finds the file locked by
    // another program waits busyTimeoutMs for it. Every commit reaches the disk before it is
    // reported done. False with the reason in *reason.
    bool open(const QString& path, bool readOnly, int busyTimeoutMs, QString* reason);
    void close();
    bool isOpen() const { return m_handle != nullptr; }
    sqlite3* handle() const { return m_handle; }

    // Whether the file at the path it was opened by is no longer the open file: deleted, moved
    // away or replaced. SQLite tells where its file system can (on Windows an open database file
    // cannot be deleted or replaced, and SQLite does not say).
    bool fileHasMoved() const;

    // Runs statements without parameters; false with the reason in *reason.
    bool execute(const char* sql, QString* reason);
    // The reason for SQLite's latest failure on this connection.
    QString failureReason() const;

private:
    sqlite3* m_handle = nullptr;
};

}  // namespace storage
