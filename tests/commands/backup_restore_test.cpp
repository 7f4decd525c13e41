#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QUuid>

#include "commands/backup_command.h"
#include "commands/backup_folder.h"
#include "commands/restore_command.h"
#include "storage/database_file.h"
#include "storage/file_use_lock.h"
#include "support/database_files.h"
#include "support/fixed_clock.h"

namespace {

using database_files::integrityCheck;
using database_files::makeWithReceipts;
using database_files::modeOf;
using database_files::numbersBelow;
using database_files::receiptNumbers;
using database_files::rowsOf;

struct CommandRun {
    int status;
    QString out;
    QString err;
};

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// Overwrites a stretch in the middle of a file, as a failing disk does.
void damage(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(file.size() / 2);
    file.write(QByteArray(8192, '\x5a'));
}

// Runs statements on the database file at path through a connection of its own, then, with its
// last transaction still open, copies the file and what lies beside it to copyPath: the files as
// a program killed at that moment leaves them.
void copyInTheMiddleOf(const QString& path, const QStringList& statements,
                       const QString& copyPath) {
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        file.setDatabaseName(path);
        ASSERT_TRUE(file.open()) << file.lastError().text().toStdString();
        QSqlQuery query(file);
        for (const QString& statement : statements) {
            ASSERT_TRUE(query.exec(statement)) << query.lastError().text().toStdString();
        }
        for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
            QFile::copy(path + QLatin1StringView(suffix), copyPath + QLatin1StringView(suffix));
        }
        file.rollback();
    }
    QSqlDatabase::removeDatabase(name);
}

// A database of the given receipts at path, with beside it the journal of a transaction that
// deletes them all: the file already holds part of the deletion.
void makeCrashedWhileDeleting(const QString& path, int receipts) {
    const QString made = path + QStringLiteral(".made");
    makeWithReceipts(made, receipts);
    // A small cache makes SQLite write changed pages into the file before the commit.
    copyInTheMiddleOf(made,
                      {QStringLiteral("PRAGMA cache_size = 10"), QStringLiteral("BEGIN"),
                       QStringLiteral("DELETE FROM MZY")},
                      path);
    QFile::remove(made);
}

// Leaves beside path what a crashed program left beside a database file of its own, now moved
// away: the journal of makeCrashedWhileDeleting(), or a write-ahead log of every page.
void leaveBeside(const QString& path, const char* suffix, int receipts) {
    const QString moved = path + QStringLiteral(".moved");
    if (QLatin1StringView(suffix) == QLatin1StringView("-journal")) {
        makeCrashedWhileDeleting(moved, receipts);
    } else {
        const QString made = moved + QStringLiteral(".made");
        makeWithReceipts(made, receipts);
        copyInTheMiddleOf(made,
                          {QStringLiteral("PRAGMA journal_mode = WAL"),
                           QStringLiteral("PRAGMA wal_autocheckpoint = 0"),
                           QStringLiteral("VACUUM"), QStringLiteral("BEGIN")},
                          moved);
    }
    for (const char* left : {"-journal", "-wal", "-shm"}) {
        QFile::rename(moved + QLatin1StringView(left), path + QLatin1StringView(left));
    }
}

class BackupAndRestore : public ::testing::Test {
protected:
    QString path(const QString& name) const { return folder.filePath(name); }

    CommandRun backup(const QStringList& arguments, const QString& location) {
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const int status =
            commands::runBackupCommand(arguments, location, clock, outStream, errStream);
        return {status, out, err};
    }

    // The restore, answering the question (when it asks) with answer, or ending the input.
    CommandRun restore(const QStringList& arguments, std::optional<QString> answer = {}) {
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const int status = commands::runRestoreCommand(
            arguments, databasePath, clock, [&] { return std::exchange(answer, std::nullopt); },
            outStream, errStream);
        return {status, out, err};
    }

    QStringList besideDatabase() const {
        return QDir(path(QStringLiteral("desk"))).entryList(QDir::Files);
    }

    QTemporaryDir folder;
    QString databasePath = path(QStringLiteral("desk/billing.sqlite"));
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 15, 30))};
};

