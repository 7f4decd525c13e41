#pragma once

#include <QDateTime>
#include <QString>

#include "platform/page_painter.h"
#include "store/deposit_ledger.h"

namespace deposit {

// The paper a deposit gets: its receipt when it is taken, the slip of its refund when it is paid
// back. Both on plain paper, in the upper half of an A4 sheet.
enum class SlipKind { Receipt, Refund };

// "住院预交金收据" / "住院预交金退还单".
QString slipTitle(SlipKind kind);

// The slip's page: the hospital, the title, 预交号, 住院号, 姓名, the amount in figures and in
// capitals, the method, the cashier, the time, and lines to sign on; a refund's slip adds the
// refund's time, cashier, method and reason. A slip printed again says 补打 with reprintedAt.
platform::PageContent slipPage(const store::Deposit& deposit, SlipKind kind,
                               const QString& hospital, const QDateTime& reprintedAt = {});

// The name of the slip's print job and of its PDF copy: 预交-12, 预交退还-12.
QString slipDocumentName(const store::Deposit& deposit, SlipKind kind);

}  // namespace deposit
