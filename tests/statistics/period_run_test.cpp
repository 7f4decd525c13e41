#include "statistics/period_run.h"

#include <gtest/gtest.h>

#include <random>

#include "receipt/fee_category.h"
#include "store/receipt_record.h"
#include "store/schema.h"
#include "support/database_test.h"
#include "support/qt_printers.h"

namespace {

using common::Money;
using statistics::PeriodSums;

const QDate kFirstDay(2023, 1, 1);
constexpr int kDays = 730;
constexpr int kReceipts = 3000;

// Thousands of receipts over two years, discharged at any time of day, in no order of dates.
void storeRandomReceipts(store::Database& database) {
    const storage::TransactionResult stored =
        database.engine().transact({}, [](storage::RecordWriter& writer) {
            std::mt19937 random(20261209);
            std::uniform_int_distribution<std::int64_t> fen(-5'000, 9'999'999);
            std::uniform_int_distribution<int> day(0, kDays - 1);
            std::uniform_int_distribution<int> second(0, 86'399);
            for (int i = 0; i < kReceipts; ++i) {
                receipt::ReceiptState state;
                for (const receipt::FeeCategory& fee : receipt::kFeeCategories) {
                    state.*fee.variable = Money::fromFen(random() % 3 == 0 ? 0 : fen(random));
                    state.totalAmount += state.*fee.variable;
                }
                state.arrearsAmount = Money::fromFen(fen(random));
                const QDateTime discharge(kFirstDay.addDays(day(random)),
                                          QTime(0, 0).addSecs(i % 2 == 0 ? 0 : second(random)));
                if (!writer.insert(
                        store::receiptSchema(),
                        store::receiptRecordValues(QString::number(i), QStringLiteral("病人"),
                                                   discharge, discharge, state))) {
                    return false;
                }
            }
            return true;
        });
    ASSERT_EQ(stored.outcome, storage::TransactionOutcome::Committed)
        << stored.reason.toStdString();
}

// The sums as a record-by-record walk reads them.
PeriodSums walkedSums(store::Database& database, const QDateTime& first, const QDateTime& last) {
    PeriodSums sums;
    store::Table table(database);
    EXPECT_TRUE(table.open(store::kReceiptTable));
    for (; !table.pastLast(); table.skip()) {
        const QDateTime discharge = table.readField(store::kDischargeDateField).toDateTime();
        if (!discharge.isValid() || discharge < first || discharge > last) {
            continue;
        }
        for (std::size_t i = 0; i < sums.statSums.size(); ++i) {
            sums.statSums[i] +=
                table.readField(receipt::kFeeCategories[i].fieldName).value<Money>();
        }
        sums.statArrears += table.readField(store::kArrearsField).value<Money>();
        sums.statTotal += table.readField(store::kTotalField).value<Money>();
        ++sums.statCount;
    }
    return sums;
}

void expectSameSums(const PeriodSums& summed, const PeriodSums& walked) {
    EXPECT_EQ(summed.statCount, walked.statCount);
    for (std::size_t i = 0; i < walked.statSums.size(); ++i) {
        EXPECT_EQ(summed.statSums[i], walked.statSums[i])
            << receipt::kFeeCategories[i].fieldName.toString().toStdString();
    }
    EXPECT_EQ(summed.statArrears, walked.statArrears);
    EXPECT_EQ(summed.statTotal, walked.statTotal);
}

class PeriodRun : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        storeRandomReceipts(database());
    }

    void expectSumsLikeAWalk() {
        const std::pair<QDateTime, QDateTime> periods[] = {
            {QDateTime(QDate(2023, 3, 1), QTime(0, 0)), QDateTime(QDate(2023, 3, 31), QTime(0, 0))},
            {QDateTime(QDate(2023, 6, 15), QTime(12, 0)),
             QDateTime(QDate(2023, 6, 15), QTime(18, 0))},
            {QDateTime(QDate(2023, 1, 1), QTime(0, 0)),
             QDateTime(QDate(2024, 12, 30), QTime(0, 0))},
            {QDateTime(QDate(2020, 1, 1), QTime(0, 0)), QDateTime(QDate(2030, 1, 1), QTime(0, 0))},
        };
        for (const auto& [first, last] : periods) {
            const statistics::PeriodRun run = statistics::sumPeriod(database(), first, last);
            ASSERT_EQ(run.error, QString());
            SCOPED_TRACE(first.toString(Qt::ISODate).toStdString());
            expectSameSums(run.sums, walkedSums(database(), first, last));
        }
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, PeriodRun,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(PeriodRun, SumsEveryPeriodExactlyAsARecordByRecordWalk) {
    expectSumsLikeAWalk();
}

// An SQLite file that older programs wrote to as well: single-precision amounts, other forms of
// the date-time, dates that are not dates.
using OldFilePeriodRun = DatabaseTest;

TEST_F(OldFilePeriodRun, SumsEveryPeriodExactlyAsARecordByRecordWalk) {
    storeRandomReceipts(database());
    runSql(QStringLiteral(
        R"(UPDATE "MZY" SET "床位费" = CAST(CAST("床位费" * 7 AS INTEGER) AS REAL) / 700
                              WHERE rowid % 3 = 0)"));
    for (const char* stored : {"0.1", "150000.1", "12345.67", "-0.7"}) {
        runSql(QStringLiteral(R"(UPDATE "MZY" SET "诊金" = %1 WHERE rowid % 7 = %2)")
                   .arg(static_cast<double>(QByteArray(stored).toFloat()), 0, 'g', 17)
                   .arg(QByteArray(stored).size() % 7));
    }
    runSql(QStringLiteral(R"(UPDATE "MZY" SET "出院日期" = replace("出院日期", ' ', 'T')
                              WHERE rowid % 11 = 0)"));
    runSql(QStringLiteral(R"(UPDATE "MZY" SET "出院日期" = 'not a date' WHERE rowid % 13 = 0)"));
    runSql(QStringLiteral(R"(UPDATE "MZY" SET "出院日期" = NULL WHERE rowid % 17 = 0)"));

    for (const auto& [first, last] : {std::pair{QDateTime(QDate(2023, 3, 1), QTime(0, 0)),
                                                QDateTime(QDate(2023, 3, 31), QTime(0, 0))},
                                      std::pair{QDateTime(QDate(2020, 1, 1), QTime(0, 0)),
                                                QDateTime(QDate(2030, 1, 1), QTime(0, 0))}}) {
        const statistics::PeriodRun run = statistics::sumPeriod(database(), first, last);
        ASSERT_EQ(run.error, QString());
        expectSameSums(run.sums, walkedSums(database(), first, last));
    }
}

}  // namespace