TEST_F(BackupAndRestore, BackupWritesAPrivateCheckedCopyOrRefusesWithItsStatus) {
    makeWithReceipts(databasePath, 3);
    write(path(QStringLiteral("notes.txt")), "not a database");
    const QString copies = path(QStringLiteral("new/copies"));

    const CommandRun intoFolder = backup({copies + u'/'}, databasePath);
    const QString copy = copies + u'/' + commands::copyFileName(databasePath, clock.now());
    EXPECT_EQ(intoFolder.status, commands::kSucceeded) << intoFolder.err.toStdString();
    EXPECT_EQ(intoFolder.out, copy + u'\n');
    EXPECT_EQ(receiptNumbers(copy), numbersBelow(3));
    EXPECT_EQ(modeOf(copy), 0600);
    EXPECT_EQ(modeOf(copies), 0700);
    EXPECT_EQ(modeOf(path(QStringLiteral("new"))), 0700);

    const struct {
        QStringList arguments;
        QString location;
        int status;
        const char16_t* said;
    } refused[] = {
        {{path(QStringLiteral("notes.txt"))}, databasePath, commands::kRefused, u"不是数据库文件"},
        {{path(QStringLiteral("notes.txt/x.sqlite"))},
         databasePath,
         commands::kRefused,
         u"不是文件夹"},
        {{databasePath}, databasePath, commands::kRefused, u"数据库文件自己"},
        {{copies}, path(QStringLiteral("nowhere.sqlite")), commands::kRefused, u"不存在"},
        {{copies},
         QStringLiteral("postgresql://desk@server/billing"),
         commands::kRefused,
         u"pg_dump"},
        {{}, databasePath, commands::kUsageError, u"backup 后面要跟"},
        {{copies, copies}, databasePath, commands::kUsageError, u"多余的参数"},
        {{QStringLiteral("--to"), copies}, databasePath, commands::kUsageError, u"多余的参数"},
        {{QStringLiteral("--to")}, databasePath, commands::kUsageError, u"没有选项"},
    };
    for (const auto& run : refused) {
        const CommandRun result = backup(run.arguments, run.location);
        EXPECT_EQ(result.status, run.status) << run.arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.err.contains(QString::fromUtf16(run.said))) << result.err.toStdString();
        EXPECT_EQ(result.out, QString());
    }
    EXPECT_EQ(contentOf(path(QStringLiteral("notes.txt"))), "not a database");
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("nowhere.sqlite"))));
}

TEST_F(BackupAndRestore, ADamagedDatabaseIsNotCopiedOverAnEarlierCopy) {
    makeWithReceipts(databasePath, 2000);
    const QString copy = path(QStringLiteral("copy.sqlite"));
    ASSERT_EQ(backup({copy}, databasePath).status, commands::kSucceeded);
    const QByteArray earlier = contentOf(copy);
    damage(databasePath);

    const CommandRun result = backup({copy}, databasePath);

    EXPECT_EQ(result.status, commands::kRefused);
    EXPECT_TRUE(result.err.contains(QStringLiteral("备份没有写成"))) << result.err.toStdString();
    EXPECT_EQ(contentOf(copy), earlier);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("copy.sqlite")});
}

TEST_F(BackupAndRestore, EveryBadBackupIsRefusedWithItsReasonAndNothingChanges) {
    makeWithReceipts(databasePath, 3);
    const QByteArray current = contentOf(databasePath);
    const QString bad = path(QStringLiteral("bad.sqlite"));
    const struct {
        const char* name;
        std::function<void()> make;
        const char16_t* reason;
    } badFiles[] = {
        {"text", [&] { write(bad, "住院号,姓名\n1,张三\n"); }, u"不是 SQLite 数据库"},
        {"damaged",
         [&] {
             makeWithReceipts(bad, 2000);
             damage(bad);
         },
         u"已损坏|完整性检查"},
        {"another program's", [&] { rowsOf(bad, QStringLiteral("CREATE TABLE notes (text)")); },
         u"没有表 MZY、USER"},
        {"newer",
         [&] {
             makeWithReceipts(bad, 1);
             rowsOf(bad, QStringLiteral("UPDATE schema_version SET version = %1")
                             .arg(store::schemaDefinition().version + 1));
         },
         u"较新版本"},
        {"missing", [] {}, u"没有这个文件"},
    };
    for (const auto& badFile : badFiles) {
        QFile::remove(bad);
        badFile.make();
        const CommandRun result = restore({QStringLiteral("--yes"), bad});
        EXPECT_EQ(result.status, commands::kRefused) << badFile.name;
        EXPECT_TRUE(result.err.contains(QRegularExpression(QString::fromUtf16(badFile.reason))))
            << badFile.name << ": " << result.err.toStdString();
        EXPECT_TRUE(result.err.endsWith(QStringLiteral("数据库文件没有改变。\n")));
        EXPECT_EQ(contentOf(databasePath), current) << badFile.name;
        EXPECT_EQ(besideDatabase(), QStringList({u"billing.sqlite"_qs, u"billing.sqlite.lock"_qs}))
            << badFile.name;
    }
}

