#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

#include "printing/print_settings.h"
#include "settings/backup_settings.h"
#include "settings/cash_settings.h"

namespace settings {

// The desk settings file 491MX.conf: plain key=value lines, written by print-setup and by hand.
// Blank lines and lines that start with # are notes.
struct DeskConfig {
    std::optional<QString> database;  // the database= value as written, spaces around it removed
    printing::PrintSettings printing;
    BackupSettings backup;
    CashSettings cash;
    QStringList warnings;  // one for each line that was ignored, naming it and why
};

// Reads the file's content. Any content will do: what cannot be used is ignored and named in the
// warnings, and of an entry given twice the later one counts.
DeskConfig parseDeskConfig(QByteArrayView content);

// The content with the print settings written over the old ones. Every other line stays as it
// was: database=, the backup settings, notes, and lines this program does not understand.
QByteArray withPrintSettings(QByteArrayView content, const printing::PrintSettings& settings);

// Where this desk's file is: 491MX.conf in the system's configuration folder for the program.
QString deskConfigPath();

// Reads the file at path; a missing file sets nothing. One that cannot be read is a warning.
DeskConfig readDeskConfig(const QString& path);

// Writes settings into the file at path, keeping whatever else it holds. False, with the reason
// in *error, when the file could not be written; it is then unchanged.
bool writePrintSettings(const QString& path, const printing::PrintSettings& settings,
                        QString* error);
// The same for the drawer's settings.
bool writeCashSettings(const QString& path, const CashSettings& settings, QString* error);

}  // namespace settings
