#pragma once

#include <QValidator>

namespace platform {

// An amount box: an optional leading minus, digits and at most two decimals.
QValidator* makeAmountValidator(QObject* parent);

// A box that takes digits only.
QValidator* makeDigitsValidator(QObject* parent);

// Limits a text to a number of bytes of the two-byte Chinese code page (an ASCII character
// counts 1, any other 2). Text beyond the limit, typed or pasted, is cut off at the limit.
class CodePageLengthValidator final : public QValidator {
public:
    CodePageLengthValidator(int maxBytes, QObject* parent);
    State validate(QString& input, int& position) const override;

private:
    int m_maxBytes;
};

}  // namespace platform
