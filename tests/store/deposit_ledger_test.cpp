#include <gtest/gtest.h>

#include "shift_fixture.h"
#include "store/deposit_ledger.h"
#include "store/receipt_void.h"
#include "store/settlement.h"
#include "store/shift_figures.h"

namespace {

using common::yuan;
using store::Deposit;
using store::DepositOutcome;
using store::DepositState;
using store::SaveOutcome;

const QString kCashier = QStringLiteral("491MX");
const QString kNumber = QStringLiteral("700");

class DepositLedger : public store_test::StoreTest {
protected:
    Deposit take(common::Money amount, const QString& method = QStringLiteral("现金"),
                 const QDate& paidOn = {}) {
        const store::DepositResult taken = store::takeDeposit(
            database(), {kNumber, QStringLiteral("李四"), amount, method, kCashier, paidOn});
        EXPECT_EQ(taken.outcome, DepositOutcome::Done) << taken.error.toStdString();
        return taken.deposit;
    }

    QList<Deposit> deposits(const QString& number = kNumber) {
        QList<Deposit> read;
        QString error;
        EXPECT_TRUE(store::readPatientDeposits(database(), number, &read, &error))
            << error.toStdString();
        return read;
    }

    QList<DepositState> states() {
        QList<DepositState> found;
        for (const Deposit& deposit : deposits()) {
            found.append(deposit.state);
        }
        return found;
    }

    QList<store::JournalEntry> openEntries() {
        QList<store::JournalEntry> entries;
        QString error;
        EXPECT_TRUE(store::readOpenEntries(database(), kCashier, &entries, &error));
        return entries;
    }

