#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "storage/file_use_lock.h"
#include "storage/storage_engine.h"

namespace storage {

// A desk's database file as a whole: copies of it, and putting a copy back in its place. Every
// file these make is readable by its owner alone.

// Writes a consistent copy of the database file at databasePath to targetPath while desks may
// be writing to it; the copy replaces targetPath only once it has passed SQLite's integrity
// check (storage/sqlite/online_copy.h). A targetPath that exists must be another database file.
// No restore replaces the file meanwhile. A transaction that a crashed program left unfinished
// in the file is undone first, as a desk's program would. False with the reason; targetPath is
// then as it was.
bool backUpDatabaseFile(const QString& databasePath, const QString& targetPath, QString* reason);

// Removes from folder what copies of a database file to names that start with copyNameStart left
// behind when they were stopped (killed, or the computer stopped); copies under way keep theirs.
void removeLeftoverCopies(const QString& folder, const QString& copyNameStart);

// Checks a file offered for a restore, changing nothing: an intact database (SQLite's integrity
// check says "ok") with every essential table of the schema, made by no newer program. The
// number of records in counted; none, with the reason, when the file is refused.
std::optional<qint64> checkRestorableFile(const QString& path, const SchemaDefinition& schema,
                                          const TableSchema& counted, QString* reason);

// Puts a backup in the place of a desk's database file, while no program of this computer has
// that file open.
class DatabaseFileRestore {
public:
    explicit DatabaseFileRestore(QString databasePath) : m_path(std::move(databasePath)) {}

    // Keeps every program of this computer away from the file until the object ends: none may
    // open it meanwhile. False, with the reason, while one has it open.
    bool lockOutPrograms(QString* reason);

    // The number of records in counted of the current file: 0 when there is no file; none, with
    // the reason, when it cannot be read (a damaged file, another program's). Reading it first
    // completes what a crashed program left of a transaction.
    std::optional<qint64> currentRecords(const TableSchema& counted, QString* reason);

    // Keeps the current file, when there is one, as keptPath, and what a crashed program left of
    // a transaction beside the path, whether or not the file is there, with keptPath's name;
    // then puts a copy of the file at backupPath in its place. False, with the reason, when the
    // copy cannot be put there; the current file is then where it was (and may have its kept
    // name as well).
    bool putInPlace(const QString& backupPath, const QString& keptPath, QString* reason);

    // The paths under which putInPlace() kept what was left beside the path.
    const QStringList& leftoversKept() const { return m_leftoversKept; }

private:
    QString m_path;
    FileUseLock m_lock;
    QStringList m_leftoversKept;
};

}  // namespace storage
