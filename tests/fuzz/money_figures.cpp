// Any amount the money type can hold, from one fen to the largest: its text, its money words and
// its eight capital boxes all say that amount, and a negative amount is its magnitude with a minus.

#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/money_words.h"
#include "common/number_text.h"
#include "fuzz_check.h"
#include "money_agreement.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::int64_t fen = 0;
    std::memcpy(&fen, data, std::min(size, sizeof fen));
    const common::Money amount = common::Money::fromFen(fen);
    fuzz::checkMoneyAgreement(amount);

    if (amount.isNegative()) {
        const auto detail = [&] {
            return QString(QStringLiteral("amount in fen: ") + fuzz::fenText(amount.fen()));
        };
        FUZZ_REQUIRE(common::moneyWords(amount) == u'负' + common::moneyWords(-amount), detail());
        FUZZ_REQUIRE(common::numberToText(amount) == u'-' + common::numberToText(-amount),
                     detail());
    }
    return 0;
}
