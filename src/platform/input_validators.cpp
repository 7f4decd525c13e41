#include "platform/input_validators.h"

#include <QRegularExpressionValidator>

#include "common/text.h"

namespace platform {

QValidator* makeAmountValidator(QObject* parent) {
    return new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral(R"(-?\d*(\.\d{0,2})?)")), parent);
}

QValidator* makeDigitsValidator(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral(R"(\d*)")), parent);
}

CodePageLengthValidator::CodePageLengthValidator(int maxBytes, QObject* parent)
    : QValidator(parent), m_maxBytes(maxBytes) {}

QValidator::State CodePageLengthValidator::validate(QString& input, int& position) const {
    // What was just typed or pasted ends at the cursor, so the excess is taken from there: the
    // text already in the box is never cut.
    while (common::codePageByteLength(input) > m_maxBytes && position > 0) {
        const bool surrogatePair = position >= 2 && input.at(position - 1).isLowSurrogate() &&
                                   input.at(position - 2).isHighSurrogate();
        const int width = surrogatePair ? 2 : 1;
        position -= width;
        input.remove(position, width);
    }
    if (common::codePageByteLength(input) > m_maxBytes) {
        input = common::truncateToCodePageBytes(input, m_maxBytes);
        position = std::min(position, static_cast<int>(input.size()));
    }
    return Acceptable;
}

}  // namespace platform
