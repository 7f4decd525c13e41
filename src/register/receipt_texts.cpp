#include "register/receipt_texts.h"

namespace receipt_register {

namespace {

QString twoDigits(int value) {
    return QString::number(value).rightJustified(2, u'0');
}

}  // namespace

QString dateText(const QDateTime& value) {
    if (!value.isValid()) {
        return {};
    }
    const QDate date = value.date();
    QString text = QString::number(date.year()).rightJustified(4, u'0') + u'-' +
                   twoDigits(date.month()) + u'-' + twoDigits(date.day());
    const QTime time = value.time();
    if (time != QTime(0, 0)) {
        text += u' ' + twoDigits(time.hour()) + u':' + twoDigits(time.minute()) + u':' +
                twoDigits(time.second());
    }
    return text;
}

QString twoDecimalText(common::Money amount) {
    // An amount's range is symmetric, so its magnitude is an amount too.
    const std::int64_t magnitude = amount.isNegative() ? -amount.fen() : amount.fen();
    return (amount.isNegative() ? QStringLiteral("-") : QString()) +
           QString::number(magnitude / 100) + u'.' + twoDigits(static_cast<int>(magnitude % 100));
}

}  // namespace receipt_register
