#include "register/sheet_opening.h"

#include "register/csv_sheet.h"
#include "register/xlsx_sheet.h"

namespace receipt_register {

std::optional<ExportFormat> exportFormatOf(const QString& path) {
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        return ExportFormat::Csv;
    }
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
        return ExportFormat::Xlsx;
    }
    return std::nullopt;
}

std::unique_ptr<SheetWriter> openSheet(ExportFormat format, QIODevice& output, QString* error) {
    if (format == ExportFormat::Csv) {
        return std::make_unique<CsvSheet>(output);
    }
    return XlsxSheet::open(output, error);
}

QStringList columnNames(const storage::TableSchema& table) {
    QStringList names;
    for (const storage::Column& column : table.columns) {
        names.append(column.name);
    }
    return names;
}

void writeCell(SheetWriter& sheet, storage::FieldKind kind, const QVariant& value) {
    switch (kind) {
        case storage::FieldKind::Text:
        case storage::FieldKind::Integer:
            sheet.text(value.toString());
            break;
        case storage::FieldKind::DateTime:
            sheet.date(value.toDateTime());
            break;
        case storage::FieldKind::Amount:
            sheet.amount(value.value<common::Money>());
            break;
    }
}

void writeRecordCells(SheetWriter& sheet, const storage::TableSchema& table,
                      const QVariantList& values) {
    for (int field = 0; field < table.columns.size(); ++field) {
        writeCell(sheet, table.columns[field].kind, values[field]);
    }
}

}  // namespace receipt_register
