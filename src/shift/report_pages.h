#pragma once

#include <vector>

#include "platform/page_painter.h"
#include "shift/day_sheet.h"
#include "shift/shift_report.h"

namespace shift {

// The shift report on A4 portrait pages: the title (marked 未交班 for the open shift), the
// header, the counts and amounts, the list of events running on as many pages as it needs, and
// lines to sign for 交班人, 接班人 and 审核 after it. Every page is numbered.
std::vector<platform::PageContent> shiftReportPages(const ShiftReport& report);

// The day's sheet on A4 portrait pages: one line per cashier and the day's sum, and a line to
// sign for 审核.
std::vector<platform::PageContent> daySheetPages(const DaySheet& sheet);

}  // namespace shift
