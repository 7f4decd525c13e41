#include "store/settlement.h"

#include <algorithm>
#include <functional>
#include <set>

#include "common/text.h"
#include "store/database.h"
#include "store/save_pause.h"
#include "store/schema.h"
#include "store/shift_tables.h"

namespace store {

namespace {

using storage::RecordWriter;
using storage::TransactionOutcome;

// Settlements take their numbers one after another on every desk.
const QString kSettlementLockKey = QStringLiteral("MZY_settlement");

storage::RecordValues settlementRow(qint64 number, const QString& cashier,
                                    const ShiftFigures& figures, const DrawerBalance& drawer) {
    storage::RecordValues row{
        number, cashier, deskName(), QDateTime(), figures.firstEvent, figures.lastEvent};
    for (const qint64 count : figures.eventCounts) {
        row.append(count);
    }
    for (const common::Money amount : figures.amounts) {
        row.append(QVariant::fromValue(amount));
    }
    for (const common::Money amount :
         {drawer.cashDue, drawer.cashFloat, drawer.expected, drawer.counted, drawer.difference}) {
        row.append(QVariant::fromValue(amount));
    }
    row += {drawer.remark,
            drawer.detail,
            figures.depositCount,
            figures.depositRefundCount,
            QVariant::fromValue(figures.depositsTaken),
            QVariant::fromValue(figures.depositsRefunded)};
    return row;
}

std::optional<DrawerBalance> drawerOf(const std::function<QVariant(QStringView)>& field) {
    const QString detail = field(kCountDetailField).toString();
    if (detail.isEmpty()) {
        return std::nullopt;
    }
    const auto amount = [&](QStringView name) { return field(name).value<common::Money>(); };
    return DrawerBalance{amount(kCashFloatField),
                         amount(kCashDueField),
                         amount(kExpectedCashField),
                         amount(kCountedCashField),
                         amount(kCashDifferenceField),
                         field(kDifferenceRemarkField).toString(),
                         detail};
}

Settlement settlementOf(const storage::RecordValues& values) {
    const storage::TableSchema& table = settlementSchema();
    const auto field = [&](QStringView name) { return values.value(table.indexOf(name)); };
    Settlement settlement{field(kSettlementNumberField).toLongLong(),
                          field(kCashierField).toString(),
                          field(kDeskField).toString(),
                          field(kSettledAtField).toDateTime(),
                          {},
                          field(kCashDueField).value<common::Money>(),
                          drawerOf(field)};
    ShiftFigures& figures = settlement.figures;
    for (std::size_t kind = 0; kind < kJournalKinds.size(); ++kind) {
        figures.eventCounts[kind] = field(eventCountField(kJournalKinds[kind])).toLongLong();
    }
    for (int amount = 0; amount < kJournalAmountCount; ++amount) {
        figures.amounts[amount] = field(journalAmountField(amount)).value<common::Money>();
    }
    figures.depositCount = field(kDepositCountField).toLongLong();
    figures.depositRefundCount = field(kDepositRefundCountField).toLongLong();
    figures.depositsTaken = field(kDepositsTakenField).value<common::Money>();
    figures.depositsRefunded = field(kDepositsRefundedField).value<common::Money>();
    figures.firstEvent = field(kFirstEventField).toDateTime();
    figures.lastEvent = field(kLastEventField).toDateTime();
    return settlement;
}

bool select(Database& database, storage::RecordSelection selection, QList<Settlement>* settlements,
            QString* error) {
    const storage::TableSchema& table = settlementSchema();
    selection.table = &table;
    for (int field = 0; field < table.columns.size(); ++field) {
        selection.openedFields.append(field);
    }
    QString reason;
    if (!database.engine().select(
            selection,
            [&](storage::RecordId, const storage::RecordValues& values) {
                settlements->append(settlementOf(values));
            },
            &reason)) {
        *error = database.unusableMessage(reason);
        return false;
    }
    return true;
}

// After a connection lost while committing: the settlement that now holds exactly the shown rows,
// 0 when none of them is settled; none when that cannot be told, or when they lie in a settlement
// that holds other rows too (the same cashier's other desk settled them meanwhile).
std::optional<qint64> settlementHoldingExactly(Database& database,
                                               const QList<storage::RecordId>& rows) {
    const storage::TableSchema& journal = journalSchema();
    std::set<qint64> numbers;
    bool everyRowRead = true;
    const storage::TransactionResult looked =
        database.engine().transact({}, [&](RecordWriter& writer) {
            for (const storage::RecordId row : rows) {
                const auto values = writer.read(journal, row);
                everyRowRead = everyRowRead && values.has_value();
                if (values) {
                    numbers.insert(
                        values->value(journal.indexOf(kSettlementNumberField)).toLongLong());
                }
            }
            return false;
        });
    if (looked.outcome != TransactionOutcome::Abandoned || !everyRowRead || numbers.size() != 1) {
        return std::nullopt;
    }
    const qint64 number = *numbers.begin();
    if (number == 0) {
        return 0;
    }
    std::optional<Settlement> settlement;
    QString error;
    if (!readSettlement(database, number, &settlement, &error) || !settlement ||
        settlement->figures.totalEvents() != rows.size()) {
        return std::nullopt;
    }
    return number;
}

}  // namespace

SettleResult settleShift(Database& database, const QString& cashier,
                         const QList<JournalEntry>& shown, const DrawerCount& count) {
    const bool othersRows = std::any_of(shown.begin(), shown.end(), [&](const JournalEntry& entry) {
        return !common::textEquals(entry.cashier, cashier) || entry.settlement != 0;
    });
    if (shown.isEmpty() || othersRows) {
        return {shown.isEmpty() ? SettleOutcome::Empty : SettleOutcome::TakenElsewhere, 0, {}};
    }
    const ShiftFigures figures = sumEntries(shown);
    if (const CountProblem problem = checkDrawerCount(count, figures.cashDue());
        problem != CountProblem::None) {
        return {SettleOutcome::BadCount, 0, {}, problem};
    }
    const DrawerBalance drawer = drawerBalance(count, figures.cashDue());
    QList<storage::RecordId> rows;
    for (const JournalEntry& entry : shown) {
        rows.append(entry.id);
    }
    const storage::TableSchema& settlements = settlementSchema();
    const storage::TableSchema& journal = journalSchema();
    SettleResult result{SettleOutcome::Failed, 0, {}};
    const storage::TransactionResult transaction =
        database.engine().transact(kSettlementLockKey, [&](RecordWriter& writer) {
            const std::optional<qint64> highest =
                writer.highest(settlements, settlements.indexOf(kSettlementNumberField));
            if (!highest) {
                return false;
            }
            result.number = *highest + 1;
            const std::optional<qint64> marked = writer.markRecords(
                journal, rows, journal.indexOf(kSettlementNumberField), 0, result.number);
            if (marked && *marked != rows.size()) {
                result.outcome = SettleOutcome::TakenElsewhere;
                return false;
            }
            if (!marked ||
                !writer.insertRecords(
                    {{&settlements, settlementRow(result.number, cashier, figures, drawer),
                      settlements.indexOf(kSettledAtField)}})) {
                return false;
            }
            pauseForTesting(SavePoint::SettlementWritten);
            return true;
        });
    switch (transaction.outcome) {
        case TransactionOutcome::Committed:
            result.outcome = SettleOutcome::Settled;
            return result;
        case TransactionOutcome::Abandoned:
            return result;
        case TransactionOutcome::Unknown:
            if (const std::optional<qint64> holding = settlementHoldingExactly(database, rows)) {
                if (*holding != 0) {
                    return {SettleOutcome::Settled, *holding, {}};
                }
                return {SettleOutcome::Failed, 0, database.writeFailureMessage(transaction.reason)};
            }
            return {SettleOutcome::Uncertain, 0, database.writeFailureMessage(transaction.reason)};
        case TransactionOutcome::Failed:
            break;
    }
    return {SettleOutcome::Failed, 0, database.writeFailureMessage(transaction.reason)};
}

bool readSettlements(Database& database, const SettlementFilter& filter,
                     QList<Settlement>* settlements, QString* error) {
    const storage::TableSchema& table = settlementSchema();
    storage::RecordSelection selection;
    if (!filter.cashier.isEmpty()) {
        selection.equalFields.append({table.indexOf(kCashierField), filter.cashier});
    }
    if (!filter.firstDay.isNull() || !filter.lastDay.isNull()) {
        selection.dateField = table.indexOf(kSettledAtField);
        selection.first =
            QDateTime(filter.firstDay.isNull() ? QDate(1, 1, 1) : filter.firstDay, QTime(0, 0));
        selection.last = QDateTime(filter.lastDay.isNull() ? QDate(9999, 12, 31) : filter.lastDay,
                                   QTime(23, 59, 59));
    }
    return select(database, selection, settlements, error);
}

bool readSettlement(Database& database, qint64 number, std::optional<Settlement>* settlement,
                    QString* error) {
    storage::RecordSelection selection;
    selection.equalFields.append({settlementSchema().indexOf(kSettlementNumberField), number});
    QList<Settlement> found;
    if (!select(database, selection, &found, error)) {
        return false;
    }
    *settlement = found.isEmpty() ? std::nullopt : std::optional(found.first());
    return true;
}

}  // namespace store
