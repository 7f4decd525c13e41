#include "register/void_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "support/modal_driver.h"
#include "support/scripted_message_boxes.h"
#include "support/widget_driver.h"

namespace {

// Types reason into the dialog's box and presses 作废, as a cashier does; the text under the box.
QString typeAndVoid(QWidget* dialog, const QString& reason) {
    auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("作废原因"));
    widget_driver::typeInto(box, reason);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("作废")), Qt::LeftButton);
    return dialog->findChild<QLabel*>(QStringLiteral("作废提示"))->text();
}

TEST(VoidDialog, WantsAReasonOfAtMostFiftyCharactersAndAConfirmation) {
    ScriptedMessageBoxes messageBoxes;
    messageBoxes.queueAnswer(widgets::MessageAnswer::Cancel);
    messageBoxes.queueAnswer(widgets::MessageAnswer::Ok);
    std::vector<QString> problems;
    modal_driver::whenModalOpens([&](QWidget* dialog) {
        problems.push_back(typeAndVoid(dialog, QStringLiteral("  ")));
        // The box takes 50 characters of 60; the question is answered Cancel, and the dialog
        // stays for another reason.
        problems.push_back(typeAndVoid(dialog, QString(60, QChar(0x9519))));
        EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("作废原因"))->text(),
                  QString(50, QChar(0x9519)));
        EXPECT_TRUE(dialog->isVisible());
        problems.push_back(typeAndVoid(dialog, QStringLiteral("重复收费")));
    });

    const std::optional<QString> reason = receipt_register::askVoidReason(
        messageBoxes, QStringLiteral("1001"), QStringLiteral("张三"), nullptr);

    EXPECT_EQ(reason, QStringLiteral("重复收费"));
    EXPECT_EQ(problems,
              (std::vector<QString>{QStringLiteral("请输入作废原因。"), QString(), QString()}));
    ASSERT_EQ(messageBoxes.shown().size(), 2u) << "one question for each reason that may be given";
    EXPECT_TRUE(messageBoxes.shown()[1].text.startsWith(
        QStringLiteral("确定作废住院号为 1001（张三）的收据吗？")));
}

TEST(VoidDialog, TellsTheCashierWhyAVoidDidNotHappen) {
    EXPECT_EQ(receipt_register::voidRefusalMessage(
                  {store::VoidOutcome::NotIssuer, QStringLiteral("张三"), {}}),
              QStringLiteral("这张收据的收费员为张三，请重新登录！"));
    EXPECT_EQ(receipt_register::voidRefusalMessage({store::VoidOutcome::Voided, {}, {}}),
              QString());
}

}  // namespace
