#include "widgets/focus_leaving.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

namespace widgets {

bool isBoxLeft(const QFocusEvent& focusOut, const QWidget& box) {
    switch (focusOut.reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::MouseFocusReason:
        case Qt::ShortcutFocusReason:
            break;
        default:
            return false;
    }
    // By the time the box hears of it, the focus already sits where it went.
    const QWidget* next = QApplication::focusWidget();
    return next != nullptr && next != &box && next->window() == box.window();
}

}  // namespace widgets
