#include "store/journal_kind.h"

namespace store {

QString journalKindText(JournalKind kind) {
    switch (kind) {
        case JournalKind::New:
            return QStringLiteral("新开");
        case JournalKind::Correction:
            return QStringLiteral("更正");
        case JournalKind::Void:
            return QStringLiteral("作废");
        case JournalKind::VoidContinued:
            return QStringLiteral("作废（续）");
        case JournalKind::Deposit:
            return QStringLiteral("预交");
        case JournalKind::DepositRefund:
            return QStringLiteral("预交退还");
        case JournalKind::Reprint:
            break;
    }
    return QStringLiteral("补打");
}

std::optional<JournalKind> journalKindFromText(QStringView text) {
    for (const JournalKind kind :
         {JournalKind::New, JournalKind::Correction, JournalKind::Void, JournalKind::Reprint,
          JournalKind::VoidContinued, JournalKind::Deposit, JournalKind::DepositRefund}) {
        if (journalKindText(kind) == text) {
            return kind;
        }
    }
    return std::nullopt;
}

QString eventCountField(JournalKind kind) {
    return journalKindText(kind) + QStringLiteral("笔数");
}

}  // namespace store
