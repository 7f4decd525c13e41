#include "storage/sqlite/connection.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "storage/sqlite/statement.h"

namespace {

// A power cut can only be pulled on a real machine, so the test reads back what the program asks
// of SQLite: EXTRA also flushes the folder once the journal is gone, and the journal stays in the
// rollback mode that other programs opening the file expect.
TEST(SqliteConnection, EveryConnectionFlushesTheJournalsEndInRollbackJournalMode) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    storage::SqliteConnection connection;
    QString reason;
    ASSERT_TRUE(
        connection.open(folder.filePath(QStringLiteral("billing.sqlite")), false, 100, &reason))
        << reason.toStdString();
    constexpr qint64 kExtra = 3;
    storage::SqliteStatement synchronous(connection, QStringLiteral("PRAGMA synchronous"));
    ASSERT_TRUE(synchronous.step());
    EXPECT_EQ(synchronous.columnInt64(0), kExtra);
    storage::SqliteStatement journal(connection, QStringLiteral("PRAGMA journal_mode"));
    ASSERT_TRUE(journal.step());
    EXPECT_EQ(journal.columnText(0), QStringLiteral("delete"));
}

}  // namespace
