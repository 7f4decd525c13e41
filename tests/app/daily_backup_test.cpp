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
    const auto copyOf = [this](int day, int hour) {
        return commands::copyFileName(databaseLocation(), at(day, hour));
    };
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

    QStringList kept = {copyOf(11, 8), copyOf(12, 7), QStringLiteral("billing-latest.sqlite")};
    kept.sort();
    EXPECT_EQ(filesIn(copyFolder()), kept) << filesIn(copyFolder()).join(u' ').toStdString();
    EXPECT_TRUE(backupMessages().isEmpty());
    EXPECT_EQ(database_files::modeOf(copyFolder() + u'/' + copyOf(12, 7)), 0600);
}

// Desks that keep their copies on one file server: each database gets its copy of the day, even
// in the same second, and its own number kept. What a copy stopped halfway left goes.
TEST_F(DailyBackupTest, DesksSharingAFolderEachKeepTheirOwnCopies) {
    const QString otherDesk = QDir(scratch().folder()).filePath(QStringLiteral("b/billing.sqlite"));
    database_files::makeWithReceipts(otherDesk, 1);
    QDir().mkpath(copyFolder());
    const QString leftBehind = copyFolder() + u"/." +
                               commands::copyFileName(databaseLocation(), at(9, 8)) +
                               QStringLiteral(".Ab12Cd.partial");
    QFile(leftBehind).open(QIODevice::WriteOnly);
    app::DailyBackup first(services, databaseLocation(), {copyFolder(), 2});
    app::DailyBackup second(services, otherDesk, {copyFolder(), 2});
    for (int day = 10; day <= 12; ++day) {
        clock.set(at(day, 8));
        first.atExit();
        second.atExit();
    }

    QStringList kept;
    for (const QString& database : {databaseLocation(), otherDesk}) {
        kept << commands::copyFileName(database, at(11, 8))
             << commands::copyFileName(database, at(12, 8));
    }
    kept.sort();
    EXPECT_EQ(filesIn(copyFolder()), kept) << filesIn(copyFolder()).join(u' ').toStdString();
    EXPECT_EQ(database_files::receiptNumbers(copyFolder() + u'/' +
                                             commands::copyFileName(otherDesk, at(12, 8))),
              database_files::numbersBelow(1));
    EXPECT_TRUE(backupMessages().isEmpty());
}

// A clock that was once a year ahead named two copies. They say nothing of their age: today's
// copy stays, they stay, and the number kept counts the others.
TEST_F(DailyBackupTest, CopiesNamedLaterThanNowAreToldOnceAndPushNoCopyOut) {
    QDir().mkpath(copyFolder());
    QStringList namedLater;
    for (int day : {8, 9}) {
        namedLater.append(commands::copyFileName(databaseLocation(), at(day, 8).addYears(1)));
    }
    for (const QString& name :
         namedLater + QStringList{commands::copyFileName(databaseLocation(), at(8, 8)),
                                  commands::copyFileName(databaseLocation(), at(9, 8))}) {
        QFile(copyFolder() + u'/' + name).open(QIODevice::WriteOnly);
    }
    app::DailyBackup daily(services, databaseLocation(), {copyFolder(), 2});
    clock.set(at(10, 9));
    QSignalSpy ended(&daily, &app::DailyBackup::startCopyEnded);
    daily.atStart();
    ASSERT_TRUE(ended.wait(60000));
    clock.set(at(11, 9));
    daily.atExit();

    QStringList expected = namedLater;
    expected << commands::copyFileName(databaseLocation(), at(10, 9))
             << commands::copyFileName(databaseLocation(), at(11, 9));
    expected.sort();
    EXPECT_EQ(filesIn(copyFolder()), expected) << filesIn(copyFolder()).join(u' ').toStdString();
    ASSERT_EQ(backupMessages().size(), 1) << backupMessages().join(u'\n').toStdString();
    EXPECT_TRUE(backupMessages()[0].contains(QStringLiteral("晚于现在")));
    EXPECT_TRUE(backupMessages()[0].contains(namedLater.last()));
}

TEST_F(DailyBackupTest, TheCopyAtExitHoldsTheReceiptsOfTheDay) {
    startProgram({copyFolder(), 30});
    EXPECT_EQ(filesIn(copyFolder()),
              QStringList{commands::copyFileName(databaseLocation(), clock.now())});
    printAReceipt(QStringLiteral("71"));

    clock.set(clock.now().addDays(1));
    widget_driver::chooseMenuItem(window(), QStringLiteral("系统"), QStringLiteral("退出"));

    const QString atExit =
        copyFolder() + u'/' + commands::copyFileName(databaseLocation(), clock.now());
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
