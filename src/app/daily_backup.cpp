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

// Runs on the copy's own thread: touches files only.
DailyCopyOutcome makeDailyCopy(const QString& databasePath, const QString& folder,
                               const QString& fileName, int keep) {
    QString reason;
    if (!common::makePrivateFolder(folder, &reason) ||
        !storage::backUpDatabaseFile(databasePath, QDir(folder).filePath(fileName), &reason)) {
        return {reason};
    }
    for (const commands::FolderCopy& old :
         commands::copiesBeyond(commands::copiesIn(folder), keep)) {
        QFile file(QDir(folder).filePath(old.fileName));
        if (!file.remove()) {
            return {QStringLiteral("旧的备份“%1”删不掉：%2").arg(old.fileName, file.errorString())};
        }
    }
    return {};
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
    return !m_databasePath.isEmpty() &&
           !commands::hasCopyOfDay(commands::copiesIn(m_folder), m_services.clock.now().date());
}

void DailyBackup::atStart() {
    if (m_startCopy || !isDue()) {
        return;
    }
    m_startCopy.reset(
        QThread::create([this, path = m_databasePath, folder = m_folder,
                         name = commands::copyFileName(m_services.clock.now()), keep = m_keep] {
            m_startOutcome = makeDailyCopy(path, folder, name, keep);
        }));
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
        dealWith(makeDailyCopy(m_databasePath, m_folder,
                               commands::copyFileName(m_services.clock.now()), m_keep));
    }
}

void DailyBackup::dealWith(const DailyCopyOutcome& outcome) {
    if (outcome.failure.isEmpty() || m_told) {
        return;
    }
    m_told = true;
    m_services.messageBoxes.show(
        nullptr,
        {QStringLiteral("今天的数据库备份没有做成。\n备份文件夹：%1\n原因：%2。\n"
                        "收费照常进行；请告诉管理电脑的同事。")
             .arg(QDir::toNativeSeparators(m_folder), outcome.failure),
         QStringLiteral("备份"), widgets::MessageButtons::Ok, widgets::MessageIcon::Warning});
}

}  // namespace app
