#include "register/receipt_export.h"

#include <QDir>
#include <memory>

#include "common/private_files.h"
#include "receipt/fee_category.h"
#include "register/page_reader.h"
#include "register/receipt_texts.h"
#include "register/sheet_opening.h"
#include "store/schema.h"

namespace receipt_register {

namespace {

using Outcome = ExportResult::Outcome;

// Pages of this size keep the queries few and what a page holds within the processor's caches.
constexpr int kPageReceipts = 2000;

const QString kStatusHeader = QStringLiteral("状态");
const QString kVoidReasonHeader = QStringLiteral("作废原因");
const QString kPaymentHeader = QStringLiteral("付款方式");

// Every receipt field but the spare one, which nothing ever fills, in the table's order.
const QList<int>& exportedFields() {
    static const QList<int> fields = [] {
        QList<int> kept;
        const QList<storage::Column>& columns = store::receiptSchema().columns;
        for (int field = 0; field < columns.size(); ++field) {
            if (columns[field].name != store::kSpareField) {
                kept.append(field);
            }
        }
        return kept;
    }();
    return fields;
}

storage::FieldKind exportedKind(int position) {
    return store::receiptSchema().columns[exportedFields()[position]].kind;
}

// 状态, 作废原因 and 付款方式, after the receipt's fields.
constexpr int kTrailingColumns = 3;

QStringList headerNames() {
    QStringList names;
    for (const int field : exportedFields()) {
        names.append(receipt::shownFieldName(store::receiptSchema().columns[field].name));
    }
    return names << kStatusHeader << kVoidReasonHeader << kPaymentHeader;
}

// The sums of each amount column over the receipts that were not voided, as the register's sums
// line counts them: a voided receipt took no money.
class ExportSums {
public:
    ExportSums() : m_sums(exportedFields().size()) {}

    void add(const store::FoundReceipt& receipt) {
        ++m_count;
        if (receipt.status == store::ReceiptStatus::Voided) {
            ++m_voided;
            return;
        }
        for (int position = 0; position < m_sums.size(); ++position) {
            if (exportedKind(position) == storage::FieldKind::Amount) {
                m_sums[position] += receipt.values[position].value<common::Money>();
            }
        }
    }

    // 合计 under the inpatient numbers, the count under the names, each amount's sum.
    bool write(SheetWriter& sheet, QString* error) const {
        for (int position = 0; position < m_sums.size(); ++position) {
            if (exportedKind(position) == storage::FieldKind::Amount) {
                sheet.amount(m_sums[position]);
            } else {
                sheet.text(position == 0   ? QStringLiteral("合计")
                           : position == 1 ? countText()
                                           : QString());
            }
        }
        for (int trailing = 0; trailing < kTrailingColumns; ++trailing) {
            sheet.text({});
        }
        return sheet.endRow(error);
    }

private:
    QString countText() const {
        return m_voided == 0
                   ? QStringLiteral("共%1张").arg(m_count)
                   : QStringLiteral("共%1张（作废%2张，不计入合计）").arg(m_count).arg(m_voided);
    }

    QList<common::Money> m_sums;
    qint64 m_count = 0;
    qint64 m_voided = 0;
};

bool writeRow(SheetWriter& sheet, const store::FoundReceipt& receipt, QString* error) {
    for (int position = 0; position < exportedFields().size(); ++position) {
        writeCell(sheet, exportedKind(position), receipt.values[position]);
    }
    sheet.text(store::statusText(receipt.status));
    sheet.text(receipt.voidReason);
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

QString exportFileName(const QDate& first, const QDate& last) {
    const QString day = QStringLiteral("yyyyMMdd");
    return QStringLiteral("收据-%1-%2.xlsx").arg(first.toString(day), last.toString(day));
}

ExportResult writeReceipts(const QString& databaseLocation, const store::ReceiptFilter& filter,
                           ExportFormat format, QIODevice& output, const ExportControl& control) {
    QString error;
    const std::unique_ptr<SheetWriter> sheet = openSheet(format, output, &error);
    if (!sheet) {
        return failure(error);
    }
    sheet->header(headerNames());
    PageReader pages(databaseLocation, filter, exportedFields(), kPageReceipts);
    ExportSums sums;
    qint64 written = 0;
    for (QList<store::FoundReceipt> page; !cancelled(control) && pages.next(&page, &error);) {
        for (const store::FoundReceipt& receipt : page) {
            if (!writeRow(*sheet, receipt, &error)) {
                return failure(error);
            }
            sums.add(receipt);
        }
        written += page.size();
        if (control.progress) {
            control.progress(written);
        }
    }
    if (cancelled(control)) {
        return {Outcome::Cancelled, written, {}};
    }
    if (!error.isEmpty() || !sums.write(*sheet, &error) || !sheet->finish(&error)) {
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
