#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "../store/shift_fixture.h"
#include "platform/qt_printer.h"
#include "store/journal.h"
#include "store/receipt_saving.h"
#include "store/settlement.h"
#include "support/billing_desk.h"
#include "support/pdf_text.h"
#include "support/register_driver.h"

namespace {

using widget_driver::typeAndLeave;

// The whole program at work on each engine, logged in as 491MX, printing through the program's
// own printer to PDF copies only (the test machine has no printer).
class ShiftWindowTest : public EngineProgramTest {
protected:
    void SetUp() override {
        EngineProgramTest::SetUp();
        shell = std::make_unique<app::ProgramShell>(pdfServices, database());
        widget_driver::showActive(window());
        shell->beginWork(QStringLiteral("491MX"));
    }

    void issue(const QString& number, const QString& name,
               const QList<std::pair<const char16_t*, QString>>& amounts) {
        typeReceipt(number, name, amounts);
        print();
        ASSERT_EQ(box(u"编辑框26")->text(), QString()) << "printed and cleared";
        messageBoxes.clear();
    }

    // 系统 → 交班, then act on the window while it is open; act must close it.
    void inShiftWindow(std::function<void(QWidget*)> act) {
        modal_driver::whenModalOpens(std::move(act));
        widget_driver::chooseMenuItem(window(), QStringLiteral("系统"), QStringLiteral("交班"));
    }

