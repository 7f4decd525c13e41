#include "widgets/enter_presses_buttons.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "support/widget_driver.h"

namespace {

// A window with a box, a default button and another button, as the register and the billing
// window have them.
struct Window {
    explicit Window(std::unique_ptr<QWidget> top) : window(std::move(top)) {
        auto* layout = new QHBoxLayout(window.get());
        box = new QLineEdit;
        search = new QPushButton(QStringLiteral("查找"));
        other = new QPushButton(QStringLiteral("补打"));
        layout->addWidget(box);
        layout->addWidget(search);
        layout->addWidget(other);
        search->setDefault(true);
        other->setAutoDefault(false);
        widget_driver::showActive(*window);
    }
    std::unique_ptr<QWidget> window;
    QLineEdit* box = nullptr;
    QPushButton* search = nullptr;
    QPushButton* other = nullptr;
};

TEST(EnterPressesButtons, TheFocusedButtonInADialogAndInAPlainWindowAndNoOther) {
    widgets::EnterPressesButtons filter;
    qApp->installEventFilter(&filter);
    for (const bool dialog : {true, false}) {
        SCOPED_TRACE(dialog ? "dialog" : "plain window");
        Window window(dialog ? std::make_unique<QDialog>() : std::make_unique<QWidget>());
        QSignalSpy searched(window.search, &QPushButton::clicked);
        QSignalSpy other(window.other, &QPushButton::clicked);
        widget_driver::focus(window.other);
        QTest::keyClick(window.other, Qt::Key_Return);
        QTest::keyClick(window.other, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(other.count(), 2);
        EXPECT_EQ(searched.count(), 0);
        window.other->setEnabled(false);
        widget_driver::focus(window.search);
        QTest::keyClick(window.search, Qt::Key_Return);
        EXPECT_EQ(searched.count(), 1);
        EXPECT_EQ(other.count(), 2);
    }
    qApp->removeEventFilter(&filter);
}

}  // namespace
