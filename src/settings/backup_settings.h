#pragma once

#include <QString>
#include <QStringView>

#include "printing/print_settings.h"

namespace settings {

// The most daily copies a desk may keep: ten years of them.
inline constexpr int kMostCopiesKept = 3650;

// Where a desk on a database file keeps its daily copies, and how many (491MX.conf: backup-dir=,
// backup-keep=). They are for the office's IT staff, set in the file by hand.
struct BackupSettings {
    QString folder = QStringLiteral("backups");  // a relative folder lies beside the database
    int keep = 30;                               // the newest copies kept; 0: no daily copy
    bool operator==(const BackupSettings&) const = default;
};

bool isBackupSettingKey(QStringView key);

// Takes the value of a backup setting's entry into settings. False, with the reason in *problem
// and settings unchanged, when the value cannot be used.
bool applyBackupSetting(BackupSettings& settings, const printing::SettingEntry& entry,
                        QString* problem);

// The folder of the daily copies of the database file at databasePath.
QString dailyCopyFolder(const BackupSettings& settings, const QString& databasePath);

}  // namespace settings
