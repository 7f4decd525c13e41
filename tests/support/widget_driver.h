#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
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

// Opens a menu of the menu bar with a click on its title, and returns it.
inline QMenu* openMenu(QMainWindow& window, const QString& title) {
    QMenuBar* bar = window.menuBar();
    for (QAction* menu : bar->actions()) {
        if (menu->text() == title) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu).center());
            EXPECT_EQ(QApplication::activePopupWidget(), menu->menu()) << title.toStdString();
            return menu->menu();
        }
    }
    ADD_FAILURE() << "no menu " << title.toStdString();
    return nullptr;
}

// Chooses an item of a menu of the menu bar with the mouse.
inline void chooseMenuItem(QMainWindow& window, const QString& title, const QString& item) {
    QMenu* menu = openMenu(window, title);
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) {
        if (action->text() == item) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            showActive(window);
            return;
        }
    }
    ADD_FAILURE() << "no item " << item.toStdString();
}

// Escape until no menu, popup or menu-bar navigation is left, as a cashier backs out of them;
// the window is active again afterwards.
inline void escapeBackTo(QWidget& window) {
    for (int presses = 0; presses < 3; ++presses) {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            QTest::keyClick(popup, Qt::Key_Escape);
            continue;
        }
        showActive(window);
        auto* bar = qobject_cast<QMenuBar*>(QApplication::focusWidget());
        if (bar == nullptr) {
            return;
        }
        QTest::keyClick(bar, Qt::Key_Escape);
    }
    ADD_FAILURE() << "a menu stayed open";
}

}  // namespace widget_driver
