#include "storage/postgres/field_value.h"

#include <optional>

#include "common/number_text.h"
#include "storage/postgres/connection.h"

namespace storage {

namespace {

constexpr int kLongestWholePart = 15;

// Plain decimal text with at most two decimals, read byte by byte: what numeric(12,2) gives
// for every amount, so that reading a long list spends no time on conversions.
std::optional<common::Money> plainDecimal(QByteArrayView text) {
    qsizetype at = 0;
    const bool negative = !text.isEmpty() && text[0] == '-';
    at += negative ? 1 : 0;
    std::int64_t fen = 0;
    int wholeDigits = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++wholeDigits) {
        fen = fen * 10 + (text[at] - '0');
    }
    if (wholeDigits == 0 || wholeDigits > kLongestWholePart) {
        return std::nullopt;
    }
    int decimals = 0;
    if (at < text.size() && text[at] == '.') {
        for (++at; at < text.size() && decimals < 2 && text[at] >= '0' && text[at] <= '9';
             ++at, ++decimals) {
            fen = fen * 10 + (text[at] - '0');
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    for (; decimals < 2; ++decimals) {
        fen *= 10;
    }
    return common::Money::fromFen(negative ? -fen : fen);
}

}  // namespace

common::Money amountOf(QByteArrayView text) {
    if (const std::optional<common::Money> amount = plainDecimal(text)) {
        return *amount;
    }
    const QString decimal = QString::fromLatin1(text);
    if (const std::optional<common::Money> exact = common::parseAmount(decimal)) {
        return *exact;
    }
    return common::Money::fromStoredReal(decimal.toDouble());
}

QVariant valueOf(const PostgresResult& result, int row, int column, FieldKind kind,
                 common::StoredDateTimeReader& dateTimes) {
    const bool absent = result.isNull(row, column);
    switch (kind) {
        case FieldKind::Text:
            return absent ? QString() : result.text(row, column);
        case FieldKind::DateTime:
            return absent ? QDateTime() : dateTimes.read(result.utf8(row, column));
        case FieldKind::Integer:
            return absent ? qint64(0) : result.text(row, column).toLongLong();
        case FieldKind::Amount:
            break;
    }
    return QVariant::fromValue(absent ? common::Money() : amountOf(result.utf8(row, column)));
}

}  // namespace storage
