#include "store/deposit_ledger.h"
#include "store/schema.h"
#include "support/billing_desk.h"

namespace {

using common::yuan;

class DepositDeductionTest : public BillingDeskTest {
protected:
    store::Deposit takeDeposit(const QString& number, common::Money amount) {
        const store::DepositResult taken = store::takeDeposit(database(), {number,
                                                                           QStringLiteral("李四"),
                                                                           amount,
                                                                           QStringLiteral("现金"),
                                                                           QStringLiteral("491MX"),
                                                                           {}});
        EXPECT_EQ(taken.outcome, store::DepositOutcome::Done) << taken.error.toStdString();
        return taken.deposit;
    }

    QList<store::DepositState> states(const QString& number) {
        QList<store::Deposit> deposits;
        QString error;
        EXPECT_TRUE(store::readPatientDeposits(database(), number, &deposits, &error));
        QList<store::DepositState> found;
        for (const store::Deposit& deposit : deposits) {
            found.append(deposit.state);
        }
        return found;
    }
};

// The ledger fills 预收 when the number box is left, and only for the number that has deposits;
// the bill then settles them.
TEST_F(DepositDeductionTest, LeavingTheNumberBoxDeductsItsDepositsAndPrintingSettlesThem) {
    takeDeposit(QStringLiteral("300"), yuan(3000));
    takeDeposit(QStringLiteral("300"), yuan(2000));
    typeReceipt(QStringLiteral("300"), QStringLiteral("李四"), {});
    EXPECT_EQ(box(u"编辑框24")->text(), QStringLiteral("5000"));
    EXPECT_TRUE(box(u"编辑框24")->isReadOnly());
    EXPECT_EQ(statusLine(), QStringLiteral("预交金2笔，共5000元"));
    widget_driver::typeAndLeave(box(u"编辑框2"), QStringLiteral("4500"));
    EXPECT_EQ(box(u"编辑框28")->text(), QStringLiteral("500")) << "the refund follows the deposit";

    // Another number without deposits: 预收 is typed again, from nothing.
    widget_driver::typeAndLeave(box(u"编辑框26"), QStringLiteral("301"));
    EXPECT_FALSE(box(u"编辑框24")->isReadOnly());
    EXPECT_EQ(box(u"编辑框24")->text(), QString());

    widget_driver::typeAndLeave(box(u"编辑框26"), QStringLiteral("300"));
    print();
    ASSERT_EQ(storedReceipts({QStringLiteral("预交")}).size(), 1)
        << messageBoxes.shown().back().text.toStdString();
    EXPECT_EQ(
        storedReceipts({QStringLiteral("预交")})[0][QStringLiteral("预交")].value<common::Money>(),
        yuan(5000));
    EXPECT_EQ(
        states(QStringLiteral("300")),
        (QList<store::DepositState>{store::DepositState::Settled, store::DepositState::Settled}));
    EXPECT_FALSE(box(u"编辑框24")->isReadOnly()) << "the next receipt types its own";
}

// A deposit taken at another desk after the box was left: the bill is refused, nothing is stored
// or printed, and 预收 shows the ledger as it is now.
TEST_F(DepositDeductionTest, ADepositTakenMeanwhileRefusesTheBillAndIsShown) {
    takeDeposit(QStringLiteral("300"), yuan(1000));
    typeReceipt(QStringLiteral("300"), QStringLiteral("李四"),
                {{u"编辑框2", QStringLiteral("800")}});
    takeDeposit(QStringLiteral("300"), yuan(500));
    print();
    EXPECT_EQ(messageBoxes.shown().back().text, QStringLiteral("预交金已变动，请重新计算"));
    EXPECT_TRUE(storedReceipts({QStringLiteral("预交")}).isEmpty());
    EXPECT_TRUE(printer.calls.empty());
    EXPECT_EQ(box(u"编辑框24")->text(), QStringLiteral("1500"));
    EXPECT_EQ(box(u"编辑框2")->text(), QStringLiteral("800")) << "the typed bill is kept";
}

}  // namespace
