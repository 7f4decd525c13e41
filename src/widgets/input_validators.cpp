#include "widgets/input_validators.h"

#include <QLineEdit>

#include "common/text.h"

namespace widgets {

TypedLengthValidator::TypedLengthValidator(const QString& pattern, int maxLength, QLineEdit* box)
    : QRegularExpressionValidator(QRegularExpression(pattern), box),
      m_box(box),
      m_maxLength(maxLength) {}

QValidator::State TypedLengthValidator::validate(QString& input, int& position) const {
    const State state = QRegularExpressionValidator::validate(input, position);
    if (state == Invalid) {
        return Invalid;
    }
    // The box counts as modified only once the cashier changed it: setting its text from the
    // program clears that mark before the new text is validated.
    const bool typedByCashier = m_box->isModified();
    if (typedByCashier && input.size() > m_maxLength && input.size() > m_admittedLength) {
        return Invalid;
    }
    m_admittedLength = input.size();
    return state;
}

QValidator* makeAmountValidator(QLineEdit* box, int maxLength) {
    return new TypedLengthValidator(QStringLiteral(R"(-?\d*(\.\d{0,2})?)"), maxLength, box);
}

QValidator* makeDigitsValidator(QLineEdit* box, int maxLength) {
    return new TypedLengthValidator(QStringLiteral(R"(\d*)"), maxLength, box);
}

CodePageLengthValidator::CodePageLengthValidator(int maxBytes, QObject* parent)
    : QValidator(parent), m_maxBytes(maxBytes) {}

QValidator::State CodePageLengthValidator::validate(QString& input, int& position) const {
    // What was just typed or pasted ends at the cursor, so the excess is taken from there: the
    // text already in the box is never cut. The bytes are counted once, so that a long paste
    // costs no more than its length.
    int bytes = common::codePageByteLength(input);
    int cut = position;
    while (bytes > m_maxBytes && cut > 0) {
        const bool surrogatePair =
            cut >= 2 && input.at(cut - 1).isLowSurrogate() && input.at(cut - 2).isHighSurrogate();
        const int width = surrogatePair ? 2 : 1;
        cut -= width;
        bytes -= common::codePageByteLength(QStringView(input).sliced(cut, width));
    }
    input.remove(cut, position - cut);
    position = cut;
    if (common::codePageByteLength(input) > m_maxBytes) {
        input = common::truncateToCodePageBytes(input, m_maxBytes);
        position = std::min(position, static_cast<int>(input.size()));
    }
    return Acceptable;
}

}  // namespace widgets
