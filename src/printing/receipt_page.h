#pragma once

#include "platform/page_painter.h"
#include "printing/receipt_layout.h"

namespace printing {

// The page of one receipt as it is printed, every value read through readField, for a preview.
platform::PageContent receiptPage(const FieldReader& readField, const common::OfficeNames& office);

}  // namespace printing
