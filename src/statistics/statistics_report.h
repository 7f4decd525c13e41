#pragma once

#include <QString>

#include "statistics/period_sums.h"

namespace statistics {

// The report of a run as the result box shows it: the count, every category sum, the total and,
// when there are any, the accumulated arrears; lines joined by CR LF.
QString buildReport(const PeriodSums& sums);

}  // namespace statistics