TEST_F(BackupAndRestore, AnOlderBackupIsPutInPlaceAndTheCurrentFileKept) {
    makeWithReceipts(databasePath, 3);
    const QByteArray current = contentOf(databasePath);
    const QString older = path(QStringLiteral("older.sqlite"));
    makeWithReceipts(older, 5);
    // As a program before the version table and the history left it.
    rowsOf(older, QStringLiteral("DROP TABLE schema_version"));
    rowsOf(older, QStringLiteral("DROP TABLE MZY_history"));

    const CommandRun result = restore({older}, QStringLiteral("not asked"));

    ASSERT_EQ(result.status, commands::kSucceeded) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(QStringLiteral("中有 5 张收据")));
    EXPECT_TRUE(result.out.contains(QStringLiteral("中有 3 张收据")));
    EXPECT_FALSE(result.out.contains(QStringLiteral("yes")));
    const QString kept = databasePath + QStringLiteral(".before-restore-20260310-091530");
    EXPECT_EQ(contentOf(kept), current);
    EXPECT_EQ(receiptNumbers(databasePath), numbersBelow(5));
    EXPECT_EQ(modeOf(databasePath), 0600);
    store::Database restored(databasePath);
    QString error;
    EXPECT_TRUE(restored.prepare(&error)) << error.toStdString();
    EXPECT_EQ(rowsOf(databasePath, QStringLiteral("SELECT count(*) FROM MZY_history")),
              QList<QStringList>{{QStringLiteral("0")}});
}

TEST_F(BackupAndRestore, ABackupOfFewerReceiptsIsPutInPlaceOnlyWhenConfirmed) {
    const QString backupFile = path(QStringLiteral("fewer.sqlite"));
    makeWithReceipts(backupFile, 2);
    const struct {
        QStringList arguments;
        std::optional<QString> answer;
        int status;
    } runs[] = {
        {{backupFile}, QStringLiteral("no"), commands::kRefused},
        {{backupFile}, std::nullopt, commands::kRefused},
        {{backupFile}, QStringLiteral(" yes "), commands::kSucceeded},
        {{backupFile, QStringLiteral("--yes")}, std::nullopt, commands::kSucceeded},
    };
    for (const auto& run : runs) {
        QDir(path(QStringLiteral("desk"))).removeRecursively();
        makeWithReceipts(databasePath, 3);
        clock.set(clock.now().addSecs(1));

        const CommandRun result = restore(run.arguments, run.answer);

        const std::string label = run.arguments.join(u' ').toStdString() + " / " +
                                  run.answer.value_or(QStringLiteral("(end)")).toStdString();
        EXPECT_EQ(result.status, run.status) << label << ": " << result.err.toStdString();
        EXPECT_EQ(result.out.contains(QStringLiteral("少 1 张")),
                  !run.arguments.contains(QStringLiteral("--yes")))
            << label;
        EXPECT_EQ(receiptNumbers(databasePath).size(), run.status == commands::kSucceeded ? 2 : 3)
            << label;
        EXPECT_EQ(besideDatabase().size(), run.status == commands::kSucceeded ? 3 : 2) << label;
    }
}

