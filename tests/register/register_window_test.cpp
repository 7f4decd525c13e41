#include "register/register_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QThread>

#include "platform/services.h"
#include "register/generated_receipts.h"
#include "register/spreadsheet_rows.h"
#include "support/fixed_clock.h"
#include "support/modal_driver.h"
#include "support/qt_printers.h"
#include "support/recording_printer.h"
#include "support/scripted_message_boxes.h"
#include "support/widget_driver.h"

namespace {

// The register as a cashier uses it, over the generated receipts.
class RegisterWindowTest : public GeneratedReceipts {
protected:
    void SetUp() override {
        GeneratedReceipts::SetUp();
        window = std::make_unique<receipt_register::RegisterWindow>(services, database(),
                                                                    QStringLiteral("491MX"));
        widget_driver::showActive(*window);
    }

    // A control found as a screen reader finds it, by the name it reads out.
    template <typename Control>
    Control* control(const QString& accessibleName) {
        for (Control* candidate : window->findChildren<Control*>()) {
            if (candidate->accessibleName() == accessibleName) {
                return candidate;
            }
        }
        ADD_FAILURE() << "no control named " << accessibleName.toStdString();
        return nullptr;
    }
    QTableView* table() { return control<QTableView>(QStringLiteral("收据")); }
    QString summary() { return window->findChild<QLabel*>(QStringLiteral("标签7"))->text(); }

    // Fills in the filters and presses Enter in the name box.
    void search(const store::ReceiptFilter& filter) {
        widget_driver::typeInto(control<QLineEdit>(QStringLiteral("住院号")), filter.numberPrefix);
        QDateEdit* from = control<QDateEdit>(QStringLiteral("出院日期从"));
        QDateEdit* to = control<QDateEdit>(QStringLiteral("出院日期至"));
        // In the order that never puts the first day after the last.
        if (filter.firstDischarge > to->date()) {
            to->setDate(filter.lastDischarge);
        }
        from->setDate(filter.firstDischarge);
        to->setDate(filter.lastDischarge);
        auto* cashiers = control<QComboBox>(QStringLiteral("收费员"));
        cashiers->setCurrentIndex(filter.cashier.isEmpty() ? 0
                                                           : cashiers->findText(filter.cashier));
        QLineEdit* name = control<QLineEdit>(QStringLiteral("姓名"));
        widget_driver::typeInto(name, filter.namePart);
        QTest::keyClick(name, Qt::Key_Return);
    }

    // Scrolls down until the list has every receipt found; each listed as 住院号 and 状态.
    QStringList scrolledRows() {
        QTableView* view = table();
        for (int scrolls = 0; view->model()->canFetchMore({}); ++scrolls) {
            if (scrolls > kReceiptCount) {
                ADD_FAILURE() << "the list never ends";
                break;
            }
            view->scrollToBottom();
            QApplication::processEvents();
        }
        QStringList rows;
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            rows.append(cell(row, 0) + u' ' + cell(row, 11));
        }
        return rows;
    }
    QString cell(int row, int column) {
        return table()->model()->index(row, column).data().toString();
    }

    static QStringList rowsOf(const QList<Walked>& receipts) {
        QStringList rows;
        for (const Walked& receipt : receipts) {
            rows.append(receipt.field(store::kInpatientNumberField).toString() +
                        (receipt.corrected ? QStringLiteral(" 已更正") : QStringLiteral(" 正常")));
        }
        return rows;
    }

    static QString sumsLine(const QList<Walked>& receipts) {
        const store::ReceiptTotals totals = totalsOf(receipts);
        if (totals.count == 0) {
            return QStringLiteral("共0张");
        }
        return QStringLiteral("共%1张　合计：%2　补收：%3　退款：%4　欠费：%5")
            .arg(totals.count)
            .arg(twoDecimals(totals.total), twoDecimals(totals.supplement),
                 twoDecimals(totals.refund), twoDecimals(totals.arrears));
    }

