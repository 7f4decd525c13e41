#include "commands/backup_folder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <algorithm>

namespace commands {

namespace {

const QString kSuffix = QStringLiteral(".sqlite");
const QString kTimeFormat = QStringLiteral("yyyyMMdd-HHmmss");
// Enough of the hash that two databases sharing a folder never meet.
constexpr int kHashDigits = 12;

// The computer's name as a file name may carry it everywhere.
QString computerName() {
    QString name = QSysInfo::machineHostName();
    name.removeIf([](QChar character) {
        return !(character.isLetterOrNumber() && character.unicode() < 0x80) && character != u'-' &&
               character != u'_' && character != u'.';
    });
    return name;
}

}  // namespace

QString copyNameStart(const QString& databasePath) {
    const QFileInfo file(databasePath);
    const QString path =
        file.canonicalFilePath().isEmpty() ? file.absoluteFilePath() : file.canonicalFilePath();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QSysInfo::machineUniqueId());
    hash.addData(QByteArrayView("\0", 1));
    hash.addData(path.toUtf8());
    const QString computer = computerName();
    return QStringLiteral("billing-") + (computer.isEmpty() ? QString() : computer + u'-') +
           QString::fromLatin1(hash.result().toHex().left(kHashDigits)) + u'-';
}

QString copyFileName(const QString& databasePath, const QDateTime& takenAt) {
    return copyNameStart(databasePath) + takenAt.toString(kTimeFormat) + kSuffix;
}

QList<FolderCopy> copiesIn(const QString& folder, const QString& databasePath) {
    const QString start = copyNameStart(databasePath);
    QList<FolderCopy> copies;
    const QStringList names = QDir(folder).entryList({start + u'*' + kSuffix}, QDir::Files);
    for (const QString& name : names) {
        const QString time = name.mid(start.size(), name.size() - start.size() - kSuffix.size());
        const QDateTime takenAt = QDateTime::fromString(time, kTimeFormat);
        if (takenAt.isValid() && start + takenAt.toString(kTimeFormat) + kSuffix == name) {
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
