#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include "app/program_shell.h"
#include "billing/main_window.h"
#include "common/number_text.h"
#include "platform/qt_printer.h"
#include "platform/services.h"
#include "printing/page_preview.h"
#include "register/receipt_view.h"
#include "store/journal.h"
#include "store/journal_kind.h"
#include "store/schema.h"
#include "support/database_test.h"
#include "support/fixed_clock.h"
#include "support/modal_driver.h"
#include "support/pdf_text.h"
#include "support/qt_printers.h"
#include "support/register_driver.h"
#include "support/scripted_message_boxes.h"
#include "support/widget_driver.h"

namespace {

using register_driver::button;

QPrinterInfo noPrinter(const QString&) {
    return {};
}

// The whole desk with its real printer, whose pages become PDF copies as on a desk without one,
// on each engine in turn; a cashier issues a receipt, then finds it in the register.
class RegisterAtTheDesk : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        printer = std::make_unique<platform::QtPrinter>(receiptsFolder(), clock,
                                                        platform::DeskPrinting{}, noPrinter);
        services = std::make_unique<platform::Services>(
            platform::Services{messageBoxes, *printer, clock, form()});
        shell = std::make_unique<app::ProgramShell>(*services, database());
        widget_driver::showActive(shell->mainWindow());
        shell->beginWork(QStringLiteral("491MX"));
    }

    QString receiptsFolder() { return scratch().folder() + QStringLiteral("/receipts"); }

    // A blank form of a plain colour over the receipt's part of the page.
    static platform::FormPicture form() {
        QImage picture(210, 93, QImage::Format_RGB32);
        picture.fill(QColor(230, 240, 255));
        return {picture, QRect(0, 0, 2100, 930)};
    }

    QLineEdit* box(const char16_t* name) {
        return shell->mainWindow().findChild<QLineEdit*>(QString::fromUtf16(name));
    }

    void issue(const QString& number, const QString& bedFee) {
        widget_driver::typeAndLeave(box(u"编辑框1"), QStringLiteral("王小五"));
        widget_driver::typeAndLeave(box(u"编辑框26"), number);
        widget_driver::typeAndLeave(box(u"编辑框2"), bedFee);
        widget_driver::typeAndLeave(box(u"编辑框11"), QStringLiteral("23.45"));
        messageBoxes.queueAnswer(widgets::MessageAnswer::Ok);
        shell->mainWindow().findChild<QPushButton*>(QStringLiteral("按钮2"))->click();
    }

    void inRegister(const QString& number, const std::function<void(QWidget*)>& act) {
        register_driver::inRegister(shell->mainWindow(), number, act);
    }

    // The record as the engine keeps it, with what tells whether it was written again.
    QList<QStringList> storedRecord() {
        return runSql(scratch().kind() == EngineKind::Postgres
                          ? QStringLiteral(R"(SELECT xmin::text, t::text FROM "MZY" AS t)")
                          : QStringLiteral(R"(SELECT rowid, * FROM "MZY")"));
    }

    // Each open journal row of 491MX: its kind and its change of 合计.
    QList<QStringList> journal() {
        QList<store::JournalEntry> entries;
        QString error;
        EXPECT_TRUE(store::readOpenEntries(database(), QStringLiteral("491MX"), &entries, &error))
            << error.toStdString();
        QList<QStringList> rows;
        for (const store::JournalEntry& entry : entries) {
            rows.append(
                {store::journalKindText(entry.kind),
                 common::numberToText(store::journalAmount(entry.amounts, store::kTotalField))});
        }
        return rows;
    }

    // Every word of a PDF page with its box, as pdftotext -bbox reads it.
    static QStringList placedWords(const QString& pdf) {
        QStringList words;
        const QRegularExpression word(QStringLiteral("<word [^>]*>[^<]*</word>"));
        for (const QRegularExpressionMatch& match :
             word.globalMatch(support::pdfToText(pdf, {QStringLiteral("-bbox")}))) {
            words.append(match.captured());
        }
        return words;
    }

    ScriptedMessageBoxes messageBoxes;
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 15))};
    std::unique_ptr<platform::QtPrinter> printer;
    std::unique_ptr<platform::Services> services;
    std::unique_ptr<app::ProgramShell> shell;
};

