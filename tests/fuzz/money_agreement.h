#pragma once

#include <QString>
#include <QStringList>

#include "common/money.h"
#include "common/money_words.h"
#include "common/number_text.h"
#include "fuzz_check.h"
#include "money_readers.h"
#include "printing/capital_boxes.h"

namespace fuzz {

inline QString fenText(Fen fen) {
    QString text = fen < 0 ? QStringLiteral("-") : QString();
    const auto magnitude = static_cast<unsigned __int128>(fen < 0 ? -fen : fen);
    return text + QString::number(static_cast<quint64>(magnitude));
}

// Everything the program writes for one amount says that amount: its text reads back as it, and
// its money words and its eight capital boxes read back as its fen.
inline void checkMoneyAgreement(common::Money amount) {
    const Fen fen = amount.fen();
    const auto detail = [&] { return QString(QStringLiteral("amount in fen: ") + fenText(fen)); };

    const QString text = common::numberToText(amount);
    FUZZ_REQUIRE(common::parseAmount(text) == amount, detail() + QStringLiteral(", text ") + text);

    const QString words = common::moneyWords(amount);
    const auto wordsDetail = [&] { return QString(detail() + QStringLiteral(", words ") + words); };
    FUZZ_REQUIRE(readMoneyWords(words) == fen, wordsDetail());
    const auto magnitude = static_cast<std::uint64_t>(fen < 0 ? -fen : fen);
    FUZZ_REQUIRE(words.count(u'零') == (fen == 0 ? 1 : zerosRequired(magnitude)), wordsDetail());

    const auto boxes = printing::capitalBoxes(amount);
    FUZZ_REQUIRE(
        readCapitalBoxes(boxes) == fen,
        detail() + QStringLiteral(", boxes ") + QStringList(boxes.begin(), boxes.end()).join(u'|'));
}

}  // namespace fuzz
