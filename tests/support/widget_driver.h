#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

// Drives controls the way a cashier does: focus, type, leave.
namespace widget_driver {

inline void showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&window);
}

inline void focus(QWidget* control) {
    control->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

// Types text where the focus is: ASCII as key presses, anything else as an input method
// commits it, one character at a time.
inline void typeText(QWidget* control, const QString& text) {
    for (const QChar character : text) {
        if (character.unicode() < 0x80) {
            QTest::keyClick(control, character.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(character));
            QApplication::sendEvent(control, &commit);
        }
    }
}

// Puts the focus into the box, replaces its text by typing, and stays there.
inline void typeInto(QLineEdit* box, const QString& text) {
    focus(box);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    typeText(box, text);
}

// Moves the focus on with the Tab key, which makes the box lose it.
inline void leave(QWidget* control) {
    QTest::keyClick(control, Qt::Key_Tab);
    QApplication::processEvents();
}

inline void typeAndLeave(QLineEdit* box, const QString& text) {
    typeInto(box, text);
    leave(box);
}

}  // namespace widget_driver
