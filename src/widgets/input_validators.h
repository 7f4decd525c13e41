#pragma once

#include <QRegularExpressionValidator>
#include <QValidator>

class QLineEdit;

namespace widgets {

// Admits the texts of a box that match a pattern. What the cashier types or pastes may not take
// the text beyond maxLength characters: a paste that would is refused whole, never cut. A text
// the program put into the box (a stored value) is shown whole however long it is, and the
// cashier may still shorten it.
class TypedLengthValidator final : public QRegularExpressionValidator {
public:
    TypedLengthValidator(const QString& pattern, int maxLength, QLineEdit* box);
    State validate(QString& input, int& position) const override;

private:
    const QLineEdit* m_box;
    int m_maxLength;
    // The length of the box's text as last admitted, so that shortening a long text is allowed.
    mutable qsizetype m_admittedLength = 0;
};

// An amount box: an optional leading minus, digits and at most two decimals.
QValidator* makeAmountValidator(QLineEdit* box, int maxLength);

// A box that takes digits only.
QValidator* makeDigitsValidator(QLineEdit* box, int maxLength);

// Limits a text to a number of bytes of the two-byte Chinese code page (an ASCII character
// counts 1, any other 2). Text beyond the limit, typed or pasted, is cut off at the limit.
class CodePageLengthValidator final : public QValidator {
public:
    CodePageLengthValidator(int maxBytes, QObject* parent);
    State validate(QString& input, int& position) const override;

private:
    int m_maxBytes;
};

}  // namespace widgets