    // 导出 into path, answering the file dialog as a cashier does; then whileExporting runs
    // when the progress dialog shows.
    // The name the dialog offered goes to *offered.
    void exportTo(const QString& path, std::function<void(QWidget*)> whileExporting = {},
                  QString* offered = nullptr) {
        modal_driver::whenModalOpens([path, whileExporting, offered](QWidget* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            if (offered != nullptr) {
                *offered = name->text();
            }
            name->setText(path);
            if (whileExporting) {
                modal_driver::whenModalOpens(whileExporting);
            }
            QTest::keyClick(name, Qt::Key_Return);
        });
        QTest::mouseClick(control<QPushButton>(QStringLiteral("导出")), Qt::LeftButton);
    }

    ScriptedMessageBoxes messageBoxes;
    support::RecordingPrinter printer;
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 15))};
    platform::Services services{messageBoxes, printer, clock};
    std::unique_ptr<receipt_register::RegisterWindow> window;
};

TEST_P(RegisterWindowTest, EveryFilterListsWhatAWalkFindsWithItsExactSums) {
    EXPECT_EQ(control<QDateEdit>(QStringLiteral("出院日期从"))->date(), QDate(2026, 3, 1));
    EXPECT_EQ(control<QDateEdit>(QStringLiteral("出院日期至"))->date(), QDate(2026, 3, 31));
    for (const char* name : {"查找", "查看", "补打", "导出", "含作废"}) {
        EXPECT_NE(control<QWidget>(QString::fromUtf8(name)), nullptr);
    }
    for (const FilterCase& filterCase : filterCases(firstDay(), lastDay())) {
        SCOPED_TRACE(filterCase.label);
        search(filterCase.filter);
        const QList<Walked> wanted = expected(filterCase.filter);
        EXPECT_EQ(summary(), sumsLine(wanted));
        EXPECT_EQ(scrolledRows(), rowsOf(wanted));
    }
    EXPECT_TRUE(messageBoxes.shown().empty());
}

// Both kinds of file, written while the list shows its first page only, read back as the list
// shows every row once scrolled to its end.
TEST_P(RegisterWindowTest, ExportedFilesReadBackAsTheListedRows) {
    const store::ReceiptFilter february{{}, {}, QDate(2026, 2, 1), QDate(2026, 2, 28), {}, false};
    search(february);
    ASSERT_LT(table()->model()->rowCount(), expected(february).size());
    const QString xlsx = scratch().folder() + QStringLiteral("/二月.xlsx");
    const QString csv = scratch().folder() + QStringLiteral("/二月.csv");
    QString offered;
    exportTo(xlsx, {}, &offered);
    EXPECT_EQ(QFileInfo(offered).fileName(), QStringLiteral("收据-20260201-20260228.xlsx"));
    exportTo(csv);
    scrolledRows();

    // The list's amounts have two decimals, as the files' do.
    QList<QStringList> listed;
    for (int row = 0; row < table()->model()->rowCount(); ++row) {
        QStringList cells;
        for (const int column : {0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11}) {
            cells.append(cell(row, column));
        }
        listed.append(cells);
    }
    for (const QString& path : {xlsx, csv}) {
        SCOPED_TRACE(path.toStdString());
        QList<QStringList> rows = spreadsheetRows(path);
        ASSERT_EQ(rows.size(), listed.size() + 2);
        EXPECT_EQ(rows.takeFirst().join(u','),
                  QStringLiteral("住院号,姓名,入院日期,出院日期,床位费,诊金,治疗费,护理费,检查费,"
                                 "CT,MRI,手术费,化验费,西药费,中成药费,中草药费,其他,麻醉,材料,"
                                 "陪住,自费药品,特服费,杂费,合计,预交,补收,退款,欠费,"
                                 "收费员,状态,作废原因,付款方式"));
        EXPECT_EQ(rows.takeLast(), exportedSumsRow(expected(february)));
        QList<QStringList> exported;
        for (const QStringList& row : rows) {
            QStringList cells;
            for (const int column : {0, 1, 2, 3, 23, 24, 25, 26, 27, 28, 29}) {
                cells.append(row.value(column));
            }
            exported.append(cells);
        }
        EXPECT_EQ(exported, listed);
        EXPECT_EQ(QFile(path).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                  QFileDevice::Permissions());
    }
    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(3) == "\xEF\xBB\xBF");
    ASSERT_EQ(messageBoxes.shown().size(), 2u);
    EXPECT_EQ(messageBoxes.shown()[1].text,
              QStringLiteral("已导出%1张收据：\n%2").arg(listed.size()).arg(csv));
}

