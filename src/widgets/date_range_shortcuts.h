#pragma once

#include <QDate>
#include <QList>
#include <functional>

class QDateEdit;
class QPushButton;
class QWidget;

namespace widgets {

// The buttons 本月, 上月 and 今天 beside a range of dates: each puts its range into the two boxes
// (本月 and 上月 from the first to the last day of the month) and then runs chosen, the window's
// search.
QList<QPushButton*> makeRangeShortcuts(QDateEdit& first, QDateEdit& last, const QDate& today,
                                       const std::function<void()>& chosen, QWidget* parent);

}  // namespace widgets
