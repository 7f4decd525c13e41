#include "common/capital_figure.h"

#include <cstdlib>

namespace common {

namespace {
constexpr char16_t kCapitalDigits[] = u"零壹贰叁肆伍陆柒捌玖";
}

QString capitalFigure(int digit) {
    Q_ASSERT(digit >= 0 && digit <= 9);
    return QString(QChar(kCapitalDigits[digit]));
}

QString capitalFigures(long long number) {
    QString figures;
    if (number < 0) {
        figures += QStringLiteral("负");
    }
    const QString digits = QString::number(std::llabs(number));
    for (const QChar digit : digits) {
        figures += capitalFigure(digit.digitValue());
    }
    return figures;
}

}  // namespace common
