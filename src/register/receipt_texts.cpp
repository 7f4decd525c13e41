#include "register/receipt_texts.h"

#include <QStringList>
#include <charconv>

#include "common/money_text.h"

namespace receipt_register {

namespace {

void appendNumber(std::string& text, std::int64_t number, int leastDigits) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    if (const auto written = static_cast<int>(end - digits); written < leastDigits) {
        text.append(static_cast<std::size_t>(leastDigits - written), '0');
    }
    text.append(digits, end);
}

// 补收微信, or 补收现金 100.00、银行卡 50.00 for several ways.
QString partsText(QStringView amount, const QList<store::MethodPart>& parts) {
    if (parts.size() == 1) {
        return amount + parts.first().method;
    }
    QStringList each;
    for (const store::MethodPart& part : parts) {
        each.append(part.method + u' ' + common::moneyText(part.amount));
    }
    return amount + each.join(QStringLiteral("、"));
}

}  // namespace

QString paymentText(const store::ReceiptPayment& payment) {
    QStringList methods;
    for (const QList<store::MethodPart>* parts : {&payment.supplement, &payment.refund}) {
        for (const store::MethodPart& part : *parts) {
            if (!methods.contains(part.method)) {
                methods.append(part.method);
            }
        }
    }
    const bool oneWayEach = payment.supplement.size() <= 1 && payment.refund.size() <= 1;
    if (methods.size() <= 1 && oneWayEach) {
        return methods.value(0);
    }
    QStringList amounts;
    if (!payment.supplement.isEmpty()) {
        amounts.append(partsText(u"补收", payment.supplement));
    }
    if (!payment.refund.isEmpty()) {
        amounts.append(partsText(u"退款", payment.refund));
    }
    return amounts.join(QStringLiteral("；"));
}

QString dateText(const QDateTime& value) {
    std::string text;
    appendDateText(text, value);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void appendDateText(std::string& text, const QDateTime& value) {
    if (!value.isValid()) {
        return;
    }
    int year = 0;
    int month = 0;
    int day = 0;
    value.date().getDate(&year, &month, &day);
    appendNumber(text, year, 4);
    text.push_back('-');
    appendNumber(text, month, 2);
    text.push_back('-');
    appendNumber(text, day, 2);
    const QTime time = value.time();
    if (time != QTime(0, 0)) {
        text.push_back(' ');
        appendNumber(text, time.hour(), 2);
        text.push_back(':');
        appendNumber(text, time.minute(), 2);
        text.push_back(':');
        appendNumber(text, time.second(), 2);
    }
}

}  // namespace receipt_register
