#pragma once

#include "platform/page_painter.h"
#include "printing/receipt_layout.h"

namespace printing {

// The page of one receipt as it is printed, every value read through readField, for a preview;
// withCaptions adds the captions a copy without the form's picture carries.
platform::PageContent receiptPage(const FieldReader& readField, const common::OfficeNames& office,
                                  bool withCaptions);

}  // namespace printing
