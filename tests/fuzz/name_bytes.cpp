// The patient's name box holds at most 8 bytes of the two-byte code page. For any text, typed or
// pasted at any place: the limit holds, a character made of a surrogate pair is never cut in two,
// what was already in the box stays, and a cut text is the longest beginning that fits.

#include <QString>
#include <QStringView>
#include <QValidator>
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/text.h"
#include "fuzz_check.h"
#include "widgets/input_validators.h"

namespace {

constexpr int kNameMaxBytes = 8;

const QValidator& nameBoxValidator() {
    static const widgets::CodePageLengthValidator validator(kNameMaxBytes, nullptr);
    return validator;
}

// Bytes of the code page, unit by unit: a surrogate pair is one character of 2 bytes, a lone
// surrogate too.
int bytesOf(QStringView text) {
    int bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        bytes += text[i].unicode() < 0x80 ? 1 : 2;
        i += pair ? 1 : 0;
    }
    return bytes;
}

// Cutting text at index splits a surrogate pair.
bool splitsPair(QStringView text, qsizetype index) {
    return index > 0 && index < text.size() && text[index - 1].isHighSurrogate() &&
           text[index].isLowSurrogate();
}

QString hexUnits(QStringView text) {
    QString hex;
    for (const QChar unit : text) {
        hex += QString::number(unit.unicode(), 16) + u' ';
    }
    return hex;
}

void checkTruncation(const QString& text) {
    const QString kept = common::truncateToCodePageBytes(text, kNameMaxBytes);
    const auto detail = [&] {
        return QString(QStringLiteral("text: ") + hexUnits(text) + QStringLiteral("kept: ") +
                       hexUnits(kept));
    };
    FUZZ_REQUIRE(common::codePageByteLength(text) == bytesOf(text), detail());
    FUZZ_REQUIRE(text.startsWith(kept), detail());
    FUZZ_REQUIRE(bytesOf(kept) <= kNameMaxBytes, detail());
    FUZZ_REQUIRE(!splitsPair(text, kept.size()), detail());
    // The longest: one more character would not fit.
    const qsizetype next = kept.size() + (splitsPair(text, kept.size() + 1) ? 2 : 1);
    FUZZ_REQUIRE(kept == text || bytesOf(QStringView(text).left(next)) > kNameMaxBytes, detail());
}

// The box held `before` (within the limit) and the cashier typed or pasted `typed` at `cursor`.
void checkTyping(const QString& before, qsizetype cursor, const QString& typed) {
    QString input = before;
    input.insert(cursor, typed);
    if (splitsPair(before, cursor) || splitsPair(input, cursor) ||
        splitsPair(input, cursor + typed.size())) {
        return;  // halves of one character on both sides of the cursor: not a text a box holds
    }
    int position = static_cast<int>(cursor + typed.size());
    nameBoxValidator().validate(input, position);

    // What stays of the typed text is a beginning of it, put where the cursor was.
    const qsizetype keptTyped = input.size() - before.size();
    const auto detail = [&] {
        return QString(QStringLiteral("before: ") + hexUnits(before) + QStringLiteral("cursor: ") +
                       QString::number(cursor) + QStringLiteral(" typed: ") + hexUnits(typed) +
                       QStringLiteral("result: ") + hexUnits(input));
    };
    FUZZ_REQUIRE(keptTyped >= 0 && keptTyped <= typed.size(), detail());
    QString expected = before;
    expected.insert(cursor, typed.left(keptTyped));
    FUZZ_REQUIRE(input == expected, detail());
    FUZZ_REQUIRE(position == cursor + keptTyped, detail());
    FUZZ_REQUIRE(bytesOf(input) <= kNameMaxBytes, detail());
    FUZZ_REQUIRE(!splitsPair(typed, keptTyped), detail());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    // The first byte splits the rest (UTF-16 units, surrogates and all) into what the box held
    // and what was typed, and places the cursor.
    const std::uint8_t split = data[0];
    QString units(static_cast<qsizetype>((size - 1) / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data + 1, static_cast<std::size_t>(units.size()) * 2);

    checkTruncation(units);
    const qsizetype beforeLength = std::min<qsizetype>(split & 0x0f, units.size());
    const QString before = common::truncateToCodePageBytes(units.left(beforeLength), kNameMaxBytes);
    const QString typed = units.mid(beforeLength);
    checkTyping(before, std::min<qsizetype>(split >> 4, before.size()), typed);

    // Whatever the box holds and wherever the cursor is, it ends within the limit.
    QString any = units;
    int position = std::min<int>(split, static_cast<int>(units.size()));
    nameBoxValidator().validate(any, position);
    FUZZ_REQUIRE(
        bytesOf(any) <= kNameMaxBytes && position >= 0 && position <= any.size(),
        QStringLiteral("text: ") + hexUnits(units) + QStringLiteral("result: ") + hexUnits(any));
    return 0;
}
