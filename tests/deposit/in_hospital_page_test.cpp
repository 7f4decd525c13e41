#include <QDir>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include "deposit/in_hospital_export.h"
#include "deposit/in_hospital_model.h"
#include "deposit/in_hospital_page.h"
#include "register/spreadsheet_rows.h"
#include "store/deposit_ledger.h"
#include "support/billing_desk.h"

namespace {

using common::yuan;

class InHospitalPageTest : public BillingDeskTest {
protected:
    void take(const QString& number, const QString& name, common::Money amount) {
        const store::DepositResult taken = store::takeDeposit(
            database(),
            {number, name, amount, QStringLiteral("现金"), QStringLiteral("491MX"), {}});
        ASSERT_EQ(taken.outcome, store::DepositOutcome::Done) << taken.error.toStdString();
    }

    // 系统 → 预交, the 在院 page shown, then act on it while the window is open.
    void onInHospitalPage(const std::function<void(deposit::InHospitalPage*)>& act) {
        modal_driver::whenModalOpens([&act](QWidget* window) {
            auto* pages = window->findChild<QTabWidget*>();
            for (int i = 0; i < pages->count(); ++i) {
                if (pages->tabText(i) == QStringLiteral("在院")) {
                    pages->setCurrentIndex(i);
                }
            }
            act(qobject_cast<deposit::InHospitalPage*>(pages->currentWidget()));
            window->findChild<QPushButton*>(QStringLiteral("关闭"))->click();
        });
        widget_driver::chooseMenuItem(window(), QStringLiteral("系统"), QStringLiteral("预交"));
    }

    static QList<QStringList> listed(const deposit::InHospitalPage& page) {
        const QAbstractItemModel& model = page.model();
        QList<QStringList> rows;
        for (int row = 0; row < model.rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model.columnCount(); ++column) {
                cells.append(model.index(row, column).data().toString());
            }
            rows.append(cells);
        }
        return rows;
    }

    QTemporaryDir folder;
};

TEST_F(InHospitalPageTest, ListsTheOpenDepositsByNumberAndExportsThemWhole) {
    take(QStringLiteral("302"), QStringLiteral("王五"), yuan(200));
    take(QStringLiteral("301"), QStringLiteral("李四"), yuan(5'000));
    take(QStringLiteral("301"), QStringLiteral("李四"), common::Money::fromFen(150'050));
    const QString workbook = folder.filePath(deposit::inHospitalFileName(QDate(2026, 12, 11)));
    const QString csv = folder.filePath(QStringLiteral("在院.csv"));
    QList<QStringList> rows;
    QString sums;
    std::vector<widgets::Message> told;
    onInHospitalPage([&](deposit::InHospitalPage* page) {
        ASSERT_NE(page, nullptr);
        rows = listed(*page);
        sums = page->sumsText();
        messageBoxes.clear();
        page->exportTo(workbook);
        page->exportTo(csv);
        page->exportTo(folder.filePath(QStringLiteral("在院.txt")));
        told = messageBoxes.shown();
    });

    const QList<QStringList> expected{{QStringLiteral("301"), QStringLiteral("李四"),
                                       QStringLiteral("2"), QStringLiteral("6500.50")},
                                      {QStringLiteral("302"), QStringLiteral("王五"),
                                       QStringLiteral("1"), QStringLiteral("200.00")}};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(sums, QStringLiteral("有效预交金共3笔，合计6700.50元"));
    EXPECT_TRUE(workbook.endsWith(QStringLiteral("在院-20261211.xlsx")));

    const QList<QStringList> exported{{QStringLiteral("住院号"), QStringLiteral("姓名"),
                                       QStringLiteral("笔数"), QStringLiteral("预交金额")},
                                      {QStringLiteral("301"), QStringLiteral("李四"),
                                       QStringLiteral("2"), QStringLiteral("6500.50")},
                                      {QStringLiteral("302"), QStringLiteral("王五"),
                                       QStringLiteral("1"), QStringLiteral("200.00")}};
    EXPECT_EQ(spreadsheetRows(workbook), exported);
    EXPECT_EQ(spreadsheetRows(csv), exported);
    ASSERT_EQ(told.size(), 3u);
    EXPECT_TRUE(told[0].text.startsWith(QStringLiteral("已导出2个住院号")))
        << told[0].text.toStdString();
    EXPECT_TRUE(told[2].text.contains(QStringLiteral(".xlsx 或 .csv")))
        << told[2].text.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);
}

}  // namespace
