#pragma once

#include <QString>
#include <QStringList>

#include "common/money.h"
#include "common/office_names.h"
#include "platform/page_painter.h"
#include "receipt/payment_methods.h"

namespace widgets {
class MessageBoxes;
}

namespace platform {

class Clock;
class Printer;

// The outside world as the windows see it. The program wires the real message boxes, printer
// and clock; tests wire scripted ones.
struct Services {
    widgets::MessageBoxes& messageBoxes;
    Printer& printer;
    const Clock& clock;
    // The desk's picture of the blank form, which views of a stored receipt draw it on; none
    // when the desk has none.
    FormPicture deskForm = {};
    // The ways this desk takes and pays amounts, in the order it offers them, 现金 among them.
    QStringList paymentMethods = receipt::defaultPaymentMethods();
    // The float (备用金) this desk's drawer starts each shift with.
    common::Money cashFloat = {};
    // The hospital and department this desk's receipts and reports name.
    common::OfficeNames office = {};
};

}  // namespace platform
