#pragma once

#include <QRect>
#include <QString>

class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace widgets {

// Controls of the designed forms: each gets its object name, its client-area geometry and the
// forms' font (buttons keep the system's font).

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, QRect geometry);

enum class RuleShape { Horizontal, Vertical, Outline };
QFrame* makeRule(QWidget* parent, const QString& name, QRect geometry, RuleShape shape);

QLineEdit* makeEditBox(QWidget* parent, const QString& name, QRect geometry);

// A date box that holds dates only, is one Tab stop, and reports a typed change once the
// typing is done.
QDateEdit* makeDateBox(QWidget* parent, const QString& name, QRect geometry);

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        QRect geometry);

}  // namespace widgets