// The export is held at its first page by another program's lock until the cashier has
// cancelled it.
TEST_P(RegisterWindowTest, ACancelledExportLeavesNoFile) {
    search({{}, {}, firstDay(), lastDay(), {}, false});
    const bool onServer = scratch().kind() == EngineKind::Postgres;
    if (onServer) {
        runSql(QStringLiteral("BEGIN"));
        runSql(QStringLiteral(R"(LOCK TABLE "MZY" IN ACCESS EXCLUSIVE MODE)"));
    } else {
        runSql(QStringLiteral("BEGIN EXCLUSIVE"));
    }
    const QString folder = scratch().folder() + QStringLiteral("/export");
    ASSERT_TRUE(QDir().mkpath(folder));
    bool cancelled = false;
    exportTo(folder + QStringLiteral("/收据.xlsx"), [this, &cancelled](QWidget* progress) {
        ASSERT_NE(qobject_cast<QProgressDialog*>(progress), nullptr);
        for (QPushButton* button : progress->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("取消")) {
                QTest::mouseClick(button, Qt::LeftButton);
                cancelled = true;
            }
        }
        runSql(QStringLiteral("COMMIT"));
    });
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        << QDir(folder).entryList(QDir::AllEntries | QDir::Hidden).join(u' ').toStdString();
    EXPECT_TRUE(messageBoxes.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(Engines, RegisterWindowTest,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

class RegisterWindowOnFile : public RegisterWindowTest {};

TEST_P(RegisterWindowOnFile, AFirstDayAfterTheLastIsToldAndNothingRuns) {
    search({{}, {}, firstDay(), lastDay(), {}, false});
    const QString found = summary();
    QDateEdit* to = control<QDateEdit>(QStringLiteral("出院日期至"));
    to->setDate(firstDay().addDays(-1));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("标签6"))->text(),
              QStringLiteral("日期输入错误！"));
    EXPECT_EQ(to->date(), firstDay().addDays(-1));
    EXPECT_FALSE(control<QPushButton>(QStringLiteral("查找"))->isEnabled());
    QLineEdit* number = control<QLineEdit>(QStringLiteral("住院号"));
    widget_driver::typeInto(number, QStringLiteral("不存在"));
    QTest::keyClick(number, Qt::Key_Return);
    EXPECT_EQ(summary(), found);
    EXPECT_TRUE(messageBoxes.shown().empty());
}

