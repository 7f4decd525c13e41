#include "common/number_text.h"

#include <QRegularExpression>

namespace common {

namespace {

constexpr int kFenDigits = 2;

}  // namespace

std::optional<Money> parseAmount(QStringView text) {
    const bool negative = text.startsWith(u'-');
    if (negative) {
        text = text.mid(1);
    }
    const qsizetype point = text.indexOf(u'.');
    const QStringView whole = point < 0 ? text : text.left(point);
    const QStringView fraction = point < 0 ? QStringView() : text.mid(point + 1);
    if (fraction.size() > kFenDigits) {
        return std::nullopt;
    }
    std::int64_t fen = 0;
    qsizetype places = 0;
    for (const QStringView part : {whole, fraction}) {
        for (const QChar character : part) {
            const int digit = character.unicode() - u'0';
            if (digit < 0 || digit > 9 || fen > (Money::kMaxFen - digit) / 10) {
                return std::nullopt;
            }
            fen = fen * 10 + digit;
        }
        places = part.size();
    }
    for (; places < kFenDigits; ++places) {
        if (fen > Money::kMaxFen / 10) {
            return std::nullopt;
        }
        fen *= 10;
    }
    return Money::fromFen(negative ? -fen : fen);
}

Money textToNumber(QStringView text) {
    if (const std::optional<Money> amount = parseAmount(text)) {
        return *amount;
    }
    // A text of an amount's shape that was refused all the same is too large to hold.
    // Anchored whole: "$" alone would also accept a text that ends in a line break.
    static const QRegularExpression amountShape(
        QRegularExpression::anchoredPattern(QStringLiteral("-?[0-9]*(\\.[0-9]{0,2})?")));
    if (!amountShape.match(text).hasMatch()) {
        return Money();
    }
    return Money::fromFen(text.startsWith(u'-') ? -Money::kMaxFen : Money::kMaxFen);
}

QString numberToText(Money amount) {
    const std::int64_t fen = amount.fen();
    const auto magnitude = static_cast<std::uint64_t>(fen < 0 ? -fen : fen);
    QString text = QString::number(magnitude / 100);
    const auto jiao = magnitude / 10 % 10;
    const auto fenDigit = magnitude % 10;
    if (jiao != 0 || fenDigit != 0) {
        text += QLatin1Char('.') + QString::number(jiao);
        if (fenDigit != 0) {
            text += QString::number(fenDigit);
        }
    }
    return fen < 0 ? QLatin1Char('-') + text : text;
}

}  // namespace common
