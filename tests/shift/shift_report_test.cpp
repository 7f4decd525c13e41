#include <gtest/gtest.h>

#include <QRegularExpression>
#include <map>

#include "common/money_text.h"
#include "platform/services.h"
#include "shift/day_sheet.h"
#include "shift/report_pages.h"
#include "shift/report_printing.h"
#include "shift/shift_report.h"
#include "store/schema.h"
#include "support/fixed_clock.h"
#include "support/qt_printers.h"
#include "support/recording_printer.h"
#include "support/scripted_message_boxes.h"

namespace {

using common::yuan;
using store::JournalKind;

store::JournalEntry entry(int number, JournalKind kind, common::Money total,
                          common::Money supplement, common::Money refund) {
    store::JournalEntry made;
    made.id = number;
    made.time = QDateTime(QDate(2026, 3, 10), QTime(8, 0)).addSecs(60 * number);
    made.cashier = QStringLiteral("491MX");
    made.desk = QStringLiteral("收费处1");
    made.kind = kind;
    made.inpatientNumber = QString::number(1000 + number);
    made.patientName = QStringLiteral("病人%1").arg(number);
    for (int index = 0; index < store::kJournalAmountCount; ++index) {
        const QStringView field = store::journalAmountField(index);
        if (field == u"床位费" || field == store::kTotalField) {
            made.amounts[index] = total;
        } else if (field == store::kSupplementField) {
            made.amounts[index] = supplement;
        } else if (field == store::kRefundField) {
            made.amounts[index] = refund;
        }
    }
    return made;
}

TEST(ShiftReportText, GivesEveryFigureAsNameColonValueThenEveryEventALine) {
    const QList<store::JournalEntry> entries{
        entry(1, JournalKind::New, yuan(300), yuan(0), yuan(200)),
        entry(2, JournalKind::Correction, yuan(30.5), yuan(30.5), yuan(0)),
        entry(3, JournalKind::Void, yuan(-300), yuan(0), yuan(-200)),
    };
    store::Settlement settlement{7,
                                 QStringLiteral("491MX"),
                                 QStringLiteral("收费处1"),
                                 QDateTime(QDate(2026, 3, 10), QTime(17, 30)),
                                 store::sumEntries(entries),
                                 yuan(30.5),
                                 std::nullopt};
    const QStringList lines =
        shift::reportText(shift::settlementReport(settlement, entries)).split(u'\n');

    for (const char* expected :
         {"住院收费交班报表",
          "结算号：7",
          "收费员：491MX",
          "电脑：收费处1",
          "交班时间：2026-03-10 17:30:00",
          "首笔时间：2026-03-10 08:01:00",
          "末笔时间：2026-03-10 08:03:00",
          "新开：1笔",
          "更正：1笔",
          "作废：1笔",
          "补打：0笔",
          "床位费：30.50元",
          "诊金：0.00元",
          "其他：0.00元",
          "特服费：0.00元",
          "合计：30.50元",
          "补收：30.50元",
          "退款：0.00元",
          "应交现金：30.50元",
          "实点现金：交班时没有点钞",
          "时间\t事件\t住院号\t姓名\t付款方式\t合计\t补收\t退款",
          "2026-03-10 08:03:00\t作废\t1003\t病人3\t\t-300.00\t0.00\t-200.00"}) {
        EXPECT_TRUE(lines.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^\\d{4}-"))).size(), 3);

    const QString open = shift::reportText(shift::openShiftReport(QStringLiteral("491MX"), {}, {}));
    EXPECT_TRUE(open.contains(QStringLiteral("结算号：未交班\n")));
    EXPECT_FALSE(open.contains(QStringLiteral("交班时间")));
    EXPECT_TRUE(open.contains(QStringLiteral("首笔时间：无\n")));
}

// Every text of every page, with the page it is on.
std::multimap<QString, std::size_t> textsByPage(const std::vector<platform::PageContent>& pages) {
    std::multimap<QString, std::size_t> texts;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        for (const platform::PlacedText& placed : pages[page].texts) {
            texts.emplace(placed.text, page);
        }
    }
    return texts;
}

TEST(ShiftReportPages, RunTheEventsOnOverNumberedPagesEachOnceSignaturesAfterTheLast) {
    QList<store::JournalEntry> entries;
    for (int number = 1; number <= 150; ++number) {
        const common::Money amount = common::Money::fromFen(100 * number);
        entries.append(entry(number, JournalKind::New, amount, amount, yuan(0)));
    }
    const std::vector<platform::PageContent> pages =
        shift::shiftReportPages(shift::openShiftReport(QStringLiteral("491MX"), entries, {}), {});
    ASSERT_GE(pages.size(), 3u);
    const auto texts = textsByPage(pages);

    EXPECT_EQ(texts.count(QStringLiteral("住院收费交班报表（未交班）")), 1u);
    for (int number = 1; number <= 150; ++number) {
        EXPECT_EQ(texts.count(QString::number(1000 + number)), 1u) << number;
    }
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const QString footer = QStringLiteral("第 %1 页，共 %2 页").arg(page + 1).arg(pages.size());
        ASSERT_EQ(texts.count(footer), 1u) << footer.toStdString();
        EXPECT_EQ(texts.find(footer)->second, page);
        bool listsEvents = false;
        bool headed = false;
        for (const platform::PlacedText& placed : pages[page].texts) {
            listsEvents = listsEvents || (placed.text.startsWith(u'1') && placed.text.size() == 4);
            headed = headed || placed.text == QStringLiteral("时间");
        }
        EXPECT_EQ(headed, listsEvents) << "the heading on every page of events, page " << page;
        for (const platform::PlacedText& placed : pages[page].texts) {
            EXPECT_TRUE(placed.x >= 0 && placed.x < 2000 && placed.y >= 0 && placed.y < 2900)
                << placed.text.toStdString() << " at " << placed.x << ',' << placed.y;
        }
    }
    const platform::PageContent& last = pages.back();
    int lastEventY = 0;
    int signatureY = 0;
    for (const platform::PlacedText& placed : last.texts) {
        if (placed.text == QStringLiteral("1150")) {
            lastEventY = placed.y;
        }
        if (placed.text == QStringLiteral("交班人：")) {
            signatureY = placed.y;
        }
    }
    EXPECT_GT(signatureY, lastEventY);
    EXPECT_EQ(texts.count(QStringLiteral("接班人：")), 1u);
    EXPECT_EQ(texts.count(QStringLiteral("审核：")), 1u);
}

// On paper as on screen, amounts of different lengths end at the same place in their column.
TEST(ShiftReportPages, EndTheAmountsOfAColumnAtOneEdge) {
    const QList<store::JournalEntry> entries{
        entry(1, JournalKind::New, yuan(1), yuan(0), yuan(0)),
        entry(2, JournalKind::New, yuan(12345.67), yuan(0), yuan(0)),
    };
    const std::vector<platform::PageContent> pages =
        shift::shiftReportPages(shift::openShiftReport(QStringLiteral("491MX"), entries, {}), {});
    std::map<QString, int> xOf;
    for (const platform::PlacedText& placed : pages.front().texts) {
        xOf.emplace(placed.text, placed.x);
    }
    ASSERT_TRUE(xOf.contains(QStringLiteral("1.00")) && xOf.contains(QStringLiteral("12345.67")));
    // Digits and the point are of one width on the page.
    constexpr int kDigitWidth = 19;
    EXPECT_EQ(xOf[QStringLiteral("1.00")] + 4 * kDigitWidth,
              xOf[QStringLiteral("12345.67")] + 8 * kDigitWidth);
}

// The desk's printer gets the pages one after another on plain paper, rules and all.
TEST(ShiftReportPrinting, SendsEveryPageWithItsTextsAndLinesAsOnePlainPaperJob) {
    QList<store::JournalEntry> entries;
    for (int number = 1; number <= 50; ++number) {
        entries.append(entry(number, JournalKind::Reprint, yuan(0), yuan(0), yuan(0)));
    }
    const std::vector<platform::PageContent> pages =
        shift::shiftReportPages(shift::openShiftReport(QStringLiteral("491MX"), entries, {}), {});
    ASSERT_GE(pages.size(), 2u);
    ScriptedMessageBoxes messageBoxes;
    support::RecordingPrinter printer;
    FixedClock clock(QDateTime(QDate(2026, 3, 10), QTime(18, 0)));
    const platform::Services services{messageBoxes, printer, clock};

    shift::printReport(services, nullptr, QStringLiteral("交班报表"), QStringLiteral("交班报表-1"),
                       pages);

    using Operation = support::RecordingPrinter::Operation;
    std::vector<Operation> expected{Operation::StartPlainJob, Operation::PrintSetting};
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (page > 0) {
            expected.push_back(Operation::NewPage);
        }
        expected.insert(expected.end(), pages[page].lines.size(), Operation::PlaceLine);
        expected.insert(expected.end(), pages[page].texts.size(), Operation::PlaceText);
    }
    expected.push_back(Operation::EndJob);
    std::vector<Operation> operations;
    for (const auto& call : printer.calls) {
        operations.push_back(call.operation);
    }
    EXPECT_EQ(operations, expected);
    EXPECT_EQ(printer.calls[0].text, QStringLiteral("交班报表-1"));
    EXPECT_EQ(printer.calls[1].setting, 9);
    EXPECT_TRUE(messageBoxes.shown().empty()) << "it reached the printer";
}

