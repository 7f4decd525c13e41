#include "widgets/controls.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "widgets/date_box.h"
#include "widgets/form_style.h"

namespace widgets {

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, QRect geometry) {
    auto* label = new QLabel(caption, parent);
    placeControl(*label, name, geometry);
    label->setFont(formFont());
    return label;
}

QFrame* makeRule(QWidget* parent, const QString& name, QRect geometry, RuleShape shape) {
    auto* rule = new QFrame(parent);
    placeControl(*rule, name, geometry);
    switch (shape) {
        case RuleShape::Horizontal:
            rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
            break;
        case RuleShape::Vertical:
            rule->setFrameStyle(QFrame::VLine | QFrame::Sunken);
            break;
        case RuleShape::Outline:
            rule->setFrameStyle(QFrame::Box | QFrame::Plain);
            break;
    }
    return rule;
}

QLineEdit* makeEditBox(QWidget* parent, const QString& name, QRect geometry) {
    auto* box = new QLineEdit(parent);
    placeControl(*box, name, geometry);
    box->setFont(formFont());
    box->setTextMargins(0, 0, 0, 0);
    return box;
}

QDateEdit* makeDateBox(QWidget* parent, const QString& name, QRect geometry) {
    auto* box = new DateBox(parent);
    placeControl(*box, name, geometry);
    box->setFont(formFont());
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    box->setCalendarPopup(true);
    box->setKeyboardTracking(false);
    return box;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        QRect geometry) {
    auto* button = new QPushButton(caption, parent);
    placeControl(*button, name, geometry);
    return button;
}

}  // namespace widgets
