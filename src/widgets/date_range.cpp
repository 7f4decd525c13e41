#include "widgets/date_range.h"

#include <QDateEdit>
#include <QSignalBlocker>

namespace widgets {

bool keepDateRange(QDateEdit& changed, const QDateEdit& other, const QDateEdit& first,
                   const QDateEdit& last) {
    if (!(first.dateTime() > last.dateTime())) {
        return true;
    }
    const QSignalBlocker blocker(changed);
    changed.setDateTime(other.dateTime());
    return false;
}

}  // namespace widgets
