#include "commands/backup_folder.h"

#include <QDir>
#include <algorithm>

namespace commands {

namespace {

const QString kPrefix = QStringLiteral("billing-");
const QString kSuffix = QStringLiteral(".sqlite");
const QString kTimeFormat = QStringLiteral("yyyyMMdd-HHmmss");

}  // namespace

QString copyFileName(const QDateTime& takenAt) {
    return kPrefix + takenAt.toString(kTimeFormat) + kSuffix;
}

QList<FolderCopy> copiesIn(const QString& folder) {
    QList<FolderCopy> copies;
    const QStringList names = QDir(folder).entryList({kPrefix + u'*' + kSuffix}, QDir::Files);
    for (const QString& name : names) {
        const QString time =
            name.mid(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
        const QDateTime takenAt = QDateTime::fromString(time, kTimeFormat);
        if (takenAt.isValid() && copyFileName(takenAt) == name) {
            copies.append({name, takenAt});
        }
    }
    std::sort(copies.begin(), copies.end(),
              [](const FolderCopy& a, const FolderCopy& b) { return a.takenAt < b.takenAt; });
    return copies;
}

bool hasCopyOfDay(const QList<FolderCopy>& copies, QDate day) {
    return std::any_of(copies.begin(), copies.end(),
                       [day](const FolderCopy& copy) { return copy.takenAt.date() == day; });
}

QList<FolderCopy> copiesBeyond(const QList<FolderCopy>& copies, int keep) {
    return copies.mid(0, std::max<qsizetype>(0, copies.size() - keep));
}

}  // namespace commands
