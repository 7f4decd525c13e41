#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
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

// The amount of the named field (合计, 补收...); 0 for a field that is none of them.
common::Money journalAmount(const JournalAmounts& amounts, QStringView field);
// A receipt record's amounts (its 30 fields) in journal order.
JournalAmounts receiptAmounts(const QVariantList& receipt);
// Each amount of after less the same amount of before.
JournalAmounts amountChange(const JournalAmounts& after, const JournalAmounts& before);

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
};

// Appends the row of an event on a receipt (its 30 fields) within the event's transaction: the
// database's clock, the cashier, this computer, the kind, the receipt's number and name and the
// change of each amount. False when it cannot be written, which fails the transaction.
bool appendJournalRow(storage::RecordWriter& writer, JournalKind kind, const QString& cashier,
                      const QVariantList& receipt, const JournalAmounts& change);
// The writes of saving, each with its journal row in the same step, under the cashier the
// receipt names: a new receipt (its amounts), and the history row of a correction, which
// replaces before by after (new less old). The new receipt's identity / false on failure.
std::optional<storage::RecordId> insertReceiptWithJournalRow(storage::RecordWriter& writer,
                                                             const QVariantList& receipt);
bool insertHistoryWithJournalRow(storage::RecordWriter& writer, const QVariantList& replaced,
                                 const QVariantList& before, const QVariantList& after);

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

// This computer as the journal names a desk: its host name.
// The 新开 row of the receipt last issued under inpatientNumber: who issued it and when. None
// when the journal holds none (a receipt from before the journal) or cannot be read.
std::optional<JournalEntry> latestIssue(Database& database, const QString& inpatientNumber);

QString deskName();

}  // namespace store

// A shift's thousands of entries move in memory as bytes when their list grows.
Q_DECLARE_TYPEINFO(store::JournalEntry, Q_RELOCATABLE_TYPE);
