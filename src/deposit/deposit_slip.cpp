#include "deposit/deposit_slip.h"

#include "common/money_text.h"
#include "common/money_words.h"

namespace deposit {

namespace {

constexpr int kLeft = 250;
constexpr int kMiddle = 1100;
constexpr int kRight = 1850;
constexpr int kLineHeight = 90;
constexpr int kPageCentre = 1050;

QString timeText(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString amountText(common::Money amount) {
    return common::moneyText(amount) + QStringLiteral(" 元");
}

// A deposit entered from a paper slip has its day, not its time.
QString paidText(const store::Deposit& deposit) {
    return deposit.enteredLater ? deposit.time.date().toString(QStringLiteral("yyyy-MM-dd")) +
                                      QStringLiteral("（补录）")
                                : timeText(deposit.time);
}

}  // namespace

QString slipTitle(SlipKind kind) {
    return kind == SlipKind::Receipt ? QStringLiteral("住院预交金收据")
                                     : QStringLiteral("住院预交金退还单");
}

platform::PageContent slipPage(const store::Deposit& deposit, SlipKind kind,
                               const QString& hospital, const QDateTime& reprintedAt) {
    platform::PageContent page;
    int y = 200;
    for (const QString& heading : {hospital, slipTitle(kind)}) {
        page.texts.push_back({kPageCentre - platform::textAdvance(heading) / 2, y, heading});
        y += kLineHeight;
    }
    y += 40;
    page.lines.push_back({kLeft, y, kRight, y});
    y += 40;
    const auto pair = [&](const QString& left, const QString& right) {
        page.texts.push_back({kLeft, y, left});
        if (!right.isEmpty()) {
            page.texts.push_back({kMiddle, y, right});
        }
        y += kLineHeight;
    };
    pair(QStringLiteral("预交号：%1").arg(deposit.number),
         QStringLiteral("交款时间：%1").arg(paidText(deposit)));
    pair(QStringLiteral("住院号：%1").arg(deposit.inpatientNumber),
         QStringLiteral("姓名：%1").arg(deposit.patientName));
    pair(QStringLiteral("金额：%1").arg(amountText(deposit.amount)),
         QStringLiteral("付款方式：%1").arg(deposit.method));
    pair(QStringLiteral("金额（大写）：%1").arg(common::moneyWords(deposit.amount)), {});
    pair(QStringLiteral("收费员：%1").arg(deposit.cashier), {});
    if (kind == SlipKind::Refund) {
        pair(QStringLiteral("退还时间：%1").arg(timeText(deposit.returnedAt)),
             QStringLiteral("退还方式：%1").arg(deposit.returnMethod));
        pair(QStringLiteral("退还收费员：%1").arg(deposit.returnedBy), {});
        pair(QStringLiteral("退还原因：%1").arg(deposit.returnReason), {});
    }
    if (reprintedAt.isValid()) {
        pair(QStringLiteral("补打 %1").arg(timeText(reprintedAt)), {});
    }
    y += 40;
    page.lines.push_back({kLeft, y, kRight, y});
    y += kLineHeight;
    const QString payer =
        kind == SlipKind::Receipt ? QStringLiteral("交款人签字：") : QStringLiteral("领款人签字：");
    page.texts.push_back({kLeft, y, payer});
    page.texts.push_back({kMiddle, y, QStringLiteral("收费员签字：")});
    const int signatureLine = y + 60;
    page.lines.push_back({kLeft + 300, signatureLine, kMiddle - 100, signatureLine});
    page.lines.push_back({kMiddle + 300, signatureLine, kRight, signatureLine});
    return page;
}

QString slipDocumentName(const store::Deposit& deposit, SlipKind kind) {
    return (kind == SlipKind::Receipt ? QStringLiteral("预交-") : QStringLiteral("预交退还-")) +
           QString::number(deposit.number);
}

}  // namespace deposit
