#include "store/journal.h"

#include <QSysInfo>

#include "store/database.h"
#include "store/schema.h"

namespace store {

namespace {

std::function<void()>& rowWrittenHook() {
    static std::function<void()> hook;
    return hook;
}

QString receiptText(const QVariantList& receipt, QStringView field) {
    return receipt.value(receiptSchema().indexOf(field)).toString();
}

JournalEntry entryOf(storage::RecordId id, const storage::RecordValues& values) {
    const storage::TableSchema& journal = journalSchema();
    const auto field = [&](QStringView name) { return values.value(journal.indexOf(name)); };
    JournalEntry entry;
    entry.id = id;
    entry.time = field(kEventTimeField).toDateTime();
    entry.cashier = field(kCashierField).toString();
    entry.desk = field(kDeskField).toString();
    // Only the program writes the journal; a kind it does not know counts as nothing new.
    entry.kind =
        journalKindFromText(field(kEventKindField).toString()).value_or(JournalKind::Reprint);
    entry.inpatientNumber = field(kInpatientNumberField).toString();
    entry.patientName = field(kPatientNameField).toString();
    for (int amount = 0; amount < kJournalAmountCount; ++amount) {
        entry.amounts[amount] = field(journalAmountField(amount)).value<common::Money>();
    }
    entry.settlement = field(kSettlementNumberField).toLongLong();
    return entry;
}

bool readEntries(Database& database, const QList<std::pair<int, QVariant>>& equalFields,
                 QList<JournalEntry>* entries, QString* error) {
    const storage::TableSchema& journal = journalSchema();
    storage::RecordSelection selection{&journal, {}, equalFields, -1, {}, {}};
    for (int field = 0; field < journal.columns.size(); ++field) {
        selection.openedFields.append(field);
    }
    QList<std::pair<storage::RecordId, storage::RecordValues>> rows;
    QString reason;
    if (!database.engine().select(selection, &rows, &reason)) {
        *error = database.unusableMessage(reason);
        return false;
    }
    for (const auto& [id, values] : rows) {
        entries->append(entryOf(id, values));
    }
    return true;
}

}  // namespace

common::Money journalAmount(const JournalAmounts& amounts, QStringView field) {
    for (int amount = 0; amount < kJournalAmountCount; ++amount) {
        if (journalAmountField(amount) == field) {
            return amounts[amount];
        }
    }
    return {};
}

JournalAmounts receiptAmounts(const QVariantList& receipt) {
    JournalAmounts amounts{};
    for (int amount = 0; amount < kJournalAmountCount; ++amount) {
        amounts[amount] = receipt.value(receiptSchema().indexOf(journalAmountField(amount)))
                              .value<common::Money>();
    }
    return amounts;
}

JournalAmounts amountChange(const JournalAmounts& after, const JournalAmounts& before) {
    JournalAmounts change{};
    for (int amount = 0; amount < kJournalAmountCount; ++amount) {
        change[amount] = after[amount] - before[amount];
    }
    return change;
}

bool appendJournalRow(storage::RecordWriter& writer, JournalKind kind, const QString& cashier,
                      const QVariantList& receipt, const JournalAmounts& change) {
    storage::RecordValues row{QDateTime(),
                              cashier,
                              deskName(),
                              journalKindText(kind),
                              receiptText(receipt, kInpatientNumberField),
                              receiptText(receipt, kPatientNameField)};
    for (const common::Money amount : change) {
        row.append(QVariant::fromValue(amount));
    }
    row.append(qint64(0));
    const storage::TableSchema& journal = journalSchema();
    if (!writer.insertAtDatabaseTime(journal, row, journal.indexOf(kEventTimeField))) {
        return false;
    }
    if (rowWrittenHook()) {
        rowWrittenHook()();
    }
    return true;
}

bool journalNewReceipt(storage::RecordWriter& writer, const QVariantList& receipt) {
    return appendJournalRow(writer, JournalKind::New, receiptText(receipt, kCashierField), receipt,
                            receiptAmounts(receipt));
}

bool journalCorrection(storage::RecordWriter& writer, const QVariantList& before,
                       const QVariantList& after) {
    return appendJournalRow(writer, JournalKind::Correction, receiptText(after, kCashierField),
                            after, amountChange(receiptAmounts(after), receiptAmounts(before)));
}

bool readOpenEntries(Database& database, const QString& cashier, QList<JournalEntry>* entries,
                     QString* error) {
    const storage::TableSchema& journal = journalSchema();
    return readEntries(database,
                       {{journal.indexOf(kSettlementNumberField), qint64(0)},
                        {journal.indexOf(kCashierField), cashier}},
                       entries, error);
}

bool readSettledEntries(Database& database, qint64 settlement, QList<JournalEntry>* entries,
                        QString* error) {
    return readEntries(database, {{journalSchema().indexOf(kSettlementNumberField), settlement}},
                       entries, error);
}

QString deskName() {
    return QSysInfo::machineHostName();
}

void setJournalRowWrittenHook(std::function<void()> hook) {
    rowWrittenHook() = std::move(hook);
}

}  // namespace store
