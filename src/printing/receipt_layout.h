#pragma once

#include <QString>
#include <QVariant>
#include <functional>

#include "common/office_names.h"

namespace platform {
class Printer;
}

namespace printing {

// Reads one field of the stored receipt by name: text fields as QString, the two dates as
// QDateTime, amounts as common::Money.
using FieldReader = std::function<QVariant(const QString& fieldName)>;

// Places the 49 items of one receipt on the page of an open print job, in the order of the
// form, reading each value through readField at the moment it is placed; the department and the
// hospital are the desk's. Then, for the copies alone, the billing window's captions of the
// values the form captions itself.
void placeReceipt(platform::Printer& printer, const FieldReader& readField,
                  const common::OfficeNames& office);

}  // namespace printing
