#pragma once

#include <QString>

namespace common {

// The hospital and the department whose names a desk's receipts, reports and About window carry;
// a desk sets its own in 491MX.conf (hospital=, department=).
struct OfficeNames {
    QString hospital = QStringLiteral("青石市明泽医院");
    QString department = QStringLiteral("手外科");
    bool operator==(const OfficeNames&) const = default;
};

}  // namespace common