store::JournalEntry paid(int number, const QString& cashier, qint64 settlement,
                         common::Money supplement, const QString& supplementMethod,
                         common::Money refund, const QString& refundMethod) {
    store::JournalEntry made =
        entry(number, JournalKind::New, supplement - refund, supplement, refund);
    made.cashier = cashier;
    made.settlement = settlement;
    made.methods = {supplementMethod, refundMethod};
    return made;
}

// A deposit taken (its amount into 预交) or paid back (out of it) in a method.
store::JournalEntry deposit(int number, const QString& cashier, JournalKind kind,
                            common::Money amount, const QString& method) {
    store::JournalEntry made = entry(number, kind, {}, {}, {});
    made.cashier = cashier;
    const bool taken = kind == JournalKind::Deposit;
    made.amounts[store::journalAmountIndex(store::kPrepaidField)] = taken ? amount : -amount;
    made.methods = taken ? store::EventMethods{method, {}} : store::EventMethods{{}, method};
    return made;
}

// A settled and an open cashier: each line and the day's sums are the day's rows added up here,
// the open shift is marked and warned of, and each method's totals are its rows'.
// The office's names head the first page of either report, above its title.
TEST(ShiftReportPages, BothReportsAreHeadedByTheDesksHospitalAndDepartment) {
    const common::OfficeNames office{QStringLiteral("江北县人民医院"), QStringLiteral("骨科")};
    const std::vector<platform::PageContent> reports[] = {
        shift::shiftReportPages(shift::openShiftReport(QStringLiteral("491MX"), {}, {}), office),
        shift::daySheetPages(shift::makeDaySheet(QDate(2026, 3, 10), {}, {}), office)};
    for (const auto& pages : reports) {
        ASSERT_GE(pages.front().texts.size(), 2u);
        EXPECT_EQ(pages.front().texts[0].text, QStringLiteral("江北县人民医院　骨科"));
        EXPECT_LT(pages.front().texts[0].y, pages.front().texts[1].y);
    }
}

