#include "widgets/form_style.h"

#include <QWidget>

namespace widgets {

namespace {
const QString kFormTypeface = QStringLiteral("宋体");
}

void installFormTypeface() {
    QFont::insertSubstitutions(
        kFormTypeface, {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
}

QFont formFont(int pixelHeight, QFont::Weight weight) {
    QFont font(kFormTypeface);
    font.setPixelSize(pixelHeight);
    font.setWeight(weight);
    return font;
}

QSize clientSizeForOuterSize(QSize outer) {
    return {outer.width() - kFrameWidth, outer.height() - kFrameHeight};
}

void placeWindow(QWidget& window, QSize clientSize) {
    window.setFixedSize(clientSize);
    window.move(kWindowPosition);
}

void placeControl(QWidget& control, const QString& name, QRect geometry) {
    control.setObjectName(name);
    control.setGeometry(geometry);
}

}  // namespace widgets
