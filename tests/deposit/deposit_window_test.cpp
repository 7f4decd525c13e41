#include <QCheckBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTableWidget>

#include "../store/store_fixture.h"
#include "store/deposit_ledger.h"
#include "store/journal.h"
#include "support/billing_desk.h"

namespace {

using widget_driver::typeAndLeave;

class DepositWindowTest : public BillingDeskTest {
protected:
    // 系统 → 预交, then act on the window while it is open; the window is closed after.
    void inDepositWindow(std::function<void(QWidget*)> act) {
        modal_driver::whenModalOpens([act = std::move(act)](QWidget* window) {
            act(window);
            window->findChild<QPushButton*>(QStringLiteral("关闭"))->click();
        });
        widget_driver::chooseMenuItem(window(), QStringLiteral("系统"), QStringLiteral("预交"));
    }

    static QLineEdit* field(QWidget* window, const QString& name) {
        return window->findChild<QLineEdit*>(name);
    }
    static void click(QWidget* window, const QString& name) {
        window->findChild<QPushButton*>(name)->click();
    }
    static QStringList row(QWidget* window, int at) {
        auto* table = window->findChild<QTableWidget*>(QStringLiteral("预交金"));
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            cells.append(table->item(at, column) ? table->item(at, column)->text() : QString());
        }
        return cells;
    }

    QStringList printedTexts() {
        QStringList texts;
        for (const auto& placed : printer.placedTexts()) {
            texts.append(placed.text);
        }
        return texts;
    }
};

TEST_F(DepositWindowTest, TakesADepositPrintsItsReceiptAndPaysItBackOnlyWithAReason) {
    QStringList taken;
    QStringList refunded;
    QString openSum;
    std::vector<widgets::Message> refusals;
    inDepositWindow([&](QWidget* deposits) {
        typeAndLeave(field(deposits, QStringLiteral("住院号")), QStringLiteral("300"));
        typeAndLeave(field(deposits, QStringLiteral("姓名")), QStringLiteral("李四"));
        typeAndLeave(field(deposits, QStringLiteral("金额")), QStringLiteral("5000"));
        click(deposits, QStringLiteral("收取"));
        taken = row(deposits, 0);
        openSum = deposits->findChild<QLabel*>(QStringLiteral("待结算"))->text();

        auto* table = deposits->findChild<QTableWidget*>(QStringLiteral("预交金"));
        table->selectRow(0);
        messageBoxes.clear();
        click(deposits, QStringLiteral("退还"));
        refusals = messageBoxes.shown();
        typeAndLeave(field(deposits, QStringLiteral("退还原因")), QStringLiteral("转院"));
        table->selectRow(0);
        click(deposits, QStringLiteral("退还"));
        refunded = row(deposits, 0);
    });

    EXPECT_EQ(taken.sliced(2), (QStringList{QStringLiteral("491MX"), QStringLiteral("现金"),
                                            QStringLiteral("有效"), QStringLiteral("5000.00")}));
    EXPECT_EQ(openSum, QStringLiteral("待结算：1笔，共5000.00元"));
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_EQ(refusals[0].text, QStringLiteral("请填写退还原因！"));
    EXPECT_EQ(refunded.value(4), QStringLiteral("已退"));

    const QStringList texts = printedTexts();
    EXPECT_TRUE(texts.contains(QStringLiteral("住院预交金收据")));
    EXPECT_TRUE(texts.contains(QStringLiteral("住院预交金退还单")));
    EXPECT_TRUE(texts.contains(QStringLiteral("金额（大写）：伍仟元整")));
    EXPECT_EQ(texts
                  .filter(QRegularExpression(
                      QStringLiteral("^交款时间：\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")))
                  .size(),
              2)
        << "the receipt and the refund slip say when it was paid";
    EXPECT_TRUE(texts.contains(QStringLiteral("退还原因：转院")));
    QStringList jobs;
    for (const auto& call : printer.calls) {
        if (call.operation == support::RecordingPrinter::Operation::StartPlainJob) {
            jobs.append(call.text);
        }
    }
    EXPECT_EQ(jobs, (QStringList{QStringLiteral("预交-1"), QStringLiteral("预交退还-1")}));
}

// A deposit from a paper slip prints nothing; the name comes from the patient's deposits; a
// number already discharged takes none.
TEST_F(DepositWindowTest, EntersAPaperSlipWithoutPrintingAndRefusesADischargedNumber) {
    ASSERT_EQ(store::saveNewReceipt(
                  database(), store_test::receipt(QStringLiteral("301"), QStringLiteral("王五")))
                  .outcome,
              store::SaveOutcome::Saved);
    QString filledName;
    inDepositWindow([&](QWidget* deposits) {
        typeAndLeave(field(deposits, QStringLiteral("住院号")), QStringLiteral("300"));
        typeAndLeave(field(deposits, QStringLiteral("姓名")), QStringLiteral("李四"));
        typeAndLeave(field(deposits, QStringLiteral("金额")), QStringLiteral("200"));
        deposits->findChild<QCheckBox*>(QStringLiteral("补录"))->setChecked(true);
        click(deposits, QStringLiteral("收取"));

        field(deposits, QStringLiteral("姓名"))->clear();
        typeAndLeave(field(deposits, QStringLiteral("住院号")), QStringLiteral("30"));
        typeAndLeave(field(deposits, QStringLiteral("住院号")), QStringLiteral("300"));
        filledName = field(deposits, QStringLiteral("姓名"))->text();

        messageBoxes.clear();
        typeAndLeave(field(deposits, QStringLiteral("住院号")), QStringLiteral("301"));
        typeAndLeave(field(deposits, QStringLiteral("金额")), QStringLiteral("100"));
        click(deposits, QStringLiteral("收取"));
    });
    EXPECT_TRUE(printer.calls.empty()) << "a paper slip has its paper already";
    EXPECT_EQ(filledName, QStringLiteral("李四"));
    ASSERT_FALSE(messageBoxes.shown().empty());
    EXPECT_EQ(messageBoxes.shown().back().text, QStringLiteral("该住院号已出院结算"));
}

// 补打 prints the deposit's receipt again, saying so with the time, and the shift counts the paper.
TEST_F(DepositWindowTest, AReprintSaysSoAndIsJournaled) {
    ASSERT_EQ(store::takeDeposit(database(), {QStringLiteral("300"),
                                              QStringLiteral("李四"),
                                              common::yuan(800),
                                              QStringLiteral("现金"),
                                              QStringLiteral("491MX"),
                                              {}})
                  .outcome,
              store::DepositOutcome::Done);
    inDepositWindow([&](QWidget* deposits) {
        typeAndLeave(field(deposits, QStringLiteral("住院号")), QStringLiteral("300"));
        deposits->findChild<QTableWidget*>(QStringLiteral("预交金"))->selectRow(0);
        click(deposits, QStringLiteral("补打"));
    });
    EXPECT_TRUE(printedTexts().contains(QStringLiteral("补打 2026-03-10 09:15:00")));
    EXPECT_TRUE(printedTexts().contains(QStringLiteral("住院预交金收据")));
    QList<store::JournalEntry> rows;
    QString error;
    ASSERT_TRUE(store::readOpenEntries(database(), QStringLiteral("491MX"), &rows, &error));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].kind, store::JournalKind::Reprint);
    EXPECT_EQ(rows[1].inpatientNumber, QStringLiteral("300"));
}

}  // namespace
