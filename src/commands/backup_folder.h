#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

namespace commands {

// A copy of the database file in a backup folder, named by the time it was taken:
// billing-YYYYMMDD-HHMMSS.sqlite. The backup command and the daily copy both name theirs so.
struct FolderCopy {
    QString fileName;
    QDateTime takenAt;
};

QString copyFileName(const QDateTime& takenAt);

// The copies in folder, oldest first; every other file there is none of them. None when the
// folder does not exist.
QList<FolderCopy> copiesIn(const QString& folder);

bool hasCopyOfDay(const QList<FolderCopy>& copies, QDate day);

// Of copies (oldest first), those beyond the newest keep, oldest first.
QList<FolderCopy> copiesBeyond(const QList<FolderCopy>& copies, int keep);

}  // namespace commands
