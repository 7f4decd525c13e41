#include <gtest/gtest.h>

#include <QRegularExpression>
#include <map>

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
    store::Settlement settlement{7, QStringLiteral("491MX"), QStringLiteral("收费处1"),
                                 QDateTime(QDate(2026, 3, 10), QTime(17, 30)),
                                 store::sumEntries(entries)};
    const QStringList lines =
        shift::reportText(shift::settlementReport(settlement, entries)).split(u'\n');

    for (const char* expected : {"住院收费交班报表",
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
                                 "床位费：30.5元",
                                 "诊　金：0元",
                                 "特服费：0元",
                                 "合计：30.5元",
                                 "补收：30.5元",
                                 "退款：0元",
                                 "应交现金：30.5元",
                                 "时间\t事件\t住院号\t姓名\t合计\t补收\t退款",
                                 "2026-03-10 08:03:00\t作废\t1003\t病人3\t-300\t0\t-200"}) {
        EXPECT_TRUE(lines.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^\\d{4}-"))).size(), 3);

    const QString open = shift::reportText(shift::openShiftReport(QStringLiteral("491MX"), {}));
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
        shift::shiftReportPages(shift::openShiftReport(QStringLiteral("491MX"), entries));
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
        EXPECT_EQ(texts.count(QStringLiteral("时间")), pages.size()) << "the heading on every page";
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

// The desk's printer gets the pages one after another on plain paper, rules and all.
TEST(ShiftReportPrinting, SendsEveryPageWithItsTextsAndLinesAsOnePlainPaperJob) {
    QList<store::JournalEntry> entries;
    for (int number = 1; number <= 60; ++number) {
        entries.append(entry(number, JournalKind::Reprint, yuan(0), yuan(0), yuan(0)));
    }
    const std::vector<platform::PageContent> pages =
        shift::shiftReportPages(shift::openShiftReport(QStringLiteral("491MX"), entries));
    ASSERT_EQ(pages.size(), 2u);
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

TEST(DaySheet, GivesOneLinePerCashierAndTheDaysSum) {
    const auto settled = [](qint64 number, const QString& cashier, common::Money total,
                            common::Money supplement, common::Money refund) {
        return store::Settlement{
            number,
            cashier,
            {},
            {},
            store::sumEntries(
                {entry(static_cast<int>(number), JournalKind::New, total, supplement, refund)})};
    };
    const shift::DaySheet sheet = shift::makeDaySheet(
        QDate(2026, 3, 10), {settled(1, QStringLiteral("491MX"), yuan(100), yuan(100), yuan(0)),
                             settled(2, QStringLiteral("张三"), yuan(50.5), yuan(0), yuan(9.5)),
                             settled(3, QStringLiteral("491MX"), yuan(0.01), yuan(0.01), yuan(0))});
    ASSERT_EQ(sheet.cashiers.size(), 2);
    EXPECT_EQ(shift::daySheetCells(sheet.cashiers[0]),
              QStringLiteral("491MX 2 2 100.01 0 100.01 0 0 100.01").split(u' '));
    EXPECT_EQ(shift::daySheetCells(sheet.cashiers[1]),
              QStringLiteral("张三 1 1 50.5 0 0 9.5 0 -9.5").split(u' '));
    EXPECT_EQ(shift::daySheetCells(sheet.total),
              QStringLiteral("全天合计 3 3 150.51 0 100.01 9.5 0 90.51").split(u' '));
}

}  // namespace
