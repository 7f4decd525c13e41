#include "settings/backup_settings.h"

#include <QDir>
#include <QFileInfo>

namespace settings {

namespace {

const QString kFolderKey = QStringLiteral("backup-dir");
const QString kKeepKey = QStringLiteral("backup-keep");

}  // namespace

bool isBackupSettingKey(QStringView key) {
    return key == kFolderKey || key == kKeepKey;
}

bool applyBackupSetting(BackupSettings& settings, const printing::SettingEntry& entry,
                        QString* problem) {
    if (entry.key == kFolderKey) {
        if (entry.value.isEmpty()) {
            *problem = QStringLiteral("备份文件夹不能为空（不写这一行，就用数据库文件旁边的 %1）。")
                           .arg(BackupSettings().folder);
            return false;
        }
        settings.folder = entry.value;
        return true;
    }
    bool isNumber = false;
    const int keep = entry.value.toInt(&isNumber);
    if (!isNumber || keep < 0 || keep > kMostCopiesKept || !entry.value.front().isDigit()) {
        *problem = QStringLiteral("保留的备份份数应是 0 到 %1 之间的整数（0：不做每日备份）。")
                       .arg(kMostCopiesKept);
        return false;
    }
    settings.keep = keep;
    return true;
}

QString dailyCopyFolder(const BackupSettings& settings, const QString& databasePath) {
    return QDir::cleanPath(QFileInfo(databasePath).absoluteDir().absoluteFilePath(settings.folder));
}

}  // namespace settings
