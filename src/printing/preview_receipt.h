#pragma once

#include "platform/page_painter.h"

namespace printing {

// A receipt with ordinary values, laid out as it is printed, for the print setup's preview.
platform::PageContent previewReceipt();

}  // namespace printing
