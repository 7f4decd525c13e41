#include "register/receipt_export.h"

#include <QDir>
#include <memory>

#include "common/private_files.h"
#include "register/csv_sheet.h"
#include "register/page_reader.h"
#include "register/receipt_texts.h"
#include "register/xlsx_sheet.h"
#include "store/schema.h"

namespace receipt_register {

namespace {

using Outcome = ExportResult::Outcome;

// Pages of this size keep the queries few and what a page holds within the processor's caches.
constexpr int kPageReceipts = 2000;

const QString kStatusHeader = QStringLiteral("状态");
const QString kPaymentHeader = QStringLiteral("付款方式");

QList<int> everyField() {
    QList<int> fields;
    for (int field = 0; field < store::receiptSchema().columns.size(); ++field) {
        fields.append(field);
    }
    return fields;
}

QStringList headerNames() {
    QStringList names;
    for (const storage::Column& column : store::receiptSchema().columns) {
        names.append(column.name);
    }
    return names << kStatusHeader << kPaymentHeader;
}

bool writeRow(SheetWriter& sheet, const store::FoundReceipt& receipt, QString* error) {
    const QList<storage::Column>& columns = store::receiptSchema().columns;
    for (int field = 0; field < columns.size(); ++field) {
        const QVariant& value = receipt.values[field];
        switch (columns[field].kind) {
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
    sheet.text(store::statusText(receipt.status));
    sheet.text(paymentText(receipt.payment));
    return sheet.endRow(error);
}

bool cancelled(const ExportControl& control) {
    return control.cancel != nullptr && control.cancel->load();
}

ExportResult failure(QString error) {
    return {Outcome::Failed, 0, std::move(error)};
}

}  // namespace

std::optional<ExportFormat> exportFormatOf(const QString& path) {
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        return ExportFormat::Csv;
    }
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
        return ExportFormat::Xlsx;
    }
    return std::nullopt;
}

ExportResult writeReceipts(const QString& databaseLocation, const store::ReceiptFilter& filter,
                           ExportFormat format, QIODevice& output, const ExportControl& control) {
    QString error;
    std::unique_ptr<SheetWriter> sheet;
    if (format == ExportFormat::Csv) {
        sheet = std::make_unique<CsvSheet>(output);
    } else if (!(sheet = XlsxSheet::open(output, &error))) {
        return failure(error);
    }
    sheet->header(headerNames());
    PageReader pages(databaseLocation, filter, everyField(), kPageReceipts);
    qint64 written = 0;
    for (QList<store::FoundReceipt> page; !cancelled(control) && pages.next(&page, &error);) {
        for (const store::FoundReceipt& receipt : page) {
            if (!writeRow(*sheet, receipt, &error)) {
                return failure(error);
            }
        }
        written += page.size();
        if (control.progress) {
            control.progress(written);
        }
    }
    if (cancelled(control)) {
        return {Outcome::Cancelled, written, {}};
    }
    if (!error.isEmpty() || !sheet->finish(&error)) {
        return failure(error);
    }
    return {Outcome::Written, written, {}};
}

ExportResult exportReceipts(const QString& databaseLocation, const store::ReceiptFilter& filter,
                            const QString& path, const ExportControl& control) {
    const std::optional<ExportFormat> format = exportFormatOf(path);
    if (!format) {
        return failure(
            QStringLiteral("“%1”不是 .csv 或 .xlsx 文件").arg(QDir::toNativeSeparators(path)));
    }
    common::FileReplacement file(path);
    QString error;
    if (!file.open(&error)) {
        return failure(error);
    }
    ExportResult result = writeReceipts(databaseLocation, filter, *format, file.device(), control);
    if (result.outcome == Outcome::Written && !file.commit(&error)) {
        return failure(error);
    }
    return result;
}

}  // namespace receipt_register
