#pragma once

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStringList>

// The rows of a .csv or .xlsx file as readers that are not ours see them: Python's csv module,
// and openpyxl (Debian's python3-openpyxl) of the system's Python. Every cell comes as text: dates
// as YYYY-MM-DD (with the time when it is not midnight), numbers with two decimals, an empty
// cell as the empty text.
inline QList<QStringList> spreadsheetRows(const QString& path) {
    static const char* const kReader = R"(
import csv, datetime, json, sys
path = sys.argv[1]
def text(value):
    if value is None:
        return ''
    if isinstance(value, datetime.datetime):
        midnight = value.time() == datetime.time()
        return value.strftime('%Y-%m-%d' if midnight else '%Y-%m-%d %H:%M:%S')
    if isinstance(value, (int, float)):
        return '%.2f' % value
    return str(value)
if path.endswith('.csv'):
    with open(path, newline='', encoding='utf-8-sig') as file:
        rows = list(csv.reader(file))
else:
    import openpyxl
    sheet = openpyxl.load_workbook(path, read_only=True).active
    rows = [[text(value) for value in row] for row in sheet.iter_rows(values_only=True)]
json.dump(rows, sys.stdout, ensure_ascii=False)
)";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(kReader), path});
    EXPECT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    QList<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList cells;
        for (const QJsonValue& cell : row.toArray()) {
            cells.append(cell.toString());
        }
        rows.append(cells);
    }
    return rows;
}
