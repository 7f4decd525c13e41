#pragma once

#include <QDateTime>
#include <QString>

#include "statistics/period_sums.h"

namespace store {
class Database;
}

namespace statistics {

// What one statistics run found; error says why the receipt table could not be read.
struct PeriodRun {
    PeriodSums sums;
    QString error;
};

// Sums every receipt whose 出院日期 is neither before first nor after last, the full date-times
// compared as they are. The database adds them up, exactly to the fen.
PeriodRun sumPeriod(store::Database& database, const QDateTime& first, const QDateTime& last);

}  // namespace statistics
