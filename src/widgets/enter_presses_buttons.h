#pragma once

#include <QObject>

namespace widgets {

// Installed on the application: Enter or Return on a focused push button presses it, as Space
// does, in every window. Qt does so only for the buttons of a dialog that may be its default,
// and a dialog would otherwise press its default button instead of the one the cashier is on.
class EnterPressesButtons final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace widgets
