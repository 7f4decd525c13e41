#include "app/daily_backup.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include "commands/backup_folder.h"
#include "commands/database_file_argument.h"
#include "common/private_files.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "storage/database_file.h"
#include "widgets/message_boxes.h"

namespace app {

namespace {

// This database's copies in a folder, oldest first. Those whose names lie later than now say
// nothing of their age (a clock that was once ahead named them): they are neither counted nor
// removed.
struct FolderCopies {
    QList<commands::FolderCopy> counted;
    QList<commands::FolderCopy> namedLater;
};

FolderCopies copiesOf(const QString& databasePath, const QString& folder, const QDateTime& now) {
    FolderCopies copies;
    for (const commands::FolderCopy& copy : commands::copiesIn(folder, databasePath)) {
        (copy.takenAt > now ? copies.namedLater : copies.counted).append(copy);
    }
    return copies;
}

// Runs on the copy's own thread: touches files only.
DailyCopyOutcome makeDailyCopy(const QString& databasePath, const QString& folder,
                               const QDateTime& now, int keep) {
    DailyCopyOutcome outcome;
    const QString fileName = commands::copyFileName(databasePath, now);
    if (!common::makePrivateFolder(folder, &outcome.failure)) {
        return outcome;
    }
    storage::removeLeftoverCopies(folder, commands::copyNameStart(databasePath));
    if (!storage::backUpDatabaseFile(databasePath, QDir(folder).filePath(fileName),
                                     &outcome.failure)) {
        return outcome;
    }
    // Of the copies counted, the one just made is the newest: it is never removed.
    const FolderCopies copies = copiesOf(databasePath, folder, now);
    outcome.namedLater = copies.namedLater;
    for (const commands::FolderCopy& old : commands::copiesBeyond(copies.counted, keep)) {
        QFile file(QDir(folder).filePath(old.fileName));
        if (!file.remove()) {
            outcome.failure =
                QStringLiteral("旧的备份“%1”删不掉：%2").arg(old.fileName, file.errorString());
            return outcome;
        }
    }
    return outcome;
}

}  // namespace

DailyBackup::DailyBackup(const platform::Services& services, const QString& databaseLocation,
                         const settings::BackupSettings& backup)
    : m_services(services), m_keep(backup.keep) {
    // A database on a server has no file to copy, and its advice is for the IT staff.
    QString advice;
    if (backup.keep > 0) {
        m_databasePath = commands::databaseFileFor(databaseLocation, &advice).value_or(QString());
    }
    if (!m_databasePath.isEmpty()) {
        m_folder = settings::dailyCopyFolder(backup, m_databasePath);
    }
}

DailyBackup::~DailyBackup() {
    if (m_startCopy) {
        m_startCopy->wait();
    }
}

bool DailyBackup::isDue() const {
    const QDateTime now = m_services.clock.now();
    return !m_databasePath.isEmpty() &&
           !commands::hasCopyOfDay(copiesOf(m_databasePath, m_folder, now).counted, now.date());
}

void DailyBackup::atStart() {
    if (m_startCopy || !isDue()) {
        return;
    }
    m_startCopy.reset(QThread::create(
        [this, path = m_databasePath, folder = m_folder, now = m_services.clock.now(),
         keep = m_keep] { m_startOutcome = makeDailyCopy(path, folder, now, keep); }));
    connect(m_startCopy.get(), &QThread::finished, this, &DailyBackup::takeStartCopy,
            Qt::QueuedConnection);
    m_startCopy->start();
}

void DailyBackup::takeStartCopy() {
    if (!m_startCopy) {
        return;
    }
    m_startCopy->wait();
    m_startCopy.reset();
    dealWith(m_startOutcome);
    emit startCopyEnded();
}

void DailyBackup::atExit() {
    takeStartCopy();
    if (isDue()) {
        dealWith(makeDailyCopy(m_databasePath, m_folder, m_services.clock.now(), m_keep));
    }
}

void DailyBackup::dealWith(const DailyCopyOutcome& outcome) {
    const QString folder = QDir::toNativeSeparators(m_folder);
    if (!outcome.failure.isEmpty() && !m_toldFailure) {
        m_toldFailure = true;
        m_services.messageBoxes.show(
            nullptr,
            {QStringLiteral("今天的数据库备份没有做成。\n备份文件夹：%1\n原因：%2。\n"
                            "收费照常进行；请告诉管理电脑的同事。")
                 .arg(folder, outcome.failure),
             QStringLiteral("备份"), widgets::MessageButtons::Ok, widgets::MessageIcon::Warning});
    }
    if (!outcome.namedLater.isEmpty() && !m_toldNamedLater) {
        m_toldNamedLater = true;
        m_services.messageBoxes.show(
            nullptr,
            {QStringLiteral(
                 "备份文件夹中有 %1 份本数据库的备份，名字上的时间晚于现在（最晚的是“%2”）："
                 "电脑的时钟可能拨快过。\n备份文件夹：%3\n"
                 "这些备份不会自动删除，也不算在保留的份数里。收费照常进行；"
                 "请告诉管理电脑的同事核对时钟，再处理这些备份。")
                 .arg(outcome.namedLater.size())
                 .arg(outcome.namedLater.constLast().fileName, folder),
             QStringLiteral("备份"), widgets::MessageButtons::Ok, widgets::MessageIcon::Warning});
    }
}

}  // namespace app
