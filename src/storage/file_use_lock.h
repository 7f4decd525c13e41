#pragma once

#include <QString>

namespace storage {

// Marks that a database file is in use on this computer. Every program that has the file open
// holds a shared lock on the lock file beside it (<file>.lock); a restore takes that lock
// exclusively, so that the file is never replaced under a program that has it open, nor opened
// while it is being replaced. The operating system lets go of the lock with the process, so a
// program that crashed holds nothing. Not for several threads at once.
class FileUseLock {
public:
    enum class Mode { Shared, Exclusive };
    enum class Outcome {
        Taken,
        HeldOtherwise,  // held elsewhere in the other mode (or exclusively, for Exclusive)
        Unavailable,    // the lock file cannot be made or opened here
    };

    FileUseLock() = default;
    ~FileUseLock();
    FileUseLock(const FileUseLock&) = delete;
    FileUseLock& operator=(const FileUseLock&) = delete;

    // Takes the lock of the database file at databasePath without waiting; a lock held before
    // is let go first. Unavailable comes with the reason in *reason.
    Outcome take(const QString& databasePath, Mode mode, QString* reason);
    void release();

    static QString lockFilePath(const QString& databasePath);

private:
    int m_descriptor = -1;
};

}  // namespace storage
