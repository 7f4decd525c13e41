#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

#include "register/csv_sheet.h"
#include "register/spreadsheet_rows.h"
#include "register/xlsx_sheet.h"

namespace {

const common::Money kAmount = common::Money::fromFen(-1250);

// Writes a header and one row per name (the name, then kAmount) to path as the export does.
void writeSheet(const QString& path, const QStringList& names) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QString error;
    std::unique_ptr<receipt_register::SheetWriter> sheet;
    if (path.endsWith(QStringLiteral(".csv"))) {
        sheet = std::make_unique<receipt_register::CsvSheet>(file);
    } else {
        sheet = receipt_register::XlsxSheet::open(file, &error);
        ASSERT_TRUE(sheet) << error.toStdString();
    }
    sheet->header({QStringLiteral("姓名"), QStringLiteral("金额")});
    for (const QString& name : names) {
        sheet->text(name);
        sheet->amount(kAmount);
        ASSERT_TRUE(sheet->endRow(&error)) << error.toStdString();
    }
    ASSERT_TRUE(sheet->finish(&error)) << error.toStdString();
}

// Names a spreadsheet program would run as formulas, or that XML cannot hold, as the finance
// office's programs read them back: a CSV cell that would start a formula starts with an
// apostrophe (a plain number stays a number), and a workbook holds only what XML allows.
TEST(ExportedCells, NeitherRunAsFormulasNorBreakTheWorkbook) {
    const QString replaced(QChar::ReplacementCharacter);
    const struct {
        QString name;
        QString csvReads;
        QString xlsxReads;
    } cells[] = {
        {u"=HYPERLINK(\"http://x.example\",\"点我\")"_qs,
         u"'=HYPERLINK(\"http://x.example\",\"点我\")"_qs,
         u"=HYPERLINK(\"http://x.example\",\"点我\")"_qs},
        {u"@SUM(A1:A9)"_qs, u"'@SUM(A1:A9)"_qs, u"@SUM(A1:A9)"_qs},
        {u"+1+cmd"_qs, u"'+1+cmd"_qs, u"+1+cmd"_qs},
        {u"-2+3"_qs, u"'-2+3"_qs, u"-2+3"_qs},
        {u"\t=1"_qs, u"'\t=1"_qs, u"\t=1"_qs},
        // libxlsxwriter writes a carriage return as Excel's _x000D_, which openpyxl leaves so.
        {u"\r=1"_qs, u"'\r=1"_qs, u"_x000D_=1"_qs},
        {u"-12.5"_qs, u"-12.5"_qs, u"-12.5"_qs},
        {u"欧阳=明"_qs, u"欧阳=明"_qs, u"欧阳=明"_qs},
        {u"王\uFFFF五"_qs, u"王\uFFFF五"_qs, u"王"_qs + replaced + u"五"_qs},
        {u"李\u0001四"_qs, u"李\u0001四"_qs, u"李"_qs + replaced + u"四"_qs},
        {u"赵\U00020000"_qs, u"赵\U00020000"_qs, u"赵\U00020000"_qs},
    };
    QStringList names;
    for (const auto& cell : cells) {
        names.append(cell.name);
    }
    QTemporaryDir folder;
    for (const char* format : {"csv", "xlsx"}) {
        SCOPED_TRACE(format);
        const QString path = folder.filePath(QStringLiteral("收据.") + QLatin1StringView(format));
        writeSheet(path, names);

        const QList<QStringList> rows = spreadsheetRows(path);

        ASSERT_EQ(rows.size(), std::size(cells) + 1);
        for (std::size_t row = 0; row < std::size(cells); ++row) {
            const QString& reads = QLatin1StringView(format) == QLatin1StringView("csv")
                                       ? cells[row].csvReads
                                       : cells[row].xlsxReads;
            EXPECT_EQ(rows[row + 1], QStringList({reads, QStringLiteral("-12.50")}))
                << row << ": " << rows[row + 1].join(u'|').toStdString();
        }
    }
}

// The finance office sums a workbook's amounts: they are numbers shown with two decimals, never
// texts that only look like them.
TEST(ExportedCells, AmountsInAWorkbookAreNumbersWithTwoDecimalsShown) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("收据.xlsx"));
    writeSheet(path, {QStringLiteral("张三")});
    QProcess python;
    python.start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral("-c"),
         QStringLiteral("import openpyxl, sys\n"
                        "cell = openpyxl.load_workbook(sys.argv[1]).active['B2']\n"
                        "print(type(cell.value).__name__, cell.value, cell.number_format)"),
         path});
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()).trimmed(),
              QStringLiteral("float -12.5 0.00"));
}

}  // namespace
