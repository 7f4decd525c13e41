#include "store/journal.h"

#include <QSysInfo>
#include <algorithm>

#include "receipt/payment_methods.h"
#include "store/database.h"
#include "store/save_pause.h"
#include "store/schema.h"

namespace store {

namespace {

QString receiptText(const QVariantList& receipt, QStringView field) {
    return receipt.value(receiptSchema().indexOf(field)).toString();
}

// Where each of an entry's fields sits in a journal row, found once: a shift reads thousands.
struct JournalColumns {
    int time;
    int cashier;
    int desk;
    int kind;
    int inpatientNumber;
    int patientName;
    std::array<int, kJournalAmountCount> amounts;
    int settlement;
    int supplementMethod;
    int refundMethod;
    int reprintReason;
};

const JournalColumns& journalColumns() {
    static const JournalColumns columns = [] {
        const storage::TableSchema& journal = journalSchema();
        JournalColumns found{journal.indexOf(kEventTimeField),
                             journal.indexOf(kCashierField),
                             journal.indexOf(kDeskField),
                             journal.indexOf(kEventKindField),
                             journal.indexOf(kInpatientNumberField),
                             journal.indexOf(kPatientNameField),
                             {},
                             journal.indexOf(kSettlementNumberField),
                             journal.indexOf(kSupplementMethodField),
                             journal.indexOf(kRefundMethodField),
                             journal.indexOf(kReprintReasonField)};
        for (int amount = 0; amount < kJournalAmountCount; ++amount) {
            found.amounts[amount] = journal.indexOf(journalAmountField(amount));
        }
        return found;
    }();
    return columns;
}

JournalEntry entryOf(storage::RecordId id, const storage::RecordValues& values) {
    const JournalColumns& columns = journalColumns();
    JournalEntry entry;
    entry.id = id;
    entry.time = values[columns.time].toDateTime();
    entry.cashier = values[columns.cashier].toString();
    entry.desk = values[columns.desk].toString();
    // Only the program writes the journal; a kind it does not know counts as nothing new.
    entry.kind =
        journalKindFromText(values[columns.kind].toString()).value_or(JournalKind::Reprint);
    entry.inpatientNumber = values[columns.inpatientNumber].toString();
    entry.patientName = values[columns.patientName].toString();
    for (int amount = 0; amount < kJournalAmountCount; ++amount) {
        entry.amounts[amount] = values[columns.amounts[amount]].value<common::Money>();
    }
    entry.settlement = values[columns.settlement].toLongLong();
    entry.methods = {values[columns.supplementMethod].toString(),
                     values[columns.refundMethod].toString()};
    entry.reprintReason = values[columns.reprintReason].toString();
    return entry;
}

// Every field of the journal rows whose fields hold those values.
storage::RecordSelection entrySelection(const QList<std::pair<int, QVariant>>& equalFields) {
    const storage::TableSchema& journal = journalSchema();
    storage::RecordSelection selection{&journal, {}, equalFields, -1, {}, {}};
    for (int field = 0; field < journal.columns.size(); ++field) {
        selection.openedFields.append(field);
    }
    return selection;
}

storage::RecordSelection openEntriesOf(const QString& cashier) {
    const storage::TableSchema& journal = journalSchema();
    return entrySelection({{journal.indexOf(kSettlementNumberField), qint64(0)},
                           {journal.indexOf(kCashierField), cashier}});
}

storage::RecordSelection numberEntries(const QString& inpatientNumber) {
    return entrySelection({{journalSchema().indexOf(kInpatientNumberField), inpatientNumber}});
}

bool readEntries(Database& database, const storage::RecordSelection& selection,
                 QList<JournalEntry>* entries, QString* error) {
    // A walk that fails half-way has read only some of the rows: none of them is kept.
    QList<JournalEntry> read;
    QString reason;
    if (!database.engine().select(
            selection,
            [&](storage::RecordId id, const storage::RecordValues& values) {
                read.append(entryOf(id, values));
            },
            &reason)) {
        entries->clear();
        *error = database.unusableMessage(reason);
        return false;
    }
    *entries = std::move(read);
    return true;
}

}  // namespace

int journalAmountIndex(QStringView field) {
    for (int amount = 0; amount < kJournalAmountCount; ++amount) {
        if (journalAmountField(amount) == field) {
            return amount;
        }
    }
    return -1;
}

common::Money journalAmount(const JournalAmounts& amounts, QStringView field) {
    const int index = journalAmountIndex(field);
    return index < 0 ? common::Money() : amounts[index];
}

JournalAmounts receiptAmounts(const QVariantList& receipt) {
    // Found once: every save asks.
    static const std::array<int, kJournalAmountCount> fields = [] {
        std::array<int, kJournalAmountCount> found{};
        for (int amount = 0; amount < kJournalAmountCount; ++amount) {
            found[amount] = receiptSchema().indexOf(journalAmountField(amount));
        }
        return found;
    }();
    JournalAmounts amounts{};
    for (int amount = 0; amount < kJournalAmountCount; ++amount) {
        amounts[amount] = receipt.value(fields[amount]).value<common::Money>();
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

EventMethods keptMethods(const JournalAmounts& change, const EventMethods& chosen) {
    const auto kept = [&](QStringView field, const QString& method) {
        if (journalAmount(change, field).isZero()) {
            return QString();
        }
        return method.isEmpty() ? receipt::kCashMethod.toString() : method;
    };
    return {kept(kSupplementField, chosen.supplement), kept(kRefundField, chosen.refund)};
}

storage::NewRecord journalRow(JournalKind kind, const QString& cashier,
                              const QString& inpatientNumber, const QString& patientName,
                              const JournalAmounts& change, const EventMethods& kept,
                              const QString& reprintReason) {
    storage::RecordValues row{QDateTime(),           cashier,         deskName(),
                              journalKindText(kind), inpatientNumber, patientName};
    for (const common::Money amount : change) {
        row.append(QVariant::fromValue(amount));
    }
    row += {qint64(0), kept.supplement, kept.refund, reprintReason};
    const storage::TableSchema& journal = journalSchema();
    return {&journal, row, journal.indexOf(kEventTimeField)};
}

storage::NewRecord journalRecord(JournalKind kind, const QString& cashier,
                                 const QVariantList& receipt, const JournalAmounts& change,
                                 const EventMethods& methods, const QString& reprintReason) {
    return journalRow(kind, cashier, receiptText(receipt, kInpatientNumberField),
                      receiptText(receipt, kPatientNameField), change, keptMethods(change, methods),
                      reprintReason);
}

std::optional<storage::RecordId> insertWithJournalRows(storage::RecordWriter& writer,
                                                       const QList<storage::NewRecord>& records) {
    const std::optional<storage::RecordId> id = writer.insertRecords(records);
    if (id) {
        pauseForTesting(SavePoint::JournalWritten);
    }
    return id;
}

std::optional<storage::RecordId> insertReceiptWithJournalRow(storage::RecordWriter& writer,
                                                             const QVariantList& receipt,
                                                             const EventMethods& methods) {
    return insertWithJournalRows(
        writer, {{&receiptSchema(), receipt},
                 journalRecord(JournalKind::New, receiptText(receipt, kCashierField), receipt,
                               receiptAmounts(receipt), methods)});
}

bool insertHistoryWithJournalRow(storage::RecordWriter& writer, const QVariantList& replaced,
                                 const QVariantList& before, const QVariantList& after,
                                 const EventMethods& methods) {
    return insertWithJournalRows(
               writer, {{&receiptHistorySchema(), replaced},
                        journalRecord(
                            JournalKind::Correction, receiptText(after, kCashierField), after,
                            amountChange(receiptAmounts(after), receiptAmounts(before)), methods)})
        .has_value();
}

bool readOpenEntries(Database& database, const QString& cashier, QList<JournalEntry>* entries,
                     QString* error) {
    return readEntries(database, openEntriesOf(cashier), entries, error);
}

bool readOpenEntries(storage::RecordWriter& writer, const QString& cashier,
                     QList<JournalEntry>* entries) {
    return writer.select(openEntriesOf(cashier),
                         [&](storage::RecordId id, const storage::RecordValues& values) {
                             entries->append(entryOf(id, values));
                         });
}

bool readNumberEntries(storage::RecordWriter& writer, const QString& inpatientNumber,
                       QList<JournalEntry>* entries) {
    return writer.select(numberEntries(inpatientNumber),
                         [&](storage::RecordId id, const storage::RecordValues& values) {
                             entries->append(entryOf(id, values));
                         });
}

bool readNumbersEntries(Database& database, const QStringList& inpatientNumbers,
                        QList<JournalEntry>* entries, QString* error) {
    storage::RecordSelection selection = entrySelection({});
    selection.oneOfField = journalSchema().indexOf(kInpatientNumberField);
    for (const QString& number : inpatientNumbers) {
        selection.oneOfValues.append(number);
    }
    return readEntries(database, selection, entries, error);
}

bool readDayEntries(Database& database, const QDate& day, QList<JournalEntry>* entries,
                    QString* error) {
    storage::RecordSelection selection = entrySelection({});
    selection.dateField = journalSchema().indexOf(kEventTimeField);
    selection.first = QDateTime(day, QTime(0, 0));
    selection.last = QDateTime(day, QTime(23, 59, 59));
    return readEntries(database, selection, entries, error);
}

bool readSettledEntries(Database& database, qint64 settlement, QList<JournalEntry>* entries,
                        QString* error) {
    return readEntries(
        database, entrySelection({{journalSchema().indexOf(kSettlementNumberField), settlement}}),
        entries, error);
}

std::optional<JournalEntry> latestIssue(Database& database, const QString& inpatientNumber) {
    const storage::TableSchema& journal = journalSchema();
    QList<JournalEntry> issues;
    QString error;
    if (!readEntries(
            database,
            entrySelection({{journal.indexOf(kInpatientNumberField), inpatientNumber},
                            {journal.indexOf(kEventKindField), journalKindText(JournalKind::New)}}),
            &issues, &error) ||
        issues.isEmpty()) {
        return std::nullopt;
    }
    return *std::max_element(
        issues.cbegin(), issues.cend(),
        [](const JournalEntry& one, const JournalEntry& other) { return one.id < other.id; });
}

QString deskName() {
    return QSysInfo::machineHostName();
}

}  // namespace store
