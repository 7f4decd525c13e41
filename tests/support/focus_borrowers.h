#pragma once

#include <gtest/gtest.h>

#include <QMenuBar>
#include <functional>
#include <vector>

#include "support/modal_driver.h"
#include "support/widget_driver.h"
#include "widgets/message_boxes.h"

// Everything that takes the focus from a box for a while without the cashier leaving the box.
// Each really opens, is closed again the way a cashier closes it, and gives the window back.
struct FocusBorrower {
    const char* name;
    std::function<void(QMainWindow& window, QWidget& box)> borrow;
};

inline std::vector<FocusBorrower> focusBorrowers() {
    using namespace widget_driver;
    return {
        {"menu 系统 opened with the mouse",
         [](QMainWindow& window, QWidget&) {
             openMenu(window, QStringLiteral("系统"));
             escapeBackTo(window);
         }},
        {"menu 帮助 opened with the mouse",
         [](QMainWindow& window, QWidget&) {
             openMenu(window, QStringLiteral("帮助"));
             escapeBackTo(window);
         }},
        {"Alt to the menu bar",
         [](QMainWindow& window, QWidget& box) {
             QTest::keyClick(&box, Qt::Key_Alt, Qt::AltModifier);
             EXPECT_EQ(QApplication::focusWidget(), window.menuBar());
             escapeBackTo(window);
         }},
        {"context menu of the box, opened with a right click",
         [](QMainWindow& window, QWidget& box) {
             // Through the window, as the system delivers it, so that Qt makes the context menu.
             QTest::mouseClick(window.windowHandle(), Qt::RightButton, {},
                               box.mapTo(&window, box.rect().center()));
             EXPECT_NE(qobject_cast<QMenu*>(QApplication::activePopupWidget()), nullptr);
             escapeBackTo(window);
         }},
        {"message box",
         [](QMainWindow& window, QWidget&) {
             modal_driver::whenModalOpens(
                 [](QWidget* message) { QTest::keyClick(message, Qt::Key_Escape); });
             widgets::QtMessageBoxes().show(&window, {QStringLiteral("提示"), QString()});
             showActive(window);
         }},
        {"another window",
         [](QMainWindow& window, QWidget&) {
             QWidget other;
             showActive(other);
             EXPECT_EQ(QApplication::activeWindow(), &other);
             other.close();
             showActive(window);
         }},
    };
}
