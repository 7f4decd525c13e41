#pragma once

class QDateEdit;

namespace widgets {

// After the user changed one box of a range of dates, first to last: true when the range holds
// (first not after last). Otherwise the changed box takes the other's date, as a correction of
// the program's that reports no change of its own, and false.
bool keepDateRange(QDateEdit& changed, const QDateEdit& other, const QDateEdit& first,
                   const QDateEdit& last);

}  // namespace widgets
