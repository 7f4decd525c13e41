#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include "app/chinese_texts.h"
#include "support/modal_driver.h"
#include "widgets/message_boxes.h"

namespace {

// The captions of a message box's buttons, as the cashier reads them.
QStringList buttonCaptions(const widgets::Message& message) {
    QStringList captions;
    modal_driver::whenModalOpens([&](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons()) {
            captions.append(button->text());
        }
        captions.sort();
        box->reject();
    });
    widgets::QtMessageBoxes().show(nullptr, message);
    return captions;
}

TEST(ChineseTexts, QtsOwnButtonsAndCalendarSpeakChineseAndQuestionsNameTheirAction) {
    app::installChineseTexts(*qApp);
    widgets::Message question{QStringLiteral("请放好空白票据！"), QStringLiteral("打印"),
                              widgets::MessageButtons::OkCancel, widgets::MessageIcon::Warning};
    EXPECT_EQ(buttonCaptions(question),
              (QStringList{QStringLiteral("取消"), QStringLiteral("确定")}));
    question.action = QStringLiteral("作废");
    EXPECT_EQ(buttonCaptions(question),
              (QStringList{QStringLiteral("作废"), QStringLiteral("取消")}));
    EXPECT_EQ(QLocale().monthName(11), QStringLiteral("十一月"));
    EXPECT_EQ(QLocale().dayName(1, QLocale::ShortFormat), QStringLiteral("周一"));
}

}  // namespace
