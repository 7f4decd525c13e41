#pragma once

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "billing/main_window.h"
#include "support/fixed_clock.h"
#include "support/qt_printers.h"
#include "support/widget_driver.h"

// A billing window on a fixed day, shown, active and prepared for a new receipt.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<billing::MainWindow>(clock);
        widget_driver::showActive(*window);
        window->newReceipt();
    }

    QLineEdit* box(const char16_t* name) const {
        auto* found = window->findChild<QLineEdit*>(QString::fromUtf16(name));
        EXPECT_NE(found, nullptr) << QString::fromUtf16(name).toStdString();
        return found;
    }
    QLabel* label(const char16_t* name) const {
        auto* found = window->findChild<QLabel*>(QString::fromUtf16(name));
        EXPECT_NE(found, nullptr) << QString::fromUtf16(name).toStdString();
        return found;
    }
    QDateEdit* dateBox(const char16_t* name) const {
        return window->findChild<QDateEdit*>(QString::fromUtf16(name));
    }
    QPushButton* button(const char16_t* name) const {
        return window->findChild<QPushButton*>(QString::fromUtf16(name));
    }
    QString statusLine() const { return label(u"标签1")->text(); }

    static const QDate& today() {
        static const QDate day(2026, 3, 1);
        return day;
    }

    FixedClock clock{QDateTime(today(), QTime(10, 30))};
    std::unique_ptr<billing::MainWindow> window;
};