TEST_P(RegisterAtTheDesk, AReprintEqualsTheFirstPrintoutAndOnlyAddsItsJournalRow) {
    if (!support::pdfToTextAvailable()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    issue(QStringLiteral("880088"), QStringLiteral("120.5"));
    const QList<QStringList> before = storedRecord();

    inRegister(QStringLiteral("880088"), [this](QWidget* window) {
        messageBoxes.queueAnswer(widgets::MessageAnswer::Ok);
        messageBoxes.queueChoices({1});
        QTest::mouseClick(button(window, QStringLiteral("补打")), Qt::LeftButton);
    });

    const QStringList copies = QDir(receiptsFolder()).entryList({QStringLiteral("*.pdf")});
    ASSERT_EQ(copies, (QStringList{QStringLiteral("880088-20260310-091500.pdf"),
                                   QStringLiteral("880088-补打-20260310-091500.pdf")}));
    const QStringList first = placedWords(receiptsFolder() + u'/' + copies[0]);
    EXPECT_TRUE(first.join(u' ').contains(QStringLiteral(">880088</word>")));
    // The reprint's copy is the first one with 补打 and its time at the top.
    QStringList reprinted = placedWords(receiptsFolder() + u'/' + copies[1]);
    const QStringList note =
        reprinted.filter(QRegularExpression(QStringLiteral(">(补打|2026-03-10|09:15:00)</word>")));
    EXPECT_EQ(note.size(), 3) << note.join(u'\n').toStdString();
    for (const QString& word : note) {
        reprinted.removeOne(word);
    }
    EXPECT_EQ(reprinted.join(u'\n'), first.join(u'\n'));

    const std::vector<widgets::Message>& shown = messageBoxes.shown();
    ASSERT_EQ(shown.size(), 4u);  // paper and PDF for the first printout, then for the reprint
    EXPECT_EQ(shown[2].text, QStringLiteral("请放好空白票据！"));
    EXPECT_EQ(shown[3].text, QStringLiteral("没有找到打印机，补打的收据已保存为 PDF：\n") +
                                 receiptsFolder() + u'/' + copies[1]);
    EXPECT_EQ(storedRecord(), before);
    EXPECT_EQ(journal(), (QList<QStringList>{{QStringLiteral("新开"), QStringLiteral("143.95")},
                                             {QStringLiteral("补打"), QStringLiteral("0")}}));

    // The reason chosen at 补打 is kept with its row, and the receipt's view tells of the reprint.
    ASSERT_FALSE(messageBoxes.offered().empty());
    EXPECT_EQ(messageBoxes.offered().back().front().caption, QStringLiteral("补打原因（可不填）"));
    QString viewNote;
    inRegister(QStringLiteral("880088"), [&](QWidget* window) {
        register_driver::inReceiptView(window, [&](QWidget* view) {
            viewNote = view->findChild<QLabel*>(QStringLiteral("说明"))->text();
            view->close();
        });
    });
    // The journal's time is the database's clock.
    EXPECT_TRUE(
        QRegularExpression(
            QStringLiteral(
                "\n补打：\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d　收费员：491MX　原因：卡纸$"))
            .match(viewNote)
            .hasMatch())
        << viewNote.toStdString();
}

// 作废 from the receipt's view: disabled for another cashier, saying why, done for the issuer after
// a reason and a confirmation; the receipt then lists only with 含作废, can only be looked at, and
// its number takes a new receipt.
TEST_P(RegisterAtTheDesk, TheIssuerVoidsAReceiptFromItsViewAndItsNumberIsFreeAgain) {
    issue(QStringLiteral("660066"), QStringLiteral("100"));
    const QList<QStringList> stored = storedRecord();
    const auto clickVoid = [](QWidget* view) {
        QTest::mouseClick(button(view, QStringLiteral("作废")), Qt::LeftButton);
    };

    shell->beginWork(QStringLiteral("张三"));
    messageBoxes.clear();
    inRegister(QStringLiteral("660066"), [&](QWidget* window) {
        register_driver::inReceiptView(window, [&](QWidget* view) {
            EXPECT_FALSE(button(view, QStringLiteral("作废"))->isEnabled());
            EXPECT_EQ(button(view, QStringLiteral("作废"))->toolTip(),
                      QStringLiteral("这张收据由收费员491MX开具，只有开具的收费员可以作废。"));
            clickVoid(view);
            view->close();
        });
    });
    EXPECT_TRUE(messageBoxes.shown().empty());
    EXPECT_EQ(storedRecord(), stored);

    shell->beginWork(QStringLiteral("491MX"));
    messageBoxes.clear();
    QString listedAfterVoid;
    QStringList withVoided;
    QString note;
    inRegister(QStringLiteral("660066"), [&](QWidget* window) {
        register_driver::inReceiptView(window, [&](QWidget* view) {
            modal_driver::whenModalOpens([](QWidget* dialog) {
                widget_driver::typeInto(dialog->findChild<QLineEdit*>(QStringLiteral("作废原因")),
                                        QStringLiteral("收费项目错"));
                QTest::mouseClick(button(dialog, QStringLiteral("作废")), Qt::LeftButton);
            });
            clickVoid(view);
        });
        auto* table = window->findChild<QTableView*>();
        listedAfterVoid = QString::number(table->model()->rowCount());
        window->findChild<QCheckBox*>(QStringLiteral("复选框1"))->click();
        register_driver::find(window, QStringLiteral("660066"));
        withVoided = {table->model()->index(0, 0).data().toString(),
                      table->model()->index(0, 11).data().toString(),
                      window->findChild<QLabel*>(QStringLiteral("标签7"))->text()};
        EXPECT_FALSE(button(window, QStringLiteral("补打"))->isEnabled());
        register_driver::inReceiptView(window, [&](QWidget* view) {
            note = view->findChild<QLabel*>(QStringLiteral("说明"))->text();
            QStringList captions;
            for (QPushButton* shown : view->findChildren<QPushButton*>()) {
                captions.append(shown->text());
            }
            EXPECT_EQ(captions, QStringList{QStringLiteral("关闭")});
            view->close();
        });
    });
    ASSERT_EQ(messageBoxes.shown().size(), 2u);  // the confirmation, then the void told
    EXPECT_EQ(messageBoxes.shown()[1].text, QStringLiteral("住院号为 660066 的收据已作废。"));
    EXPECT_EQ(listedAfterVoid, QStringLiteral("0"));
    EXPECT_EQ(withVoided, (QStringList{QStringLiteral("660066"), QStringLiteral("作废"),
                                       QStringLiteral("共1张（作废1张，不计入合计）　合计：0.00　"
                                                      "补收：0.00　退款：0.00　欠费：0.00")}));
    EXPECT_TRUE(note.endsWith(QStringLiteral("收费员：491MX　原因：收费项目错\n付款方式：无")))
        << note.toStdString();
    EXPECT_TRUE(storedRecord().isEmpty());

    issue(QStringLiteral("660066"), QStringLiteral("200"));
    EXPECT_EQ(storedRecord().size(), 1);
    EXPECT_EQ(journal(), (QList<QStringList>{{QStringLiteral("新开"), QStringLiteral("123.45")},
                                             {QStringLiteral("作废"), QStringLiteral("-123.45")},
                                             {QStringLiteral("新开"), QStringLiteral("223.45")}}));
}

INSTANTIATE_TEST_SUITE_P(Engines, RegisterAtTheDesk,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

class RegisterAtTheDeskOnFile : public RegisterAtTheDesk {};

// The menu takes the focus from the inpatient-number box; that is no request to load a receipt.
TEST_P(RegisterAtTheDeskOnFile, OpeningTheRegisterLoadsNoReceiptForModification) {
    widget_driver::chooseMenuItem(shell->mainWindow(), QStringLiteral("系统"),
                                  QStringLiteral("修改"));
    widget_driver::typeInto(box(u"编辑框26"), QStringLiteral("12345"));
    const auto statusLine = [this] {
        return shell->mainWindow().findChild<QLabel*>(QStringLiteral("标签1"))->text();
    };
    QString whileOpen;
    inRegister(QStringLiteral("1"), [&](QWidget* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("查询"));
        whileOpen = statusLine();
    });
    EXPECT_EQ(whileOpen, QStringLiteral("请输入要修改收据的住院号，并按'Tab'键。"));
    EXPECT_EQ(statusLine(), whileOpen);
}

// The page on the form as printed, the corrections with what they changed, and a button row
// that takes one more button before 关闭.
TEST_P(RegisterAtTheDeskOnFile, TheReceiptViewShowsThePageOnTheFormAndEveryCorrection) {
    issue(QStringLiteral("770077"), QStringLiteral("100"));
    widget_driver::chooseMenuItem(shell->mainWindow(), QStringLiteral("系统"),
                                  QStringLiteral("修改"));
    widget_driver::typeAndLeave(box(u"编辑框26"), QStringLiteral("770077"));
    widget_driver::typeAndLeave(box(u"编辑框2"), QStringLiteral("120"));
    messageBoxes.queueAnswer(widgets::MessageAnswer::Ok);
    shell->mainWindow().findChild<QPushButton*>(QStringLiteral("按钮2"))->click();

    QStringList history;
    QStringList buttons;
    QString statusInList;
    inRegister(QStringLiteral("770077"), [&](QWidget* window) {
        statusInList = window->findChild<QTableView*>()->model()->index(0, 11).data().toString();
        modal_driver::whenModalOpens([&](QWidget* view) {
            // PagePreview has no meta-object of its own for findChild to tell it by.
            auto* preview = dynamic_cast<printing::PagePreview*>(
                view->findChild<QWidget*>(QStringLiteral("收据页面")));
            ASSERT_NE(preview, nullptr);
            EXPECT_TRUE(preview->showsForm());
            EXPECT_EQ(view->windowTitle(), QStringLiteral("收据 770077"));
            const QString read = preview->accessibleDescription();
            EXPECT_TRUE(read.startsWith(QStringLiteral("住院号：770077，")) &&
                        read.contains(QStringLiteral("，合计：143.45，")))
                << read.toStdString();
            auto* corrections = view->findChild<QTableWidget*>(QStringLiteral("更正记录"));
            ASSERT_NE(corrections, nullptr);
            for (int row = 0; row < corrections->rowCount(); ++row) {
                QStringList cells;
                for (int column = 1; column < corrections->columnCount(); ++column) {
                    cells.append(corrections->item(row, column)->text());
                }
                history.append(cells.join(u' '));
                // The amounts changed stand right-aligned, as in every list of ours.
                for (const int value : {2, 3}) {
                    EXPECT_TRUE(corrections->item(row, value)->textAlignment() & Qt::AlignRight)
                        << cells.join(u' ').toStdString();
                }
            }
            view->layout()->activate();
            for (QPushButton* candidate : view->findChildren<QPushButton*>()) {
                buttons.append(QString::number(candidate->x()) + u':' + candidate->text());
            }
            QTest::mouseClick(button(view, QStringLiteral("关闭")), Qt::LeftButton);
        });
        QTest::keyClick(window->findChild<QTableView*>(), Qt::Key_Return);
    });
    EXPECT_EQ(statusInList, QStringLiteral("已更正"));
    EXPECT_EQ(history, (QStringList{QStringLiteral("床位费 100.00 120.00"),
                                    QStringLiteral("合计 123.45 143.45"),
                                    QStringLiteral("欠费 123.45 143.45")}));
    std::sort(buttons.begin(), buttons.end(), [](const QString& a, const QString& b) {
        return a.section(u':', 0, 0).toInt() < b.section(u':', 0, 0).toInt();
    });
    QStringList captions;
    for (const QString& placed : buttons) {
        captions.append(placed.section(u':', 1));
    }
    EXPECT_EQ(captions.join(u' '), QStringLiteral("补打 作废 关闭"));
}

INSTANTIATE_TEST_SUITE_P(File, RegisterAtTheDeskOnFile, ::testing::Values(EngineKind::Sqlite),
                         engineName);

}  // namespace
