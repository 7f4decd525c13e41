#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "commands/backup_folder.h"
#include "settings/backup_settings.h"

class QThread;

namespace platform {
struct Services;
}

namespace app {

// What came of one daily copy: no failure when it was made and the oldest beyond the number kept
// were removed; otherwise why not. Copies whose names lie in the future, oldest first.
struct DailyCopyOutcome {
    QString failure;
    QList<commands::FolderCopy> namedLater;
};

// The daily copy of a desk's database file. At the program's start and at its end, when the
// backup folder holds no copy of today of this database (by the injected clock), one copy is
// written there and this database's oldest beyond the number kept are removed, never the copy
// just made. Copies named later than now (a clock that was once ahead) are neither counted nor
// removed, and told to the cashier. A copy that fails, and copies named later, are each told to
// the cashier once in the program's run, with the folder; billing goes on either way. A
// database on a server, or a desk that keeps no copies, gets none.
class DailyBackup final : public QObject {
    Q_OBJECT

public:
    DailyBackup(const platform::Services& services, const QString& databaseLocation,
                const settings::BackupSettings& backup);
    // Waits for a copy under way.
    ~DailyBackup() override;

    // At the start: begins the copy on a thread of its own when one is due, so that the windows
    // stay usable while a large file is copied.
    void atStart();
    // At the end: waits for a copy under way, then makes the copy when one is still due.
    void atExit();

    const QString& folder() const { return m_folder; }

signals:
    // A copy that atStart() began has ended and its outcome was dealt with.
    void startCopyEnded();

private:
    bool isDue() const;
    void takeStartCopy();
    void dealWith(const DailyCopyOutcome& outcome);

    const platform::Services& m_services;
    QString m_databasePath;  // empty: no daily copy
    QString m_folder;
    int m_keep;
    bool m_toldFailure = false;
    bool m_toldNamedLater = false;
    std::unique_ptr<QThread> m_startCopy;
    DailyCopyOutcome m_startOutcome;  // written by the copy's thread until it ends
};

}  // namespace app
