#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "app/desk_printing_setup.h"
#include "app/program_shell.h"
#include "billing/main_window.h"
#include "platform/page_output.h"
#include "platform/qt_printer.h"
#include "platform/services.h"
#include "printing/print_setup_window.h"
#include "printing/test_page.h"
#include "settings/desk_config.h"
#include "support/cups_queue.h"
#include "support/database_test.h"
#include "support/fixed_clock.h"
#include "support/qt_printers.h"
#include "support/scripted_message_boxes.h"
#include "support/widget_driver.h"

namespace {

using cups_queue::Word;

// The place of a word in two printouts, in tenths of a millimetre.
bool movedBy(const Word& from, const Word& to, QPointF offset) {
    constexpr double kTolerance = 2;  // 0.2 mm: the queue's driver rounds to its own grid
    return std::abs(to.topLeft.x() - from.topLeft.x() - offset.x()) <= kTolerance &&
           std::abs(to.topLeft.y() - from.topLeft.y() - offset.y()) <= kTolerance;
}

std::string describe(const std::vector<Word>& words) {
    QString text;
    for (const Word& word : words) {
        text += QStringLiteral("%1@%2,%3 ")
                    .arg(word.text)
                    .arg(word.topLeft.x(), 0, 'f', 1)
                    .arg(word.topLeft.y(), 0, 'f', 1);
    }
    return text.toStdString();
}

// The words of the queue's page that read as they were printed: figures and Latin letters.
std::vector<Word> readableWords(const std::vector<Word>& page, const std::vector<Word>& copy) {
    static const QRegularExpression latin(QStringLiteral("^[0-9A-Za-z.-]+$"));
    std::vector<Word> readable;
    for (const Word& word : page) {
        const bool inCopy = std::any_of(
            copy.begin(), copy.end(), [&](const Word& copied) { return copied.text == word.text; });
        if (latin.match(word.text).hasMatch() && inCopy) {
            readable.push_back(word);
        }
    }
    return readable;
}

// Every readable word of the queue's page stands where the copy has it, moved by offset.
void expectPageIsCopyMovedBy(const std::vector<Word>& page, const std::vector<Word>& copy,
                             QPointF offset) {
    const std::vector<Word> readable = readableWords(page, copy);
    EXPECT_GE(readable.size(), 20u) << describe(page);
    for (const Word& word : readable) {
        EXPECT_TRUE(std::any_of(copy.begin(), copy.end(),
                                [&](const Word& copied) {
                                    return copied.text == word.text &&
                                           movedBy(copied, word, offset);
                                }))
            << describe({word}) << "is not where the copy has it, moved by " << offset.x() << ","
            << offset.y() << ": " << describe(copy);
    }
}

// A desk whose printer is the scheduler's PDF queue, chosen in its settings file as print setup
// writes it.
class RealPrinterTest : public DatabaseTest {
protected:
    void SetUp() override {
        if (cups_queue::queueName().isEmpty()) {
            GTEST_SKIP() << cups_queue::kNoSchedulerMessage;
        }
        DatabaseTest::SetUp();
        ASSERT_TRUE(platform::printerNames().contains(cups_queue::queueName()))
            << "Qt does not see the queue";
    }

    QString configPath() { return scratch().folder() + QStringLiteral("/491MX.conf"); }

    void chooseInSettings(QPoint offset) {
        printing::PrintSettings settings;
        settings.printerName = cups_queue::queueName();
        settings.offset = offset;
        QString error;
        ASSERT_TRUE(settings::writePrintSettings(configPath(), settings, &error))
            << error.toStdString();
    }

    struct Printout {
        QString page;  // what the queue wrote
        QString copy;  // the PDF copy in receipts/
    };

    // Issues a receipt at the billing window of a desk started on the settings file.
    Printout issueReceipt(const QString& number) {
        platform::QtPrinter printer(
            database().receiptsFolder(), clock,
            app::deskPrintingForProgram(settings::readDeskConfig(configPath()), messageBoxes));
        const platform::Services services{messageBoxes, printer, clock};
        app::ProgramShell shell(services, database());
        widget_driver::showActive(shell.mainWindow());
        shell.beginWork(QStringLiteral("491MX"));
        const auto box = [&](const char16_t* name) {
            return shell.mainWindow().findChild<QLineEdit*>(QString::fromUtf16(name));
        };
        widget_driver::typeAndLeave(box(u"编辑框1"), QStringLiteral("欧阳明"));
        widget_driver::typeAndLeave(box(u"编辑框26"), number);
        widget_driver::typeAndLeave(box(u"编辑框2"), QStringLiteral("1234.56"));
        widget_driver::typeAndLeave(box(u"编辑框24"), QStringLiteral("2000"));
        const QSet<QString> before = cups_queue::printedSoFar();
        messageBoxes.queueAnswer(widgets::MessageAnswer::Ok);
        shell.mainWindow().findChild<QPushButton*>(QStringLiteral("按钮2"))->click();
        EXPECT_EQ(messageBoxes.shown().back().text, QStringLiteral("请放好空白票据！"))
            << "printed without a word to the cashier";
        const QStringList copies =
            QDir(database().receiptsFolder()).entryList({number + QStringLiteral("-*.pdf")});
        EXPECT_EQ(copies.size(), 1);
        return {cups_queue::nextPrintout(before, number),
                QDir(database().receiptsFolder()).filePath(copies.value(0))};
    }

