#pragma once

#include <QDateEdit>

namespace widgets {

// A date box that is one stop on the form's Tab walk: Tab and Shift+Tab leave it at once, while
// the arrow keys and the mouse still reach its year, month and day. Enter or Return that leaves
// the date as it was reports no change.
class DateBox final : public QDateEdit {
    Q_OBJECT

public:
    explicit DateBox(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace widgets
