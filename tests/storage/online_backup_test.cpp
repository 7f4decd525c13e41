#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

#include "storage/database_file.h"
#include "support/database_files.h"

namespace {

using database_files::rowsOf;

constexpr int kBatch = 50;

// A copy of a file larger than one step of the online backup, taken while another connection
// stores receipts one transaction after another, is a whole, consistent state of the file: it
// passes the integrity check and holds every receipt stored before the copy began, and of the
// later ones a gapless run, as the file held them at one moment.
TEST(OnlineBackup, IsConsistentWhileAnotherConnectionStoresReceipts) {
    QTemporaryDir folder;
    const QString source = folder.filePath(QStringLiteral("billing.sqlite"));
    const QString copy = folder.filePath(QStringLiteral("copy.sqlite"));
    database_files::makeWithReceipts(source, 0);
    rowsOf(source, QStringLiteral("CREATE TABLE padding (bytes BLOB)"));
    rowsOf(source, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                  "WHERE i < 6000) INSERT INTO padding SELECT randomblob(4000) "
                                  "FROM n"));

    std::atomic<int> stored = 0;
    std::atomic<bool> stop = false;
    // Batches of receipts, so that a commit rewrites pages all over the file.
    std::thread writer([&] {
        store::Database database(source);
        while (!stop) {
            const int first = stored;
            const auto batch = database.engine().transact({}, [first](storage::RecordWriter& w) {
                for (int number = first; number < first + kBatch; ++number) {
                    if (!w.insert(
                            store::receiptSchema(),
                            store_test::receipt(QString::number(number), QStringLiteral("张三")))) {
                        return false;
                    }
                }
                return true;
            });
            if (batch.outcome == storage::TransactionOutcome::Committed) {
                stored = first + kBatch;
            }
        }
    });
    const QDeadlineTimer writing(60000);
    while (stored < 5 * kBatch && !writing.hasExpired()) {
        std::this_thread::yield();
    }
    const int storedBefore = stored;
    QString reason;
    const bool copied = storedBefore > 0 && storage::backUpDatabaseFile(source, copy, &reason);
    stop = true;
    writer.join();

    ASSERT_GT(storedBefore, 0) << "the writer stored nothing";
    ASSERT_TRUE(copied) << reason.toStdString();
    EXPECT_EQ(database_files::integrityCheck(copy), QList<QStringList>{{QStringLiteral("ok")}});
    const QStringList numbers = database_files::receiptNumbers(copy);
    EXPECT_GE(numbers.size(), storedBefore);
    for (int number = 0; number < numbers.size(); ++number) {
        ASSERT_EQ(numbers[number], QString::number(number));
    }
    EXPECT_EQ(database_files::modeOf(copy), 0600);
}

}  // namespace