    // A figure's text, which a screen reader must read out too, not its caption alone.
    static QString figure(QWidget* shiftWindow, const QString& name) {
        auto* value = shiftWindow->findChild<QLabel*>(name);
        if (value == nullptr) {
            return QStringLiteral("(no label %1)").arg(name);
        }
        const QString read = QAccessible::queryAccessibleInterface(value)->text(QAccessible::Name);
        EXPECT_TRUE(read.contains(value->text())) << read.toStdString();
        return value->text();
    }
    static void click(QWidget* shiftWindow, const QString& name) {
        auto* button = shiftWindow->findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        EXPECT_EQ(button->accessibleName(), name);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // 交班: the count window opens over the shift window; count acts on it and must close it.
    static void settleCounting(QWidget* shiftWindow, std::function<void(QWidget*)> count) {
        modal_driver::whenModalOpens(std::move(count));
        click(shiftWindow, QStringLiteral("交班"));
    }
    // Types the counted cash as one sum and settles.
    static void countAsOneSum(QWidget* counting, const QString& sum) {
        widget_driver::typeInto(counting->findChild<QLineEdit*>(QStringLiteral("实点现金")), sum);
        click(counting, QStringLiteral("确定交班"));
    }

    FixedClock realClock{QDateTime::currentDateTime()};
    QTemporaryDir receipts;
    platform::QtPrinter pdfPrinter{
        receipts.path(), realClock, {}, [](const QString&) { return QPrinterInfo(); }};
    platform::Services pdfServices{
        messageBoxes,     pdfPrinter, realClock, {}, receipt::defaultPaymentMethods(),
        common::yuan(500)};
};

INSTANTIATE_TEST_SUITE_P(Engines, ShiftWindowTest,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(ShiftWindowTest, IssueCorrectVoidReprintSettleAndPrintTheReport) {
    issue(QStringLiteral("1001"), QStringLiteral("张三"),
          {{u"编辑框2", QStringLiteral("300")}, {u"编辑框24", QStringLiteral("500")}});
    messageBoxes.queueChoices({2});  // 补收 20.50 by 微信
    issue(QStringLiteral("1002"), QStringLiteral("李四"),
          {{u"编辑框3", QStringLiteral("120.5")},
           {u"编辑框24", QStringLiteral("100")},
           {u"编辑框25", QStringLiteral("20.5")}});
    widget_driver::chooseMenuItem(window(), QStringLiteral("系统"), QStringLiteral("修改"));
    typeAndLeave(box(u"编辑框26"), QStringLiteral("1002"));
    typeAndLeave(box(u"编辑框3"), QStringLiteral("150.5"));
    typeAndLeave(box(u"编辑框25"), QStringLiteral("50.5"));
    messageBoxes.queueChoices({1});  // the 30.00 more by 银行卡
    print();
    ASSERT_EQ(messageBoxes.offered().size(), 3u) << "each print that moves money asks its method";
    EXPECT_EQ(messageBoxes.offered()[0][0].caption, QStringLiteral("退款 200 元"));
    EXPECT_EQ(messageBoxes.offered()[0][0].chosen, 0) << "现金 first";
    EXPECT_EQ(messageBoxes.offered()[2][0].caption, QStringLiteral("补收更正 +30 元"));
    register_driver::inRegister(window(), QStringLiteral("1001"), [](QWidget* found) {
        register_driver::inReceiptView(found, [](QWidget* view) {
            modal_driver::whenModalOpens([](QWidget* dialog) {
                widget_driver::typeInto(dialog->findChild<QLineEdit*>(QStringLiteral("作废原因")),
                                        QStringLiteral("收费项目错"));
                QTest::mouseClick(register_driver::button(dialog, QStringLiteral("作废")),
                                  Qt::LeftButton);
            });
            QTest::mouseClick(register_driver::button(view, QStringLiteral("作废")),
                              Qt::LeftButton);
        });
    });
    register_driver::inRegister(window(), QStringLiteral("1002"), [](QWidget* found) {
        QTest::mouseClick(register_driver::button(found, QStringLiteral("补打")), Qt::LeftButton);
    });
    messageBoxes.clear();

    bool checked = false;
    inShiftWindow([&](QWidget* shiftWindow) {
        EXPECT_EQ(shiftWindow->windowTitle(), QStringLiteral("交班"));
        const struct {
            const char* name;
            const char* value;
        } figures[] = {{"新开", "2笔"},        {"更正", "1笔"},
                       {"作废", "1笔"},        {"补打", "1笔"},
                       {"床位费", "0.00元"},   {"诊金", "150.50元"},
                       {"其他", "0.00元"},     {"合计", "150.50元"},
                       {"预交", "100.00元"},   {"补收", "50.50元"},
                       {"退款", "0.00元"},     {"欠费", "0.00元"},
                       {"应交现金", "0.00元"}, {"应交现金（大写）", "零元整"},
                       {"实点现金", "未点钞"}, {"结算号", "未交班"},
                       {"收费员", "491MX"}};
        for (const auto& [name, value] : figures) {
            EXPECT_EQ(figure(shiftWindow, QString::fromUtf8(name)), QString::fromUtf8(value))
                << name;
        }
        // Amounts line up at the right of their column of figures; other figures read from the
        // left.
        const auto alignment = [shiftWindow](const char* name) {
            const auto* value = shiftWindow->findChild<QLabel*>(QString::fromUtf8(name));
            return value == nullptr ? Qt::Alignment() : value->alignment();
        };
        for (const char* name : {"诊金", "合计", "应交现金", "备用金"}) {
            EXPECT_TRUE(alignment(name) & Qt::AlignRight) << name;
        }
        for (const char* name : {"收费员", "新开", "应交现金（大写）"}) {
            EXPECT_TRUE(alignment(name) & Qt::AlignLeft) << name;
        }
        auto* events = shiftWindow->findChild<QTableWidget*>(QStringLiteral("本班记录"));
        EXPECT_EQ(events->rowCount(), 5);
        // 现金 first, then each other method in the order it was first used.
        auto* methods = shiftWindow->findChild<QTableWidget*>(QStringLiteral("按付款方式"));
        ASSERT_NE(methods, nullptr);
        QStringList methodCells;
        for (int row = 0; row < methods->rowCount(); ++row) {
            for (int column = 0; column < methods->columnCount(); ++column) {
                methodCells.append(methods->item(row, column)->text());
            }
        }
        EXPECT_EQ(methodCells.join(u' '),
                  QStringLiteral("现金 0.00 0.00 0.00 0.00 0.00 微信 0.00 0.00 20.50 0.00 20.50 "
                                 "银行卡 0.00 0.00 30.00 0.00 30.00"));

        settleCounting(shiftWindow, [](QWidget* counting) {
            EXPECT_EQ(counting->windowTitle(), QStringLiteral("交班点钞"));
            EXPECT_EQ(figure(counting, QStringLiteral("应有现金")), QStringLiteral("500.00元"))
                << "the float and no cash";
            const auto pieces = [counting](const char* denomination, const char* count) {
                widget_driver::typeInto(
                    counting->findChild<QLineEdit*>(QString::fromUtf8(denomination)),
                    QString::fromUtf8(count));
            };
            pieces("100元", "4");
            pieces("1角", "999");
            EXPECT_EQ(counting->findChild<QLineEdit*>(QStringLiteral("实点现金"))->text(),
                      QStringLiteral("499.90"));
            EXPECT_EQ(figure(counting, QStringLiteral("长短款")), QStringLiteral("短款 0.10元"));
            pieces("50元", "1");
            EXPECT_EQ(figure(counting, QStringLiteral("长短款")), QStringLiteral("长款 49.90元"));
            pieces("1角", "9");
            pieces("1元", "49");
            EXPECT_EQ(figure(counting, QStringLiteral("长短款")), QStringLiteral("短款 0.10元"));
            click(counting, QStringLiteral("确定交班"));
            EXPECT_TRUE(counting->isVisible()) << "a difference needs a remark";
            EXPECT_EQ(figure(counting, QStringLiteral("点钞提示")),
                      QStringLiteral("实点现金与应有现金不符，请在“长短款说明”里写明原因。"));
            widget_driver::typeInto(counting->findChild<QLineEdit*>(QStringLiteral("长短款说明")),
                                    QStringLiteral("找零少收一角"));
            click(counting, QStringLiteral("确定交班"));
        });

        EXPECT_EQ(figure(shiftWindow, QStringLiteral("新开")), QStringLiteral("0笔"));
        EXPECT_FALSE(shiftWindow->findChild<QPushButton*>(QStringLiteral("交班"))->isEnabled());
        EXPECT_EQ(shiftWindow->findChild<QTableWidget*>(QStringLiteral("历次交班"))->rowCount(), 1);
        click(shiftWindow, QStringLiteral("关闭"));
        checked = true;
    });
    ASSERT_TRUE(checked);

    const std::vector<widgets::Message>& shown = messageBoxes.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, QStringLiteral("交班完成，结算号为 1。\n现在打印交班报表吗？"));
    const QString pdf = shown[1].text.section(u'\n', 1);
    ASSERT_TRUE(shown[1].text.startsWith(QStringLiteral("没有找到打印机，交班报表已保存为 PDF：")))
        << shown[1].text.toStdString();
    std::optional<store::Settlement> settled;
    QString error;
    ASSERT_TRUE(store::readSettlement(database(), 1, &settled, &error) && settled->drawer);
    EXPECT_EQ(*settled->drawer,
              (store::DrawerBalance{common::yuan(500),
                                    {},
                                    common::yuan(500),
                                    common::yuan(499.9),
                                    common::yuan(-0.1),
                                    QStringLiteral("找零少收一角"),
                                    QStringLiteral("100元×4，50元×1，1元×49，1角×9")}));
    EXPECT_TRUE(QFileInfo(pdf).fileName().startsWith(QStringLiteral("交班报表-1-")));
    if (!support::pdfToTextAvailable()) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    const QString text = support::readablePdfText(pdf);
    for (const char* expected : {"住院收费交班报表",
                                 "结算号：1",
                                 "收费员：491MX",
                                 "新开：2笔",
                                 "作废：1笔",
                                 "补打：1笔",
                                 "诊金：150.50元",
                                 "合计：150.50元",
                                 "补收：50.50元",
                                 "应交现金：0.00元",
                                 "应交现金（大写）：零元整",
                                 "备用金：500.00元",
                                 "应有现金：500.00元",
                                 "实点现金：499.90元",
                                 "长短款：短款 0.10元",
                                 "长短款说明：找零少收一角",
                                 "微信 0.00 0.00 20.50 0.00 20.50",
                                 "交班人：",
                                 "接班人：",
                                 "审核：",
                                 "第 1 页，共 1 页"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                << text.toStdString();
    }
    const QStringList eventLines = text.split(u'\n').filter(
        QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d ")));
    ASSERT_EQ(eventLines.size(), 5) << text.toStdString();
    EXPECT_TRUE(eventLines[0].contains(QStringLiteral("新开 1001 张三 现金 300.00 0.00 200.00")));
    EXPECT_TRUE(eventLines[2].contains(QStringLiteral("更正 1002 李四 银行卡 30.00 30.00 0.00")));
    EXPECT_TRUE(eventLines[3].contains(QStringLiteral("作废 1001 张三 现金 -300.00 0.00 -200.00")));
    EXPECT_TRUE(eventLines[4].contains(QStringLiteral("补打 1002 李四 0.00 0.00 0.00")));
}

TEST_P(ShiftWindowTest, ARowWrittenAtAnotherDeskWhileSettlingStaysForTheNextShift) {
    issue(QStringLiteral("1007"), QStringLiteral("王五"), {{u"编辑框2", QStringLiteral("80")}});
    std::mt19937 random(3);
    messageBoxes.queueAnswer(widgets::MessageAnswer::Cancel);  // no printout now

    inShiftWindow([&](QWidget* shiftWindow) {
        EXPECT_EQ(figure(shiftWindow, QStringLiteral("合计")), QStringLiteral("80.00元"));
        settleCounting(shiftWindow, [&](QWidget* counting) {
            store::Database otherDesk(databaseLocation());
            ASSERT_EQ(store::saveNewReceipt(
                          otherDesk, shift_test::randomReceipt(QStringLiteral("1008"),
                                                               QStringLiteral("491MX"), random))
                          .outcome,
                      store::SaveOutcome::Saved);
            countAsOneSum(counting, QStringLiteral("500"));
        });
        auto* events = shiftWindow->findChild<QTableWidget*>(QStringLiteral("本班记录"));
        EXPECT_EQ(events->rowCount(), 1);
        EXPECT_EQ(events->item(0, 2)->text(), QStringLiteral("1008"));
        EXPECT_TRUE(shiftWindow->findChild<QPushButton*>(QStringLiteral("交班"))->isEnabled());
        click(shiftWindow, QStringLiteral("关闭"));
    });

    ASSERT_EQ(messageBoxes.shown().size(), 1u);
    EXPECT_EQ(messageBoxes.shown()[0].text,
              QStringLiteral("交班完成，结算号为 1。\n交班时另一台电脑又记下了您的 1 笔记录，"
                             "它们留在下一班。\n现在打印交班报表吗？"));
    QList<store::JournalEntry> open;
    QString error;
    ASSERT_TRUE(store::readOpenEntries(database(), QStringLiteral("491MX"), &open, &error));
    ASSERT_EQ(open.size(), 1);
    EXPECT_EQ(open[0].inpatientNumber, QStringLiteral("1008"));
}

// A read that breaks off half-way (here a damaged page of the journal) shows nothing of the shift
// rather than the rows before the damage, and leaves nothing to settle.
TEST_P(ShiftWindowTest, AReadThatFailsHalfWayShowsNothingAndCannotBeSettled) {
    if (GetParam() != EngineKind::Sqlite) {
        GTEST_SKIP() << "a damaged page is a file's failure";
    }
    issue(QStringLiteral("1009"), QStringLiteral("赵六"), {{u"编辑框2", QStringLiteral("80")}});
    for (int doubling = 0; doubling < 9; ++doubling) {
        runSql(QStringLiteral(R"(INSERT INTO "MZY_journal" SELECT * FROM "MZY_journal")"));
    }
    const QList<QStringList> leaves = runSql(
        QStringLiteral("SELECT pageno FROM dbstat WHERE name = 'MZY_journal' AND pagetype = 'leaf' "
                       "ORDER BY pageno"));
    ASSERT_GE(leaves.size(), 4);
    const qint64 pageSize =
        runSql(QStringLiteral("PRAGMA page_size")).value(0).value(0).toLongLong();
    QFile file(databaseLocation());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek((leaves[leaves.size() / 2].value(0).toLongLong() - 1) * pageSize));
    ASSERT_EQ(file.write(QByteArray(pageSize, '\xff')), pageSize);
    file.close();

    inShiftWindow([&](QWidget* shiftWindow) {
        EXPECT_EQ(shiftWindow->findChild<QTableWidget*>(QStringLiteral("本班记录"))->rowCount(), 0);
        EXPECT_FALSE(shiftWindow->findChild<QPushButton*>(QStringLiteral("交班"))->isEnabled());
        EXPECT_EQ(figure(shiftWindow, QStringLiteral("本班提示")),
                  QStringLiteral("读不出本班的记录，不能交班。"));
        click(shiftWindow, QStringLiteral("关闭"));
    });
    // The open shift's read and the day sheet's each say so.
    ASSERT_EQ(messageBoxes.shown().size(), 2u);
    for (const widgets::Message& shown : messageBoxes.shown()) {
        EXPECT_EQ(shown.icon, widgets::MessageIcon::Stop);
    }
}

}  // namespace
