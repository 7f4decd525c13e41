// The text of an amount box, as the cashier may type or paste it or a stored record may hold it:
// the box's validator and the reader agree on what an amount is, the reader takes its value
// digit for digit, and whatever it reads is written back (as text, in words, in the capital
// boxes) as the same amount.

#include <QApplication>
#include <QLineEdit>
#include <QValidator>
#include <algorithm>
#include <cstdint>
#include <optional>

#include "common/number_text.h"
#include "fuzz_check.h"
#include "money_agreement.h"
#include "widgets/input_validators.h"

namespace {

constexpr fuzz::Fen kBeyondAnyAmount = fuzz::Fen{1} << 100;

// The amount as a plain reading of its characters: an optional minus, digits, a point and at
// most two decimals; empty, "-", "." and "-." are 0. Nothing for any other shape.
std::optional<fuzz::Fen> readDecimalAmount(QStringView text) {
    const bool negative = text.startsWith(u'-');
    if (negative) {
        text = text.mid(1);
    }
    fuzz::Fen fen = 0;
    int decimals = -1;  // none until the point
    for (const QChar character : text) {
        if (character == u'.' && decimals < 0) {
            decimals = 0;
        } else if (character >= u'0' && character <= u'9' && decimals < 2) {
            // Far beyond any amount, the value stays where it is.
            fen = std::min(fen * 10 + (character.unicode() - u'0'), kBeyondAnyAmount);
            decimals += decimals >= 0 ? 1 : 0;
        } else {
            return std::nullopt;
        }
    }
    for (int place = decimals < 0 ? 0 : decimals; place < 2; ++place) {
        fen *= 10;
    }
    return negative ? -fen : fen;
}

QLineEdit* amountBox() {
    static int argc = 1;
    static char name[] = "fuzz_amount_text";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    static QLineEdit box;
    // The typing limit of a fee box; a text the program sets is admitted whatever its length.
    static constexpr int kMaxLength = 8;
    box.setValidator(widgets::makeAmountValidator(&box, kMaxLength));
    return &box;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QLineEdit* const box = amountBox();
    QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto detail = [&] { return QString(QStringLiteral("text: ") + text); };

    const std::optional<common::Money> amount = common::parseAmount(text);
    const std::optional<fuzz::Fen> plain = readDecimalAmount(text);
    const common::Money largest = common::Money::fromFen(
        text.startsWith(u'-') ? -common::Money::kMaxFen : common::Money::kMaxFen);
    FUZZ_REQUIRE(common::textToNumber(text) == amount.value_or(plain ? largest : common::Money()),
                 detail());

    const bool fits =
        plain && *plain <= common::Money::kMaxFen && *plain >= -common::Money::kMaxFen;
    FUZZ_REQUIRE(amount.has_value() == fits, detail());
    FUZZ_REQUIRE(!amount || amount->fen() == *plain, detail());

    // A text the program puts into the box (a stored amount) is admitted whole exactly when it is
    // an amount.
    int position = static_cast<int>(text.size());
    const bool admitted = box->validator()->validate(text, position) == QValidator::Acceptable;
    FUZZ_REQUIRE(admitted == plain.has_value(), detail());

    if (amount) {
        fuzz::checkMoneyAgreement(*amount);
    }
    return 0;
}
