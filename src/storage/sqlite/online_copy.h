#pragma once

#include <QString>
#include <QStringList>

namespace storage {

class SqliteConnection;

// Writes a consistent copy of the SQLite file at sourcePath to targetPath through SQLite's online
// backup, while other programs may be writing to the source; the source is only read. The copy
// is written under a temporary name beside targetPath, readable by its owner alone, and
// replaces targetPath only once SQLite's integrity check of the copy says "ok" and the copy is
// on the disk. What a crashed program left beside targetPath (a journal) is kept as
// targetPath.left-behind-journal and so on, so that it never reaches the copy. Partial files
// that earlier copies to targetPath left behind are removed. The folder must exist. False with
// the reason; targetPath is then as it was (what lay beside it may have its kept name).
bool copyDatabaseOnline(const QString& sourcePath, const QString& targetPath, QString* reason);

// Removes from folder the partial files that copies to a file whose name starts with
// copyNameStart left behind when they ended without cleaning up; those of copies under way stay.
void removeLeftoverPartialFiles(const QString& folder, const QString& copyNameStart);

// Renames what a crashed program left beside the database file at path (its -journal, -wal and
// -shm files, whether or not the file is there) to keptPath with the same ends, appending the
// new names to *kept. False with the reason.
bool setLeftoversAside(const QString& path, const QString& keptPath, QStringList* kept,
                       QString* reason);

// Whether SQLite's integrity check of the open file says "ok"; false with the problems it found
// (the first few) or the reason it could not check.
bool passesIntegrityCheck(const SqliteConnection& connection, QString* reason);

// Renames from to to, replacing to, and makes the change last through a power cut. False with
// the reason.
bool replaceFile(const QString& from, const QString& to, QString* reason);

}  // namespace storage
