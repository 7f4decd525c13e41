#pragma once

#include <vector>

#include "common/office_names.h"
#include "platform/page_painter.h"
#include "shift/day_sheet.h"
#include "shift/shift_report.h"

namespace shift {

// The shift report on A4 portrait pages: the title (marked 未交班 for the open shift), the
// header, the counts and amounts, each payment method's amounts, the drawer's cash, the list of
// events running on as many pages as it needs, and lines to sign for 交班人, 接班人 and 审核
// after it. Every page is numbered, the first headed by the office's names.
std::vector<platform::PageContent> shiftReportPages(const ShiftReport& report,
                                                    const common::OfficeNames& office);

// The day's sheet on A4 portrait pages: one line per shift, the warning of open shifts, the
// day's sums, the totals by payment method with the day's 长短款, and lines to sign for 交款人,
// 收款人 and 审核, as the shift report is signed; headed as the shift report.
std::vector<platform::PageContent> daySheetPages(const DaySheet& sheet,
                                                 const common::OfficeNames& office);

}  // namespace shift
