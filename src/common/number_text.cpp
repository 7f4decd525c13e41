#include "common/number_text.h"

#include <QRegularExpression>
#include <cmath>

#include "common/decimal_rounding.h"

namespace common {

double textToNumber(QStringView text) {
    static const QRegularExpression amountPattern(QStringLiteral(R"(^-?\d*(\.\d*)?$)"));
    if (!amountPattern.match(text).hasMatch()) {
        return 0.0;
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QString numberToText(double value) {
    if (!std::isfinite(value)) {
        return QString::number(value);
    }
    constexpr int fenPlaces = 2;
    RoundedDecimal rounded = roundDecimal(value, fenPlaces);
    if (rounded.isZero() && value != 0.0) {
        rounded = roundDecimal(value, leadingFractionZeros(value) + 2);
    }
    std::string fraction = rounded.fractionDigits;
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    QString text;
    if (rounded.negative && !rounded.isZero()) {
        text += QLatin1Char('-');
    }
    text += QString::fromStdString(rounded.integerDigits);
    if (!fraction.empty()) {
        text += QLatin1Char('.') + QString::fromStdString(fraction);
    }
    return text;
}

}  // namespace common
