#pragma once

#include <QString>

namespace storage {

class SqliteConnection;

// Writes a consistent copy of the SQLite file at sourcePath to targetPath through SQLite's online
// backup, while other programs may be writing to the source; the source is only read. The copy
// is written under a temporary name beside targetPath, readable by its owner alone, and
// replaces targetPath only once SQLite's integrity check of the copy says "ok" and the copy is
// on the disk. The folder must exist. False with the reason; targetPath is then as it was.
bool copyDatabaseOnline(const QString& sourcePath, const QString& targetPath, QString* reason);

// Whether SQLite's integrity check of the open file says "ok"; false with the problems it found
// (the first few) or the reason it could not check.
bool passesIntegrityCheck(const SqliteConnection& connection, QString* reason);

// Renames from to to, replacing to, and makes the change last through a power cut. False with
// the reason.
bool replaceFile(const QString& from, const QString& to, QString* reason);

}  // namespace storage