// Waits until a program holds the database file's use lock; false when none does in time.
bool heldByAProgram(const QString& databasePath) {
    for (int tries = 0; tries < 600; ++tries) {
        storage::FileUseLock probe;
        QString reason;
        if (probe.take(databasePath, storage::FileUseLock::Mode::Exclusive, &reason) ==
            storage::FileUseLock::Outcome::HeldOtherwise) {
            return true;
        }
        probe.release();
        QThread::msleep(50);
    }
    return false;
}

TEST_F(BackupAndRestore, NoRestoreWhileTheProgramHoldsTheFileNorStartWhileOneRuns) {
    makeWithReceipts(databasePath, 3);
    const QString backupFile = path(QStringLiteral("copy.sqlite"));
    makeWithReceipts(backupFile, 4);
    const QByteArray current = contentOf(databasePath);

    // The program at its login window, in a process of its own.
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PROGRAM_PATH), {QStringLiteral("--database"), databasePath});
    ASSERT_TRUE(heldByAProgram(databasePath));
    const CommandRun whileRunning = restore({backupFile});
    program.kill();
    program.waitForFinished();
    EXPECT_EQ(whileRunning.status, commands::kRefused);
    EXPECT_TRUE(whileRunning.err.contains(QStringLiteral("本机有程序正开着它")))
        << whileRunning.err.toStdString();
    EXPECT_EQ(contentOf(databasePath), current);

    // This process holding it as the program does.
    {
        store::Database desk(databasePath);
        QString error;
        ASSERT_TRUE(desk.prepare(&error)) << error.toStdString();
        EXPECT_EQ(restore({backupFile}).status, commands::kRefused);
    }

    {
        storage::DatabaseFileRestore restoring(databasePath);
        QString reason;
        ASSERT_TRUE(restoring.lockOutPrograms(&reason)) << reason.toStdString();
        store::Database desk(databasePath);
        EXPECT_FALSE(desk.prepare(&reason));
        EXPECT_TRUE(reason.contains(QStringLiteral("正在从备份恢复"))) << reason.toStdString();
    }

    const CommandRun afterwards = restore({backupFile});
    EXPECT_EQ(afterwards.status, commands::kSucceeded) << afterwards.err.toStdString();
    EXPECT_EQ(receiptNumbers(databasePath).size(), 4);
}

// An administrator moved a damaged file away, but not what its crashed program left beside it.
// The restored file is the backup, and what was left is kept under the kept file's name.
TEST_F(BackupAndRestore, WhatACrashLeftBesideAMissingFileIsNotPlayedIntoTheRestoredOne) {
    const QString backupFile = path(QStringLiteral("copy.sqlite"));
    makeWithReceipts(backupFile, 5);
    for (const char* suffix : {"-journal", "-wal"}) {
        SCOPED_TRACE(suffix);
        QDir(path(QStringLiteral("desk"))).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("desk"))));
        leaveBeside(databasePath, suffix, 2000);
        ASSERT_FALSE(QFileInfo::exists(databasePath));
        clock.set(clock.now().addSecs(1));

        const CommandRun result = restore({backupFile});

        ASSERT_EQ(result.status, commands::kSucceeded) << result.err.toStdString();
        EXPECT_EQ(receiptNumbers(databasePath), numbersBelow(5));
        EXPECT_EQ(integrityCheck(databasePath), QList<QStringList>{{QStringLiteral("ok")}});
        const QString kept = databasePath + QStringLiteral(".before-restore-") +
                             clock.now().toString(QStringLiteral("yyyyMMdd-HHmmss")) +
                             QLatin1StringView(suffix);
        EXPECT_TRUE(QFileInfo::exists(kept));
        EXPECT_TRUE(result.err.contains(kept)) << result.err.toStdString();
    }
}

// A desk killed while saving left its transaction in a journal; an older copy at the target had
// one beside it too. The copy holds the desk's receipts as they were before the transaction.
TEST_F(BackupAndRestore, ABackupUndoesACrashedTransactionAndLeavesTheTargetsJournalAside) {
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("desk"))));
    makeCrashedWhileDeleting(databasePath, 2000);
    const QString copy = path(QStringLiteral("copy.sqlite"));
    makeCrashedWhileDeleting(copy, 300);

    const CommandRun result = backup({copy}, databasePath);

    ASSERT_EQ(result.status, commands::kSucceeded) << result.err.toStdString();
    EXPECT_EQ(receiptNumbers(copy), numbersBelow(2000));
    EXPECT_EQ(integrityCheck(copy), QList<QStringList>{{QStringLiteral("ok")}});
    EXPECT_TRUE(QFileInfo::exists(copy + QStringLiteral(".left-behind-journal")));
    EXPECT_FALSE(QFileInfo::exists(databasePath + QStringLiteral("-journal")));
}