    ScriptedMessageBoxes messageBoxes;
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 15))};
};

// The queue's driver reads the page's fonts anew, and measures a word's top a constant distance
// from where Qt's copy has it: the page as laid out tells that distance.
TEST_F(RealPrinterTest, AReceiptReachesTheQueueMovedByTheDesksOffsetAndTheCopyStaysPut) {
    chooseInSettings({0, 0});
    const Printout asLaidOut = issueReceipt(QStringLiteral("20260001"));
    const QPoint offset(30, -20);
    chooseInSettings(offset);
    const Printout moved = issueReceipt(QStringLiteral("20260002"));

    const std::vector<Word> copy = cups_queue::wordsOf(asLaidOut.copy);
    EXPECT_TRUE(std::any_of(copy.begin(), copy.end(), [](const Word& word) {
        return word.text == QStringLiteral("491MX") && movedBy({{1405, 610}, {}}, word, {});
    })) << describe(copy);
    const std::vector<Word> page = cups_queue::wordsOf(asLaidOut.page);
    const auto cashier = std::find_if(page.begin(), page.end(), [](const Word& word) {
        return word.text == QStringLiteral("491MX");
    });
    ASSERT_NE(cashier, page.end()) << describe(page);
    const QPointF fontTop(0, cashier->topLeft.y() - 610);
    ASSERT_LT(std::abs(fontTop.y()), 15) << "more than a font's difference";

    expectPageIsCopyMovedBy(page, copy, fontTop);
    expectPageIsCopyMovedBy(cups_queue::wordsOf(moved.page), copy, fontTop + offset);
    const std::vector<Word> movedCopy = cups_queue::wordsOf(moved.copy);
    ASSERT_EQ(movedCopy.size(), copy.size());
    for (std::size_t i = 0; i < copy.size(); ++i) {
        EXPECT_TRUE(movedBy(copy[i], movedCopy[i], {})) << describe({copy[i], movedCopy[i]});
    }
}

TEST_F(RealPrinterTest, PrintSetupChoosesTheQueueAndItsTestPageGoesThere) {
    ScriptedMessageBoxes setupMessages;
    std::vector<printing::PrintSettings> saved;
    printing::PrintSetupWindow window(
        printing::PrintSetupServices{
            setupMessages, platform::printerNames(),
            [&](const printing::PrintSettings& settings, QString*) {
                saved.push_back(settings);
                return true;
            },
            [](const printing::PrintSettings& settings, const QString&, QString* problem) {
                return printing::printTestPage(settings, problem);
            }},
        {});
    widget_driver::showActive(window);
    auto* printers = window.findChild<QComboBox*>(QStringLiteral("printerBox"));
    widget_driver::focus(printers);
    for (int press = 0;
         press < printers->count() && printers->currentText() != cups_queue::queueName(); ++press) {
        QTest::keyClick(printers, Qt::Key_Down);
    }
    ASSERT_EQ(printers->currentText(), cups_queue::queueName());
    auto* offsetX = window.findChild<QLineEdit*>(QStringLiteral("offsetXBox"));
    offsetX->selectAll();
    widget_driver::typeText(offsetX, QStringLiteral("50"));

    const QSet<QString> before = cups_queue::printedSoFar();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("testPageButton")),
                      Qt::LeftButton);
    ASSERT_FALSE(setupMessages.shown().empty());
    EXPECT_TRUE(setupMessages.shown().back().text.startsWith(QStringLiteral("测试页已送到打印机")))
        << setupMessages.shown().back().text.toStdString();
    // The first cross's label, moved by the offset; its top as the queue's driver measures it.
    const std::vector<Word> page =
        cups_queue::wordsOf(cups_queue::nextPrintout(before, QStringLiteral("打印测试页")));
    const platform::PageContent laidOut = printing::testPage({});
    const auto label = std::find_if(laidOut.texts.begin(), laidOut.texts.end(),
                                    [](const platform::PlacedText& placed) {
                                        return placed.text.startsWith(QStringLiteral("(20,"));
                                    });
    ASSERT_NE(label, laidOut.texts.end());
    EXPECT_TRUE(std::any_of(page.begin(), page.end(), [&](const Word& word) {
        return word.text == QStringLiteral("(20,") &&
               std::abs(word.topLeft.x() - (label->x + 50)) <= 2 &&
               std::abs(word.topLeft.y() - label->y) <= 15;
    })) << describe(page);

    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("saveButton")), Qt::LeftButton);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].printerName, cups_queue::queueName());
    EXPECT_EQ(saved[0].offset, QPoint(50, 0));
}

}  // namespace
