#include "widgets/enter_presses_buttons.h"

#include <QKeyEvent>
#include <QPushButton>

namespace widgets {

bool EnterPressesButtons::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    const bool enter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                       (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    auto* button = qobject_cast<QPushButton*>(watched);
    if (!enter || button == nullptr || !button->hasFocus()) {
        return false;
    }
    // A held key presses the button once.
    if (!key->isAutoRepeat() && button->isEnabled()) {
        button->click();
    }
    return true;
}

}  // namespace widgets
