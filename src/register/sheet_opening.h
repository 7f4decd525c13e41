#pragma once

#include <QList>
#include <QString>
#include <QVariantList>
#include <memory>
#include <optional>

#include "register/sheet_writer.h"
#include "storage/table_schema.h"

class QIODevice;

namespace receipt_register {

enum class ExportFormat { Csv, Xlsx };

// The format that a file's name asks for: .csv or .xlsx, in any case; none for another.
std::optional<ExportFormat> exportFormatOf(const QString& path);

// A sheet of that format writing into output; none, with the reason in *error, when it cannot
// be made.
std::unique_ptr<SheetWriter> openSheet(ExportFormat format, QIODevice& output, QString* error);

// The names of the table's columns, in its order: the header of its records' rows.
QStringList columnNames(const storage::TableSchema& table);

// One value as a column of that kind is written: a text, a date or an amount.
void writeCell(SheetWriter& sheet, storage::FieldKind kind, const QVariant& value);
// A record's values in the table's order, each cell as its column's kind is written; the row is
// left open for cells of the caller's own.
void writeRecordCells(SheetWriter& sheet, const storage::TableSchema& table,
                      const QVariantList& values);

}  // namespace receipt_register