TEST(DaySheet, ListsSettledAndOpenShiftsAndSumsToTheDaysRows) {
    const QString cash = QStringLiteral("现金");
    const QString card = QStringLiteral("银行卡");
    const QString weChat = QStringLiteral("微信");
    const QList<store::JournalEntry> rows{
        paid(1, QStringLiteral("491MX"), 1, yuan(100), cash, {}, {}),
        paid(2, QStringLiteral("张三"), 0, yuan(368.80), weChat, {}, {}),
        paid(3, QStringLiteral("491MX"), 1, yuan(50), card, yuan(20), cash),
        paid(4, QStringLiteral("张三"), 0, {}, {}, yuan(9.5), card),
        paid(5, QStringLiteral("张三"), 0, yuan(0.01), cash, {}, {}),
        deposit(6, QStringLiteral("张三"), JournalKind::Deposit, yuan(500), cash),
        deposit(7, QStringLiteral("张三"), JournalKind::DepositRefund, yuan(200), card),
    };
    store::Settlement settled{1,           QStringLiteral("491MX"),          {},
                              {},          store::sumEntries(rows.first(1)), yuan(80),
                              std::nullopt};
    settled.drawer = store::DrawerBalance{};
    settled.drawer->difference = yuan(-0.10);
    const shift::DaySheet sheet = shift::makeDaySheet(QDate(2026, 3, 10), rows, {settled});

    ASSERT_EQ(sheet.shifts.size(), 2);
    EXPECT_EQ(shift::daySheetCells(sheet.shifts[0]),
              QStringLiteral("491MX 1 2 130.00 0.00 150.00 20.00 0.00 0.00 0.00 80.00 -0.10")
                  .split(u' '));
    // 张三's deposits stay out of the receipts' amounts and put their cash in the drawer.
    EXPECT_EQ(shift::daySheetCells(sheet.shifts[1]),
              QStringLiteral("张三 未交班 5 359.31 0.00 368.81 9.50 0.00 500.00 200.00 500.01 ")
                  .split(u' '));
    EXPECT_EQ(shift::daySheetCells(sheet.total),
              QStringLiteral("全天合计  7 489.31 0.00 518.81 29.50 0.00 500.00 200.00 580.01 -0.10")
                  .split(u' '));
    EXPECT_EQ(shift::openShiftsWarning(sheet),
              QStringLiteral("有 1 个收费员未交班，未交班的款项已计入合计。"));

    std::map<QString, std::pair<common::Money, common::Money>> byMethod;
    for (const store::JournalEntry& row : rows.first(5)) {
        byMethod[row.methods.supplement].first +=
            store::journalAmount(row.amounts, store::kSupplementField);
        byMethod[row.methods.refund].second +=
            store::journalAmount(row.amounts, store::kRefundField);
    }
    const QList<QStringList> methods = shift::daySheetMethodRows(sheet);
    ASSERT_EQ(methods.size(), 4) << "three methods, then 长短款";
    EXPECT_EQ(methods[0][0], cash) << "cash first";
    for (const QStringList& method : methods.first(3)) {
        const auto [supplement, refund] = byMethod.at(method[0]);
        const common::Money taken = method[0] == cash ? yuan(500) : common::Money();
        const common::Money paidBack = method[0] == card ? yuan(200) : common::Money();
        EXPECT_EQ(method.sliced(1),
                  QStringList({common::moneyText(taken), common::moneyText(paidBack),
                               common::moneyText(supplement), common::moneyText(refund),
                               common::moneyText(taken - paidBack + supplement - refund)}))
            << method[0].toStdString();
    }
    EXPECT_EQ(methods[3],
              QStringList({QStringLiteral("长短款"), {}, {}, {}, {}, QStringLiteral("-0.10")}));
    EXPECT_TRUE(shift::daySheetText(sheet).contains(shift::openShiftsWarning(sheet)));
}

}  // namespace
