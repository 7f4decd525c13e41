#include "printing/capital_boxes.h"

#include <cstdint>

#include "common/capital_figure.h"

namespace printing {

std::array<QString, kCapitalBoxCount> capitalBoxes(common::Money amount) {
    const std::int64_t fen = amount.fen();
    // Amounts are symmetric around zero, so the magnitude always fits.
    std::int64_t remaining = fen < 0 ? -fen : fen;

    std::array<QString, kCapitalBoxCount> boxes;
    for (int box = kCapitalBoxCount - 1; box > 0; --box) {
        boxes[box] = common::capitalFigure(static_cast<int>(remaining % 10));
        remaining /= 10;
    }
    boxes[0] = common::capitalFigures(remaining);
    if (fen < 0) {
        boxes[0].prepend(QStringLiteral("负"));
    }
    return boxes;
}

}  // namespace printing