TEST_P(RegisterWindowOnFile, ARangeTypedDigitByDigitCountsWhenEachBoxIsLeft) {
    QDateEdit* from = control<QDateEdit>(QStringLiteral("出院日期从"));
    QDateEdit* to = control<QDateEdit>(QStringLiteral("出院日期至"));
    auto* status = window->findChild<QLabel*>(QStringLiteral("标签6"));
    // The first day typed lies after the last still shown: told, and kept as typed.
    for (auto [box, typed] : {std::pair{from, "20261101"}, std::pair{to, "20261130"}}) {
        widget_driver::focus(box);
        const QString before = status->text();
        QTest::keyClicks(box, QString::fromLatin1(typed));
        EXPECT_EQ(status->text(), before);
        widget_driver::leave(box);
        if (box == from) {
            EXPECT_EQ(status->text(), QStringLiteral("日期输入错误！"));
        }
    }
    EXPECT_EQ(from->date(), QDate(2026, 11, 1));
    EXPECT_EQ(to->date(), QDate(2026, 11, 30));
    EXPECT_EQ(status->text(), QString());
    EXPECT_TRUE(control<QPushButton>(QStringLiteral("查找"))->isEnabled());

    QTest::mouseClick(control<QPushButton>(QStringLiteral("上月")), Qt::LeftButton);
    EXPECT_EQ(from->date(), QDate(2026, 2, 1));
    EXPECT_EQ(to->date(), QDate(2026, 2, 28));
    EXPECT_TRUE(summary().startsWith(QStringLiteral("共")));
}

TEST_P(RegisterWindowOnFile, EnterInEveryFilterRunsTheSearch) {
    auto* found = window->findChild<QLabel*>(QStringLiteral("标签7"));
    for (const char* filter : {"住院号", "姓名", "出院日期从", "出院日期至", "收费员", "含作废"}) {
        SCOPED_TRACE(filter);
        found->clear();
        QWidget* control = this->control<QWidget>(QString::fromUtf8(filter));
        widget_driver::focus(control);
        QTest::keyClick(control, Qt::Key_Return);
        EXPECT_TRUE(found->text().startsWith(QStringLiteral("共")));
    }
}

INSTANTIATE_TEST_SUITE_P(File, RegisterWindowOnFile, ::testing::Values(EngineKind::Sqlite),
                         engineName);

class RegisterWindowOnServer : public RegisterWindowTest {
protected:
    // Ends the connections that wait for a lock, once one does, as a failing network would.
    void dropWaitingConnection() {
        const QString waiting = QStringLiteral(
            "FROM pg_stat_activity WHERE datname = current_database() AND wait_event_type = "
            "'Lock'");
        for (int tries = 0; tries < 500; ++tries) {
            if (!runSql(QStringLiteral("SELECT pid ") + waiting).isEmpty()) {
                runSql(QStringLiteral("SELECT pg_terminate_backend(pid, 5000) ") + waiting);
                return;
            }
            QThread::msleep(20);
        }
        ADD_FAILURE() << "nobody waited for the lock";
    }
};

TEST_P(RegisterWindowOnServer, ALostServerIsToldInTheCashiersWordsAndLeavesNoFile) {
    const QString lost = QStringLiteral("与服务器的连接断开了");
    search({{}, {}, firstDay(), lastDay(), {}, false});
    runSql(
        QStringLiteral("SELECT pg_terminate_backend(pid, 5000) FROM pg_stat_activity WHERE "
                       "datname = current_database() AND pid <> pg_backend_pid()"));
    table()->scrollToBottom();
    QApplication::processEvents();
    ASSERT_EQ(messageBoxes.shown().size(), 1u);
    EXPECT_TRUE(messageBoxes.shown()[0].text.contains(lost));

    runSql(QStringLiteral("BEGIN"));
    runSql(QStringLiteral(R"(LOCK TABLE "MZY" IN ACCESS EXCLUSIVE MODE)"));
    const QString path = scratch().folder() + QStringLiteral("/收据.csv");
    exportTo(path, [this](QWidget*) {
        dropWaitingConnection();
        runSql(QStringLiteral("COMMIT"));
    });
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_EQ(messageBoxes.shown().size(), 2u);
    EXPECT_TRUE(
        messageBoxes.shown()[1].text.startsWith(QStringLiteral("导出没有完成，没有写出文件。\n")));
    EXPECT_TRUE(messageBoxes.shown()[1].text.contains(lost))
        << messageBoxes.shown()[1].text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Server, RegisterWindowOnServer, ::testing::Values(EngineKind::Postgres),
                         engineName);

}  // namespace
