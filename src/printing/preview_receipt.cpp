#include "printing/preview_receipt.h"

#include <QDateTime>
#include <QHash>
#include <QVariant>

#include "common/money.h"
#include "printing/receipt_page.h"

namespace printing {

platform::PageContent previewReceipt(const common::OfficeNames& office) {
    const auto amount = [](qint64 yuan) {
        return QVariant::fromValue(common::Money::fromFen(yuan * 100));
    };
    QHash<QString, QVariant> fields{
        {QStringLiteral("住院号"), QStringLiteral("20260315")},
        {QStringLiteral("姓名"), QStringLiteral("张三")},
        {QStringLiteral("入院日期"), QDateTime(QDate(2026, 3, 5), QTime(0, 0))},
        {QStringLiteral("出院日期"), QDateTime(QDate(2026, 3, 9), QTime(0, 0))},
        {QStringLiteral("合计"), amount(1235)},
        {QStringLiteral("预交"), amount(2000)},
        {QStringLiteral("补收"), amount(0)},
        {QStringLiteral("退款"), amount(765)},
        {QStringLiteral("欠费"), amount(0)},
        {QStringLiteral("收费员"), QStringLiteral(PRODUCT_NAME)},
    };
    // Every fee of the sample is 65, so that the fee grid shows where each value lands.
    return receiptPage([&](const QString& name) { return fields.value(name, amount(65)); }, office,
                       false);
}

}  // namespace printing
