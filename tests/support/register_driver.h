#pragma once

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "support/modal_driver.h"
#include "support/widget_driver.h"

// Drives the receipt register as a cashier does, from the main window's menu.
namespace register_driver {

// A shown button found as a screen reader finds it, by its caption.
inline QPushButton* button(QWidget* window, const QString& caption) {
    for (QPushButton* candidate : window->findChildren<QPushButton*>()) {
        if (candidate->accessibleName() == caption && candidate->isVisible()) {
            return candidate;
        }
    }
    ADD_FAILURE() << "no button " << caption.toStdString();
    return nullptr;
}

// Types the number into 住院号 and presses Enter: the receipts it begins are listed, the first
// one chosen.
inline void find(QWidget* window, const QString& number) {
    for (QLineEdit* candidate : window->findChildren<QLineEdit*>()) {
        if (candidate->accessibleName() == QStringLiteral("住院号")) {
            widget_driver::typeInto(candidate, number);
            QTest::keyClick(candidate, Qt::Key_Return);
            return;
        }
    }
    ADD_FAILURE() << "no box 住院号";
}

// Opens 系统 → 查询, finds the receipts of the number, and hands the window over; closes it after.
inline void inRegister(QMainWindow& mainWindow, const QString& number,
                       const std::function<void(QWidget*)>& act) {
    modal_driver::whenModalOpens([number, act](QWidget* window) {
        find(window, number);
        act(window);
        window->close();
    });
    widget_driver::chooseMenuItem(mainWindow, QStringLiteral("系统"), QStringLiteral("查询"));
}

// Opens the chosen receipt's view with 查看 and hands it over; act must close it.
inline void inReceiptView(QWidget* registerWindow, const std::function<void(QWidget*)>& act) {
    modal_driver::whenModalOpens(act);
    QTest::mouseClick(button(registerWindow, QStringLiteral("查看")), Qt::LeftButton);
}

}  // namespace register_driver
