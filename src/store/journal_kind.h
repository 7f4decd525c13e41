#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace store {

// What happened to a receipt: issued, corrected, voided or printed again. A void that takes
// back amounts paid in several ways writes one further row per way, VoidContinued, which is part
// of the same void and counts as no event of its own. Deposit and DepositRefund: a deposit taken
// during the stay, and one paid back; a shift counts them apart from the receipts' events.
enum class JournalKind { New, Correction, Void, Reprint, VoidContinued, Deposit, DepositRefund };

// The kinds a shift counts, each an event.
inline constexpr std::array<JournalKind, 4> kJournalKinds{JournalKind::New, JournalKind::Correction,
                                                          JournalKind::Void, JournalKind::Reprint};

// The kind as the journal stores it and the cashier reads it: 新开, 更正, 作废, 补打, 作废（续）,
// 预交, 预交退还.
QString journalKindText(JournalKind kind);
// None for a text that names no kind.
std::optional<JournalKind> journalKindFromText(QStringView text);
// The settlement's field that counts the events of the kind: 新开笔数...
QString eventCountField(JournalKind kind);

}  // namespace store
