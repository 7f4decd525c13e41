#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>
#include <iostream>
#include <numeric>

#include "crash/crash_receipt.h"
#include "store/schema.h"
#include "store/table.h"
#include "support/database_test.h"

namespace {

using crash_receipt::Key;

constexpr int kWaitMs = 30000;

// The latest version of each inpatient number that the writer was told is stored.
using Reported = QMap<int, int>;

// What a check of the database found: the version of every stored receipt, and the history rows.
struct Contents {
    QMap<int, int> versions;
    qsizetype historyRows = 0;
};

// The receipt writer (tests/crash/receipt_writer.cpp) at work on the test's database.
class ReceiptWriterTest : public DatabaseTest {
protected:
    void start(QProcess& writer, const QStringList& moreArguments = {}) {
        writer.start(QStringLiteral(CRASH_WRITER_PATH),
                     QStringList{databaseLocation()} + moreArguments);
    }

    // Takes the writer's lines: "ready", then "stored <number> <version>" for each receipt. Any
    // other complete line is returned; a line cut short by a kill was never reported.
    static QStringList takeReports(const QByteArray& output, Reported* reported) {
        static const QRegularExpression kStored(QStringLiteral("^stored (\\d+) (\\d+)$"));
        QList<QByteArray> lines = output.split('\n');
        lines.removeLast();
        QStringList others;
        for (const QByteArray& line : lines) {
            const QString text = QString::fromUtf8(line);
            const QRegularExpressionMatch stored = kStored.match(text);
            if (stored.hasMatch()) {
                reported->insert(stored.captured(1).toInt(), stored.captured(2).toInt());
            } else if (text != QStringLiteral("ready")) {
                others.append(text);
            }
        }
        return others;
    }

    static std::string describe(const QVariantList& values) {
        return QString(values.value(0).toString() + u' ' + values.value(1).toString())
            .toStdString();
    }

    // Every record of a table, read through the store.
    QList<QVariantList> records(const QString& tableName) {
        const qsizetype fieldCount = store::schemaForTable(tableName)->columns.size();
        store::Table table(database());
        EXPECT_TRUE(table.open(tableName)) << table.lastError().toStdString();
        QList<QVariantList> all;
        for (; !table.pastLast(); table.skip()) {
            QVariantList values;
            for (int field = 0; field < fieldCount; ++field) {
                values.append(table.readField(field));
            }
            all.append(values);
        }
        EXPECT_EQ(table.lastError(), QString());
        return all;
    }

    // The database passes its own check where it has one, holds whole receipts only, each once,
    // a history row for every correction and none that is not, and every reported receipt at its
    // reported version or a later one.
    Contents checkDatabase(const Reported& reported) {
        if (engineKind() == EngineKind::Sqlite) {
            EXPECT_EQ(runSql(QStringLiteral("PRAGMA integrity_check")),
                      QList<QStringList>{{QStringLiteral("ok")}});
        }
        Contents contents;
        for (const QVariantList& values : records(store::kReceiptTable)) {
            const std::optional<Key> key = crash_receipt::keyOf(values);
            if (!key) {
                ADD_FAILURE() << "a receipt that is not whole: " << describe(values);
                continue;
            }
            EXPECT_FALSE(contents.versions.contains(key->number))
                << "stored twice: " << key->number;
            contents.versions.insert(key->number, key->version);
        }
        QMap<int, QList<int>> replacedVersions;
        const QList<QVariantList> history = records(store::receiptHistorySchema().name);
        for (const QVariantList& values : history) {
            const std::optional<Key> key = crash_receipt::keyOf(values);
            if (!key || !values.value(store::kReceiptFieldCount).toDateTime().isValid()) {
                ADD_FAILURE() << "a history row that is not whole: " << describe(values);
                continue;
            }
            replacedVersions[key->number].append(key->version);
        }
        for (auto receipt = contents.versions.cbegin(); receipt != contents.versions.cend();
             ++receipt) {
            QList<int> replaced = replacedVersions.take(receipt.key());
            std::sort(replaced.begin(), replaced.end());
            QList<int> corrected(receipt.value());
            std::iota(corrected.begin(), corrected.end(), 0);
            EXPECT_EQ(replaced, corrected) << "history of receipt " << receipt.key();
        }
        EXPECT_TRUE(replacedVersions.isEmpty()) << "history of receipts that are not stored";
        for (auto receipt = reported.cbegin(); receipt != reported.cend(); ++receipt) {
            EXPECT_GE(contents.versions.value(receipt.key(), -1), receipt.value())
                << "receipt " << receipt.key() << " was reported stored at version "
                << receipt.value();
        }
        contents.historyRows = history.size();
        return contents;
    }
};

// Killed at random moments, again and again on one database, on each engine.
class KilledWriter : public ReceiptWriterTest, public ::testing::WithParamInterface<EngineKind> {
protected:
    EngineKind engineKind() const override { return GetParam(); }

