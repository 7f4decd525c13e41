#include "widgets/date_box.h"

#include <QKeyEvent>
#include <QSignalBlocker>

namespace widgets {

DateBox::DateBox(QWidget* parent) : QDateEdit(parent) {}

bool DateBox::event(QEvent* event) {
    // A date box walks its sections on Tab; a cashier going down the form wants the next box.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plainTab = (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
                              !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (plainTab) {
            const bool forward =
                key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            QWidget::focusNextPrevChild(forward);
            return true;
        }
    }
    return QDateEdit::event(event);
}

void DateBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDateEdit::keyPressEvent(event);
        return;
    }
    // The spin box reports its value on Enter even when nothing changed, which would run the
    // date check again for a date the cashier only confirmed.
    const QDateTime before = dateTime();
    {
        const QSignalBlocker blocker(this);
        QDateEdit::keyPressEvent(event);
    }
    if (dateTime() != before) {
        emit dateChanged(date());
        emit dateTimeChanged(dateTime());
    }
    emit editingFinished();
}

}  // namespace widgets
