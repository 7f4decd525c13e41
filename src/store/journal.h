#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <array>
#include <optional>

#include "common/money.h"
#include "storage/storage_engine.h"
#include "store/journal_kind.h"
#include "store/shift_tables.h"

namespace store {

class Database;

// The journal: one row for every event that changes money or paper, written in the event's own
// transaction, only ever appended to; a settlement marks the rows it took and nothing else
// changes them. A receipt stored before the journal existed has no row.

// The amounts of a row, in the order of journalAmountField.
using JournalAmounts = std::array<common::Money, kJournalAmountCount>;

// The position of the named amount (合计, 补收...) among a row's amounts; -1 for none of them.
int journalAmountIndex(QStringView field);
// The amount of the named field; 0 for a field that is none of them.
common::Money journalAmount(const JournalAmounts& amounts, QStringView field);
// A receipt record's amounts (its 30 fields) in journal order.
JournalAmounts receiptAmounts(const QVariantList& receipt);
// Each amount of after less the same amount of before.
JournalAmounts amountChange(const JournalAmounts& after, const JournalAmounts& before);

// How the amounts of an event that changed hands were paid: the method of its 补收 and of its
// 退款 (现金, 银行卡...); empty for an amount the event did not change.
struct EventMethods {
    QString supplement;
    QString refund;
    bool operator==(const EventMethods&) const = default;
};

// The methods a row keeps with its change: the chosen method of each amount it changes, 现金
// where none was chosen, and none for an amount it leaves as it was.
EventMethods keptMethods(const JournalAmounts& change, const EventMethods& chosen);

// One row as the journal keeps it.
struct JournalEntry {
    storage::RecordId id = 0;
    QDateTime time;
    QString cashier;
    QString desk;
    JournalKind kind = JournalKind::New;
    QString inpatientNumber;
    QString patientName;
    JournalAmounts amounts{};  // the change the event made
    qint64 settlement = 0;     // 0 while its shift is open
    EventMethods methods;
    QString reprintReason;  // why a reprint was made, where the cashier said
};

// A row of the database's clock, the cashier and this computer: the kind, the number and name,
// the change of each amount and the methods kept with it.
storage::NewRecord journalRow(JournalKind kind, const QString& cashier,
                              const QString& inpatientNumber, const QString& patientName,
                              const JournalAmounts& change, const EventMethods& kept,
                              const QString& reprintReason = {});
// The row of an event on a receipt (its 30 fields): the database's clock, the cashier, this
// computer, the kind, the receipt's number and name, the change of each amount and the methods
// kept with it, and for a reprint the reason given.
storage::NewRecord journalRecord(JournalKind kind, const QString& cashier,
                                 const QVariantList& receipt, const JournalAmounts& change,
                                 const EventMethods& methods = {},
                                 const QString& reprintReason = {});
// Inserts records with the journal rows that go with them in one step; the first one's identity.
std::optional<storage::RecordId> insertWithJournalRows(storage::RecordWriter& writer,
                                                       const QList<storage::NewRecord>& records);
// The writes of saving, each with its journal row in the same step, under the cashier the
// receipt names: a new receipt (its amounts), and the history row of a correction, which
// replaces before by after (new less old), each with how its amounts were paid. The new
// receipt's identity / false on failure.
std::optional<storage::RecordId> insertReceiptWithJournalRow(storage::RecordWriter& writer,
                                                             const QVariantList& receipt,
                                                             const EventMethods& methods);
bool insertHistoryWithJournalRow(storage::RecordWriter& writer, const QVariantList& replaced,
                                 const QVariantList& before, const QVariantList& after,
                                 const EventMethods& methods);

// The rows of one cashier that no settlement has taken yet / the rows of one settlement, in the
// order they were written. False with a message for the cashier in *error and no rows at all.
bool readOpenEntries(Database& database, const QString& cashier, QList<JournalEntry>* entries,
                     QString* error);
bool readSettledEntries(Database& database, qint64 settlement, QList<JournalEntry>* entries,
                        QString* error);
// The open rows of one cashier as a transaction sees them; false when they cannot be read, which
// fails the transaction.
bool readOpenEntries(storage::RecordWriter& writer, const QString& cashier,
                     QList<JournalEntry>* entries);
// The rows of the receipts of one inpatient number, in the order they were written, as a
// transaction sees them; false as above.
bool readNumberEntries(storage::RecordWriter& writer, const QString& inpatientNumber,
                       QList<JournalEntry>* entries);
// The rows of the receipts of any of these inpatient numbers, in the order they were written,
// in one query / the rows written on one day (a night shift's rows fall on two days). False with
// a message for the cashier in *error and no rows at all.
bool readNumbersEntries(Database& database, const QStringList& inpatientNumbers,
                        QList<JournalEntry>* entries, QString* error);
bool readDayEntries(Database& database, const QDate& day, QList<JournalEntry>* entries,
                    QString* error);

// This computer as the journal names a desk: its host name.
// The 新开 row of the receipt last issued under inpatientNumber: who issued it and when. None
// when the journal holds none (a receipt from before the journal) or cannot be read.
std::optional<JournalEntry> latestIssue(Database& database, const QString& inpatientNumber);

QString deskName();

}  // namespace store

// A shift's thousands of entries move in memory as bytes when their list grows.
Q_DECLARE_TYPEINFO(store::JournalEntry, Q_RELOCATABLE_TYPE);