// A user who may read the file but not write it cannot undo a crashed desk's transaction: he is
// told what to do, and nothing is written. Root may write anything, so it runs as nobody.
TEST_F(BackupAndRestore, ABackupThatCannotUndoACrashedTransactionSaysWhatToDo) {
    QTemporaryDir shared(QDir::tempPath() + QStringLiteral("/shared-XXXXXX"));
    const QString sharedPath = shared.filePath(QStringLiteral("billing.sqlite"));
    makeCrashedWhileDeleting(sharedPath, 2000);
    const QString copies = shared.filePath(QStringLiteral("copies"));
    ASSERT_TRUE(QDir().mkpath(copies));
    const std::pair<QString, mode_t> modes[] = {{shared.path(), 0555},
                                                {sharedPath, 0444},
                                                {sharedPath + QStringLiteral("-journal"), 0444},
                                                {copies, 0777}};
    for (const auto& [file, mode] : modes) {
        ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), mode), 0);
    }
    QStringList command = {QStringLiteral(PROGRAM_PATH), QStringLiteral("--database"), sharedPath,
                           QStringLiteral("backup"), copies + u'/'};
    if (::getuid() == 0) {
        command = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                              QStringLiteral("--clear-groups")} +
                  command;
        command.prepend(QStringLiteral("/usr/bin/setpriv"));
    }
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), copies);
    program.setProcessEnvironment(environment);
    program.start(command.takeFirst(), command);
    ASSERT_TRUE(program.waitForFinished(60000));
    ::chmod(QFile::encodeName(shared.path()).constData(), 0700);

    const QString err = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(program.exitCode(), commands::kRefused) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("未完成事务")) &&
                err.contains(QStringLiteral("打开一次程序")))
        << err.toStdString();
    EXPECT_EQ(QDir(copies).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// A backup killed halfway leaves its partial file; the next one to the same target, or of the
// same database into the same folder, removes it. One that a backup under way holds stays, and
// so does another database's.
TEST_F(BackupAndRestore, ABackupRemovesWhatStoppedBackupsLeftButNotWhatOnesUnderWayHold) {
    makeWithReceipts(databasePath, 3);
    const QString copies = path(QStringLiteral("copies"));
    ASSERT_TRUE(QDir().mkpath(copies));
    const QString yesterday = commands::copyFileName(databasePath, clock.now().addDays(-1));
    const QString leftToFile = path(QStringLiteral(".copy.sqlite.Ab12Cd.partial"));
    const QString leftInFolder = copies + u"/." + yesterday + QStringLiteral(".Ef34Gh.partial");
    const QString underWay = path(QStringLiteral(".copy.sqlite.Ij56Kl.partial"));
    const QString anotherDatabases =
        copies + u"/." + commands::copyFileName(path(QStringLiteral("other.sqlite")), clock.now()) +
        QStringLiteral(".Mn78Op.partial");
    for (const QString& file : {leftToFile, leftInFolder, underWay, anotherDatabases}) {
        write(file, "SQLite format 3");
    }
    QFile held(underWay);
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    ASSERT_EQ(::flock(held.handle(), LOCK_EX), 0);

    EXPECT_EQ(backup({path(QStringLiteral("copy.sqlite"))}, databasePath).status,
              commands::kSucceeded);
    EXPECT_EQ(backup({copies + u'/'}, databasePath).status, commands::kSucceeded);

    EXPECT_FALSE(QFileInfo::exists(leftToFile));
    EXPECT_FALSE(QFileInfo::exists(leftInFolder));
    EXPECT_TRUE(QFileInfo::exists(underWay));
    EXPECT_TRUE(QFileInfo::exists(anotherDatabases));
}

}  // namespace
