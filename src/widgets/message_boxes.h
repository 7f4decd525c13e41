#pragma once

#include <QString>

class QWidget;

namespace widgets {

enum class MessageIcon { None, Information, Warning, Stop };
enum class MessageButtons { Ok, OkCancel };
enum class MessageAnswer { Ok, Cancel };

struct Message {
    QString text;
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    // The caption of the button that says yes, when it is the action itself (作废, 交班) rather
    // than 确定; the other button stays 取消.
    QString action = {};
};

// An error the cashier must read before going on: the stop sign, the title 错误信息：, one button.
Message errorMessage(const QString& text);

// Every modal message box of the program goes through here, so that tests can answer them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(QWidget* parent, const Message& message) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer show(QWidget* parent, const Message& message) override;
};

}  // namespace widgets
