#include "widgets/message_boxes.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace widgets {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

Message errorMessage(const QString& text) {
    return {text, QStringLiteral("错误信息："), MessageButtons::Ok, MessageIcon::Stop};
}

MessageAnswer QtMessageBoxes::show(QWidget* parent, const Message& message) {
    const QMessageBox::StandardButtons buttons = message.buttons == MessageButtons::OkCancel
                                                     ? QMessageBox::Ok | QMessageBox::Cancel
                                                     : QMessageBox::Ok;
    QMessageBox box(toQtIcon(message.icon), message.title, message.text, buttons, parent);
    if (!message.action.isEmpty()) {
        box.button(QMessageBox::Ok)->setText(message.action);
    }
    return box.exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

}  // namespace widgets