    // The discharge bill of the number, deducting prepaid.
    static QVariantList bill(common::Money prepaid) {
        QVariantList values = store_test::receipt(kNumber, QStringLiteral("李四"), yuan(800));
        const auto set = [&](QStringView field, common::Money amount) {
            values[store::receiptSchema().indexOf(field)] = QVariant::fromValue(amount);
        };
        set(store::kPrepaidField, prepaid);
        set(store::kRefundField, prepaid > yuan(800) ? prepaid - yuan(800) : common::Money());
        set(store::kSupplementField, prepaid < yuan(800) ? yuan(800) - prepaid : common::Money());
        return values;
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, DepositLedger,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(DepositLedger, DepositsAreNumberedAcrossPatientsAndJournaledUnlessEnteredLater) {
    const Deposit first = take(yuan(500));
    const Deposit paper = take(yuan(300), QStringLiteral("现金"), QDate(2026, 11, 2));
    const store::DepositResult other = store::takeDeposit(database(), {QStringLiteral("701"),
                                                                       QStringLiteral("王五"),
                                                                       yuan(200),
                                                                       QStringLiteral("微信"),
                                                                       kCashier,
                                                                       {}});
    ASSERT_EQ(other.outcome, DepositOutcome::Done);
    EXPECT_EQ((QList<qint64>{first.number, paper.number, other.deposit.number}),
              (QList<qint64>{1, 2, 3}));

    const QList<Deposit> read = deposits();
    ASSERT_EQ(read.size(), 2);
    EXPECT_TRUE(read[0].time.isValid());
    EXPECT_TRUE(read[1].enteredLater);
    EXPECT_EQ(read[1].time, QDateTime(QDate(2026, 11, 2), QTime(0, 0)));

    // The paper slip's deposit was cash of a shift long settled: no row of this one.
    const QList<store::JournalEntry> rows = openEntries();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].kind, store::JournalKind::Deposit);
    EXPECT_EQ(rows[0].inpatientNumber, kNumber);
    EXPECT_EQ(store::journalAmount(rows[0].amounts, store::kPrepaidField), yuan(500));
    EXPECT_EQ(rows[1].methods.supplement, QStringLiteral("微信"));
}

TEST_P(DepositLedger, TheBillDeductsExactlyTheOpenDepositsAndAVoidGivesThemBack) {
    const Deposit first = take(yuan(500));
    const Deposit second = take(yuan(400));

    // A bill made before the second deposit was taken leaves it out: refused.
    EXPECT_EQ(store::saveNewReceipt(database(), bill(yuan(500)), {}, {first.id}).outcome,
              SaveOutcome::DepositsChanged);
    // The right deposits, a 预交 that is not their sum: refused.
    EXPECT_EQ(store::saveNewReceipt(database(), bill(yuan(100)), {}, {first.id, second.id}).outcome,
              SaveOutcome::DepositsChanged);
    // A bill that knows of none while the ledger has some: refused.
    EXPECT_EQ(store::saveNewReceipt(database(), bill(yuan(900))).outcome,
              SaveOutcome::DepositsChanged);
    EXPECT_EQ(states(), (QList<DepositState>{DepositState::Open, DepositState::Open}));

    ASSERT_EQ(store::saveNewReceipt(database(), bill(yuan(900)), {}, {second.id, first.id}).outcome,
              SaveOutcome::Saved);
    EXPECT_EQ(states(), (QList<DepositState>{DepositState::Settled, DepositState::Settled}));

    const store::LoadedReceipt stored = shift_test::shownReceipt(database(), kNumber);
    EXPECT_EQ(store::saveCorrection(database(), stored, bill(yuan(1000))).outcome,
              SaveOutcome::DepositsChanged)
        << "a correction keeps 预交 to the deducted deposits";
    const store::SaveResult corrected = store::saveCorrection(database(), stored, bill(yuan(900)));
    ASSERT_EQ(corrected.outcome, SaveOutcome::Saved) << corrected.error.toStdString();

    const store::DepositResult late = store::takeDeposit(
        database(),
        {kNumber, QStringLiteral("李四"), yuan(50), QStringLiteral("现金"), kCashier, {}});
    EXPECT_EQ(late.outcome, DepositOutcome::Discharged);

    ASSERT_EQ(store::voidReceipt(database(), shift_test::shownReceipt(database(), kNumber),
                                 kCashier, QStringLiteral("金额有误"))
                  .outcome,
              store::VoidOutcome::Voided);
    EXPECT_EQ(states(), (QList<DepositState>{DepositState::Open, DepositState::Open}));
    EXPECT_EQ(store::depositSummary(store::openDeposits(deposits())),
              QStringLiteral("预交金2笔，共900元"));
}

TEST_P(DepositLedger, ARefundPaysBackAnOpenDepositOnceAndNeverASettledOne) {
    const Deposit open = take(yuan(500), QStringLiteral("银行卡"));
    EXPECT_EQ(store::refundDeposit(database(), open, kCashier, QStringLiteral("现金"),
                                   QStringLiteral(" "))
                  .outcome,
              DepositOutcome::Failed)
        << "a reason is required";
    const store::DepositResult refunded = store::refundDeposit(
        database(), open, kCashier, QStringLiteral("银行卡"), QStringLiteral("转院"));
    ASSERT_EQ(refunded.outcome, DepositOutcome::Done) << refunded.error.toStdString();
    EXPECT_EQ(store::refundDeposit(database(), open, kCashier, QStringLiteral("现金"),
                                   QStringLiteral("转院"))
                  .outcome,
              DepositOutcome::ChangedElsewhere);
    const Deposit stored = deposits().value(0);
    EXPECT_EQ(stored.state, DepositState::Refunded);
    EXPECT_EQ(stored.returnReason, QStringLiteral("转院"));
    EXPECT_EQ(stored.returnMethod, QStringLiteral("银行卡"));
    EXPECT_TRUE(stored.time.isValid()) << "the refund keeps the time the deposit was taken";

    const Deposit second = take(yuan(300));
    ASSERT_EQ(store::saveNewReceipt(database(), bill(yuan(300)), {}, {second.id}).outcome,
              SaveOutcome::Saved);
    EXPECT_EQ(store::refundDeposit(database(), second, kCashier, QStringLiteral("现金"),
                                   QStringLiteral("多交"))
                  .outcome,
              DepositOutcome::ChangedElsewhere);
}

// The drawer holds the cash deposits taken less those paid back, plus the cash 补收 less the cash
// 退款; the receipts' amounts stay the receipts' own, and the settlement keeps the deposits.
TEST_P(DepositLedger, TheShiftCountsDepositCashApartFromTheReceipts) {
    take(yuan(1000));
    const Deposit card = take(yuan(700), QStringLiteral("银行卡"));
    take(yuan(90), QStringLiteral("现金"), QDate(2026, 1, 5));
    ASSERT_EQ(store::refundDeposit(database(), card, kCashier, QStringLiteral("现金"),
                                   QStringLiteral("重复交款"))
                  .outcome,
              DepositOutcome::Done);
    const QList<Deposit> open = store::openDeposits(deposits());
    QList<storage::RecordId> ids;
    for (const Deposit& deposit : open) {
        ids.append(deposit.id);
    }
    ASSERT_EQ(store::saveNewReceipt(database(), bill(yuan(1090)), {}, ids).outcome,
              SaveOutcome::Saved);

    const QList<store::JournalEntry> rows = openEntries();
    const store::ShiftFigures figures = store::sumEntries(rows);
    EXPECT_EQ(figures.depositCount, 2);
    EXPECT_EQ(figures.depositRefundCount, 1);
    EXPECT_EQ(figures.depositsTaken, yuan(1700));
    EXPECT_EQ(figures.depositsRefunded, yuan(700));
    EXPECT_EQ(figures.amount(store::kPrepaidField), yuan(1090)) << "the bill's own 预交";
    EXPECT_EQ(figures.amount(store::kRefundField), yuan(290));
    // 1000 cash taken, 700 paid back in cash, 290 refunded in cash.
    EXPECT_EQ(figures.cashDue(), yuan(10));
    EXPECT_EQ(figures.method(QStringLiteral("银行卡")).net(), yuan(700));

    const store::SettleResult settled =
        store::settleShift(database(), kCashier, rows, shift_test::exactCount(rows));
    ASSERT_EQ(settled.outcome, store::SettleOutcome::Settled) << settled.error.toStdString();
    std::optional<store::Settlement> kept;
    QString error;
    ASSERT_TRUE(store::readSettlement(database(), settled.number, &kept, &error) && kept);
    EXPECT_EQ(kept->figures, shift_test::withoutMethods(figures));
    EXPECT_EQ(kept->cashDue, yuan(10));
}

TEST_P(DepositLedger, AVersionFourDatabaseGainsTheLedgerWithItsRecordsUntouched) {
    ASSERT_EQ(store::saveNewReceipt(database(),
                                    store_test::receipt(QStringLiteral("1"), QStringLiteral("甲")))
                  .outcome,
              SaveOutcome::Saved);
    const QList<store::JournalEntry> rows = openEntries();
    ASSERT_EQ(store::settleShift(database(), kCashier, rows, shift_test::exactCount(rows)).outcome,
              store::SettleOutcome::Settled);
    database().closeAll();
    runSql(QStringLiteral(R"(DROP TABLE "MZY_deposit")"));
    for (const char* column : {"预交笔数", "预交退还笔数", "预交金收取", "预交金退还"}) {
        runSql(QStringLiteral(R"(ALTER TABLE "MZY_settlement" DROP COLUMN "%1")")
                   .arg(QString::fromUtf8(column)));
    }
    runSql(QStringLiteral("DELETE FROM schema_version WHERE version > 4"));
    const QList<QStringList> receipts = runSql(QStringLiteral(R"(SELECT * FROM "MZY")"));

    store::Database upgraded(databaseLocation());
    QString error;
    ASSERT_TRUE(upgraded.prepare(&error)) << error.toStdString();
    EXPECT_EQ(runSql(QStringLiteral(R"(SELECT * FROM "MZY")")), receipts);
    EXPECT_EQ(runSql(QStringLiteral("SELECT max(version) FROM schema_version")),
              QList<QStringList>{{QStringLiteral("5")}});
    std::optional<store::Settlement> earlier;
    ASSERT_TRUE(store::readSettlement(upgraded, 1, &earlier, &error) && earlier);
    EXPECT_EQ(earlier->figures.depositCount, 0);
    EXPECT_EQ(earlier->figures.depositsTaken, common::Money());
    const store::DepositResult taken = store::takeDeposit(
        upgraded, {kNumber, QStringLiteral("李四"), yuan(5), QStringLiteral("现金"), kCashier, {}});
    EXPECT_EQ(taken.outcome, DepositOutcome::Done) << taken.error.toStdString();
}

TEST(DepositRefusal, SaysWhatIsWrongFirst) {
    const QDate today(2026, 12, 11);
    const store::NewDeposit good{QStringLiteral("123"),
                                 QStringLiteral("李四"),
                                 yuan(100),
                                 QStringLiteral("现金"),
                                 kCashier,
                                 {}};
    EXPECT_EQ(store::depositRefusal(good, today), QString());
    const struct {
        store::NewDeposit deposit;
        const char* refusal;
    } cases[] = {
        {{QString(), QStringLiteral("李四"), yuan(1), QStringLiteral("现金"), kCashier, {}},
         "住院号为空！"},
        {{QStringLiteral("12a"),
          QStringLiteral("李四"),
          yuan(1),
          QStringLiteral("现金"),
          kCashier,
          {}},
         "住院号只能是1到8位数字！"},
        {{QStringLiteral("123456789"),
          QStringLiteral("李四"),
          yuan(1),
          QStringLiteral("现金"),
          kCashier,
          {}},
         "住院号只能是1到8位数字！"},
        {{QStringLiteral("1"), QStringLiteral(" "), yuan(1), QStringLiteral("现金"), kCashier, {}},
         "姓名为空！"},
        {{QStringLiteral("1"),
          QStringLiteral("李四"),
          common::Money(),
          QStringLiteral("现金"),
          kCashier,
          {}},
         "预交金额必须大于0！"},
        {{QStringLiteral("1"),
          QStringLiteral("李四"),
          yuan(-5),
          QStringLiteral("现金"),
          kCashier,
          {}},
         "预交金额必须大于0！"},
        {{QStringLiteral("1"),
          QStringLiteral("李四"),
          yuan(1000000),
          QStringLiteral("现金"),
          kCashier,
          {}},
         "预交金额不能超过999999.99元！"},
        {{QStringLiteral("1"), QStringLiteral("李四"), yuan(1), QStringLiteral("现金"), kCashier,
          today.addDays(1)},
         "补录的交款日期不能晚于今天！"},
    };
    for (const auto& refused : cases) {
        EXPECT_EQ(store::depositRefusal(refused.deposit, today), QString::fromUtf8(refused.refusal))
            << refused.refusal;
    }
}

}  // namespace
