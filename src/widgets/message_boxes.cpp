#include "widgets/message_boxes.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

namespace widgets {

namespace {

QStyle::StandardPixmap iconPixmap(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QStyle::SP_MessageBoxInformation;
        case MessageIcon::Warning:
            return QStyle::SP_MessageBoxWarning;
        case MessageIcon::Stop:
            return QStyle::SP_MessageBoxCritical;
        case MessageIcon::None:
            break;
    }
    return QStyle::SP_CustomBase;
}

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

// A message box with a list for each choice under its text: the icon, the text and the buttons
// of the standard box, laid out as it lays them out, and OK the default button, so that Enter
// answers it with the choices as they were offered.
MessageAnswer QtMessageBoxes::ask(QWidget* parent, const Message& message,
                                  QList<MessageChoice>* choices) {
    QDialog box(parent);
    box.setWindowTitle(message.title);
    auto* icon = new QLabel(&box);
    if (message.icon != MessageIcon::None) {
        const int size = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
        icon->setPixmap(box.style()->standardIcon(iconPixmap(message.icon)).pixmap(size, size));
    }
    auto* text = new QLabel(message.text, &box);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* lists = new QFormLayout;
    QList<QComboBox*> boxes;
    for (const MessageChoice& choice : std::as_const(*choices)) {
        auto* list = new QComboBox(&box);
        list->addItems(choice.items);
        list->setCurrentIndex(choice.chosen);
        if (choice.typedLength > 0) {
            list->setEditable(true);
            list->setInsertPolicy(QComboBox::NoInsert);
            list->lineEdit()->setMaxLength(choice.typedLength);
        }
        list->setObjectName(choice.caption);
        list->setAccessibleName(choice.caption);
        lists->addRow(choice.caption + QStringLiteral("："), list);
        boxes.append(list);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setDefault(true);

    auto* grid = new QGridLayout(&box);
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(text, 0, 1);
    grid->addLayout(lists, 1, 1);
    grid->addWidget(buttons, 2, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    ok->setFocus();
    if (box.exec() != QDialog::Accepted) {
        return MessageAnswer::Cancel;
    }
    for (qsizetype at = 0; at < boxes.size(); ++at) {
        (*choices)[at].chosen = boxes[at]->currentIndex();
        (*choices)[at].text = boxes[at]->currentText().trimmed();
    }
    return MessageAnswer::Ok;
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
