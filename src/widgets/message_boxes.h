#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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

// A list under a question's text to choose one item of, such as how an amount was paid.
struct MessageChoice {
    QString caption;  // what is chosen: 补收 200.00 元
    QStringList items;
    int chosen = 0;  // the item selected when the box opens, and the one chosen after
    // Above 0: instead of an item, any text of up to this many characters may be typed.
    int typedLength = 0;
    QString text = {};  // after the answer: the chosen item or the typed text, trimmed
};

// An error the cashier must read before going on: the stop sign, the title 错误信息：, one button.
Message errorMessage(const QString& text);

// Every modal message box of the program goes through here, so that tests can answer them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(QWidget* parent, const Message& message) = 0;
    // The message with a list for each choice between its text and its buttons; each choice's
    // chosen item is the one selected when the box is answered.
    virtual MessageAnswer ask(QWidget* parent, const Message& message,
                              QList<MessageChoice>* choices) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer show(QWidget* parent, const Message& message) override;
    MessageAnswer ask(QWidget* parent, const Message& message,
                      QList<MessageChoice>* choices) override;
};

}  // namespace widgets
