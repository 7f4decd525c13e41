#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>

#include "app/daily_backup.h"
#include "commands/backup_folder.h"
#include "settings/desk_config.h"
#include "support/billing_desk.h"
#include "support/database_files.h"

namespace {

QDateTime at(int day, int hour) {
    return QDateTime(QDate(2026, 3, day), QTime(hour, 0));
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

TEST(BackupSettings, AreReadFromTheDeskSettingsAndKeptWhenPrintSettingsAreSaved) {
    const QByteArray content =
        "backup-dir = /mnt/copies \n"
        "backup-keep=7\n"
        "backup-keep=-1\n"
        "backup-keep=3651\n"
        "backup-keep=ten\n"
        "backup-dir=\n";

    const settings::DeskConfig config = settings::parseDeskConfig(content);

    EXPECT_EQ(config.backup, (settings::BackupSettings{QStringLiteral("/mnt/copies"), 7}));
    ASSERT_EQ(config.warnings.size(), 4) << config.warnings.join(u'\n').toStdString();
    for (int line = 3; line <= 6; ++line) {
        EXPECT_TRUE(config.warnings[line - 3].startsWith(QStringLiteral("第%1行").arg(line)));
    }
    EXPECT_EQ(settings::parseDeskConfig({}).backup,
              (settings::BackupSettings{QStringLiteral("backups"), 30}));
    EXPECT_EQ(settings::withPrintSettings(content, {}).left(content.size()), content);
    EXPECT_EQ(settings::dailyCopyFolder({}, QStringLiteral("/srv/491MX/billing.sqlite")),
              QStringLiteral("/srv/491MX/backups"));
    EXPECT_EQ(
        settings::dailyCopyFolder({QStringLiteral("/mnt/copies"), 1}, QStringLiteral("x.sqlite")),
        QStringLiteral("/mnt/copies"));
}

class DailyBackupTest : public BillingDeskTest {
protected:
    QString copyFolder() { return QDir(scratch().folder()).filePath(QStringLiteral("copies")); }

    // The program on the test's database with a daily copy, logged in.
    void startProgram(const settings::BackupSettings& settings) {
        daily = std::make_unique<app::DailyBackup>(services, databaseLocation(), settings);
        shell = std::make_unique<app::ProgramShell>(services, database(), daily.get());
        QSignalSpy ended(daily.get(), &app::DailyBackup::startCopyEnded);
        logInFirstCashierWhenAsked();
        ASSERT_TRUE(shell->start());
        widget_driver::showActive(window());
        ASSERT_TRUE(ended.count() > 0 || ended.wait(60000));
    }

    // The messages about backups the cashier was shown.
    QStringList backupMessages() const {
        QStringList texts;
        for (const widgets::Message& message : messageBoxes.shown()) {
            if (message.title == QStringLiteral("备份")) {
                texts.append(message.text);
            }
        }
        return texts;
    }

    void printAReceipt(const QString& number) {
        typeReceipt(number, QStringLiteral("张三"), {{u"编辑框2", QStringLiteral("100")}});
        print();
    }

    std::unique_ptr<app::DailyBackup> daily;
};

TEST_F(DailyBackupTest, OneCopyADayIsMadeAndTheOldestBeyondTheNumberKeptRemoved) {
    QDir().mkpath(copyFolder());
    // Not a copy of the daily kind: it stays.
    QFile other(copyFolder() + QStringLiteral("/billing-latest.sqlite"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    app::DailyBackup daily(services, databaseLocation(), {copyFolder(), 2});
    const auto copyOf = [](int day, int hour) { return commands::copyFileName(at(day, hour)); };
    const struct {
        int day;
        int hour;
        bool atStart;  // else at the end
        bool copies;
    } moments[] = {
        {10, 9, true, true},   {10, 17, false, false}, {11, 8, false, true},
        {11, 20, true, false}, {12, 7, true, true},
    };
    for (const auto& moment : moments) {
        clock.set(at(moment.day, moment.hour));
        if (!moment.atStart) {
            daily.atExit();
            continue;
        }
        QSignalSpy ended(&daily, &app::DailyBackup::startCopyEnded);
        daily.atStart();
        EXPECT_EQ(ended.wait(moment.copies ? 60000 : 200), moment.copies) << moment.day;
    }

    EXPECT_EQ(filesIn(copyFolder()),
              QStringList({copyOf(11, 8), copyOf(12, 7), QStringLiteral("billing-latest.sqlite")}))
        << filesIn(copyFolder()).join(u' ').toStdString();
    EXPECT_TRUE(backupMessages().isEmpty());
    EXPECT_EQ(database_files::modeOf(copyFolder() + u'/' + copyOf(12, 7)), 0600);
}

TEST_F(DailyBackupTest, TheCopyAtExitHoldsTheReceiptsOfTheDay) {
    startProgram({copyFolder(), 30});
    EXPECT_EQ(filesIn(copyFolder()), QStringList{commands::copyFileName(clock.now())});
    printAReceipt(QStringLiteral("71"));

    clock.set(clock.now().addDays(1));
    widget_driver::chooseMenuItem(window(), QStringLiteral("系统"), QStringLiteral("退出"));

    const QString atExit = copyFolder() + u'/' + commands::copyFileName(clock.now());
    EXPECT_EQ(database_files::receiptNumbers(atExit), QStringList{QStringLiteral("71")});
    EXPECT_TRUE(backupMessages().isEmpty());
}

TEST_F(DailyBackupTest, AFailedCopyIsToldOnceAndBillingGoesOn) {
    const QString blocked = QDir(scratch().folder()).filePath(QStringLiteral("a file"));
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    startProgram({blocked + QStringLiteral("/copies"), 30});
    printAReceipt(QStringLiteral("72"));
    clock.set(clock.now().addDays(1));
    widget_driver::chooseMenuItem(window(), QStringLiteral("系统"), QStringLiteral("退出"));

    ASSERT_EQ(backupMessages().size(), 1);
    EXPECT_TRUE(backupMessages()[0].contains(blocked + QStringLiteral("/copies")));
    EXPECT_TRUE(backupMessages()[0].contains(QStringLiteral("无法建立文件夹")))
        << backupMessages()[0].toStdString();
    EXPECT_EQ(storedReceipts({QStringLiteral("住院号")}).size(), 1);
}

}  // namespace
