#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

namespace commands {

// A copy of a database file in a backup folder, named by the database and the time it was taken:
// billing-<database>-YYYYMMDD-HHMMSS.sqlite. <database> tells apart the databases whose copies
// share a folder (desks that keep theirs on one file server): the computer's name and a hash of
// the computer's identity and the file's path. The backup command and the daily copy both name
// theirs so.
struct FolderCopy {
    QString fileName;
    QDateTime takenAt;
};

// What the name of every copy of the database file at databasePath starts with.
QString copyNameStart(const QString& databasePath);

QString copyFileName(const QString& databasePath, const QDateTime& takenAt);

// The copies of the database file at databasePath in folder, oldest first; every other file
// there, another database's copy included, is none of them. None when the folder does not exist.
QList<FolderCopy> copiesIn(const QString& folder, const QString& databasePath);

bool hasCopyOfDay(const QList<FolderCopy>& copies, QDate day);

// Of copies (oldest first), those beyond the newest keep, oldest first.
QList<FolderCopy> copiesBeyond(const QList<FolderCopy>& copies, int keep);

}  // namespace commands
