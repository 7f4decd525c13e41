#pragma once

#include "common/office_names.h"
#include "platform/page_painter.h"

namespace printing {

// A receipt with ordinary values, laid out as it is printed with the office's names, for the print
// setup's preview.
platform::PageContent previewReceipt(const common::OfficeNames& office);

}  // namespace printing