    // Starts the writer, lets it write for delayMs once it is ready, and kills it with SIGKILL.
    // Whether the kill left a write transaction open: a journal beside an SQLite file.
    bool runAndKill(int delayMs, Reported* reported) {
        QProcess writer;
        start(writer);
        QByteArray output;
        while (!output.contains("ready\n") && writer.waitForReadyRead(kWaitMs)) {
            output += writer.readAllStandardOutput();
        }
        EXPECT_TRUE(output.contains("ready\n"))
            << output.toStdString() << writer.readAllStandardError().toStdString();
        QThread::msleep(delayMs);
        writer.kill();
        EXPECT_TRUE(writer.waitForFinished(kWaitMs));
        output += writer.readAllStandardOutput();
        EXPECT_EQ(writer.exitStatus(), QProcess::CrashExit) << "the writer stopped by itself";
        EXPECT_EQ(takeReports(output, reported), QStringList());
        if (GetParam() == EngineKind::Postgres) {
            waitUntilTheServerLetsGoOfTheWriter();
        }
        return QFileInfo::exists(databaseLocation() + QStringLiteral("-journal"));
    }

    // A server finishes what a killed client sent (a commit, say) in its own time. Until it has
    // let go of the connection, the tables may change between two reads of the check.
    void waitUntilTheServerLetsGoOfTheWriter() {
        database().closeAll();
        const QString others = QStringLiteral(
            "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() AND "
            "backend_type = 'client backend' AND pid <> pg_backend_pid()");
        for (int wait = 0; wait < kWaitMs / 10; ++wait) {
            if (runSql(others) == QList<QStringList>{{QStringLiteral("0")}}) {
                return;
            }
            QThread::msleep(10);
        }
        ADD_FAILURE() << "the server keeps the killed writer's connection";
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, KilledWriter,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(KilledWriter, EveryReceiptReportedStoredOutlivesTheKillAndNoneIsHalfWritten) {
    constexpr int kKills = 50;
    // A save takes a few milliseconds on either engine, most of them waiting for the disk inside
    // the transaction: the kills land from before the first save to after dozens, inside
    // transactions and between them.
    constexpr int kLongestWriteMs = 80;
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(::testing::Message() << "random seed " << seed);
    QRandomGenerator random(seed);
    Reported reported;
    Contents contents;
    int killsInTransaction = 0;
    qsizetype recordsChecked = 0;
    for (int kill = 1; kill <= kKills; ++kill) {
        SCOPED_TRACE(::testing::Message() << "kill " << kill);
        killsInTransaction += runAndKill(random.bounded(kLongestWriteMs + 1), &reported);
        contents = checkDatabase(reported);
        ASSERT_FALSE(HasFailure());
        recordsChecked += contents.versions.size() + contents.historyRows;
    }
    EXPECT_GT(contents.historyRows, 0) << "no correction was stored";
    std::cout << kKills << " kills survived; " << contents.versions.size() << " receipts and "
              << contents.historyRows << " corrections stored, " << reported.size()
              << " of the receipts reported stored; " << recordsChecked
              << " records checked in all\n";
    if (GetParam() == EngineKind::Sqlite) {
        EXPECT_GT(killsInTransaction, 0) << "no kill landed inside a write transaction";
        std::cout << killsInTransaction << " kills left a write transaction open\n";
    }
}

// A file that may not grow: the save that needs more room fails while it is being written.
TEST_F(ReceiptWriterTest, AWriteCutShortByTheFileSizeLimitIsReportedAndLeavesTheFileWhole) {
    QProcess writer;
    start(writer, {QString::number(QFileInfo(databaseLocation()).size())});
    ASSERT_TRUE(writer.waitForFinished(kWaitMs));
    Reported reported;
    const QStringList others = takeReports(writer.readAllStandardOutput(), &reported);
    EXPECT_EQ(writer.exitCode(), 2) << writer.readAllStandardError().toStdString();
    ASSERT_EQ(others.size(), 1) << others.join(u'\n').toStdString();
    const QRegularExpressionMatch failed =
        QRegularExpression(QStringLiteral("^failed (\\d+) (\\d+) (.*)$")).match(others.front());
    ASSERT_TRUE(failed.hasMatch()) << others.front().toStdString();
    EXPECT_EQ(failed.captured(3), QStringLiteral("无法写入数据库文件“%1”：读写磁盘时出错。")
                                      .arg(QDir::toNativeSeparators(databaseLocation())));
    EXPECT_FALSE(reported.isEmpty()) << "the first receipts fit";

    const Contents contents = checkDatabase(reported);
    EXPECT_EQ(contents.versions.value(failed.captured(1).toInt(), -1),
              failed.captured(2).toInt() - 1)
        << "the receipt whose save failed is stored as it was before";
}

}  // namespace
