#include "widgets/date_range_shortcuts.h"

#include <QDateEdit>
#include <QPushButton>

#include "widgets/window_controls.h"

namespace widgets {

namespace {

struct Shortcut {
    QString caption;
    QDate first;
    QDate last;
};

QDate lastOfMonth(const QDate& day) {
    return QDate(day.year(), day.month(), day.daysInMonth());
}

}  // namespace

QList<QPushButton*> makeRangeShortcuts(QDateEdit& first, QDateEdit& last, const QDate& today,
                                       const std::function<void()>& chosen, QWidget* parent) {
    const QDate monthStart(today.year(), today.month(), 1);
    const QDate lastMonthStart = monthStart.addMonths(-1);
    const Shortcut shortcuts[] = {
        {QStringLiteral("本月"), monthStart, lastOfMonth(monthStart)},
        {QStringLiteral("上月"), lastMonthStart, lastOfMonth(lastMonthStart)},
        {QStringLiteral("今天"), today, today},
    };
    QList<QPushButton*> buttons;
    for (const Shortcut& shortcut : shortcuts) {
        QPushButton* button = makeNamedButton(shortcut.caption, parent);
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, parent, [&first, &last, shortcut, chosen] {
            first.setDate(shortcut.first);
            last.setDate(shortcut.last);
            chosen();
        });
        buttons.append(button);
    }
    return buttons;
}

}  // namespace widgets
