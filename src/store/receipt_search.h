#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariantList>
#include <optional>

#include "common/money.h"
#include "storage/storage_engine.h"
#include "store/receipt_payment.h"

namespace store {

class Database;

// What the register looks for. Every filter may be left empty; the filters given must all hold.
// Texts are found exactly as typed, every character standing for itself.
struct ReceiptFilter {
    QString numberPrefix;  // 住院号 begins with it
    QString namePart;      // 姓名 contains it
    QDate firstDischarge;  // 出院日期 on or after this day; a null date: no first day
    QDate lastDischarge;   // 出院日期 on or before this day; a null date: no last day
    QString cashier;       // 收费员 is exactly this one; empty: every cashier
    // Voided receipts too, from the table a void moves them to.
    bool withVoided = false;
};

enum class ReceiptStatus {
    Normal,
    Corrected,  // MZY_history holds an earlier version
    Voided,     // withdrawn: it lies in MZY_voided, no longer in MZY
};

// 正常, 已更正, 作废.
QString statusText(ReceiptStatus status);

struct FoundReceipt {
    storage::RecordId recordId = 0;  // in MZY, or in MZY_voided for a voided receipt
    QVariantList values;             // the fields the search was made for, in its order
    ReceiptStatus status = ReceiptStatus::Normal;
    // How it was paid, when the search reads payments; of a voided receipt, what its void took
    // back.
    ReceiptPayment payment = {};
    // Why a voided receipt was voided, read with the payments.
    QString voidReason = {};
};

// Reads how each of the receipts was paid from the journal rows of their numbers, in one query
// (and one more for the voided ones among them, which also reads why each was voided); fields are
// the receipt fields their values hold, 住院号, 补收 and 退款 among them. False, with a message for
// the cashier in *error.
bool readPayments(Database& database, const QList<int>& fields, QList<FoundReceipt>* receipts,
                  QString* error);

// A stored receipt as a window showed it: its identity and the values of the fields it showed. An
// action on it (a reprint) first checks that the record of that identity still holds them: SQLite
// gives the identity of a voided last receipt to the next one stored.
struct ShownReceipt {
    storage::RecordId recordId = 0;
    QList<int> fields;    // positions in the receipt table
    QVariantList values;  // their values as shown, in that order
};

// A whole stored receipt, every field shown.
ShownReceipt shownWhole(storage::RecordId recordId, const QVariantList& values);

// Whether record, every field of a stored receipt, still holds what shown showed of it.
bool isAsShown(const QVariantList& record, const ShownReceipt& shown);

// How many receipts a filter finds, and the exact sums of the amounts of those not voided: a
// voided receipt took no money.
struct ReceiptTotals {
    qint64 count = 0;          // voided ones included
    qint64 voided = 0;         // of them
    common::Money total;       // 合计
    common::Money supplement;  // 补收
    common::Money refund;      // 退款
    common::Money arrears;     // 欠费
};

// The receipts a filter finds, newest discharge first (then the latest stored first), read a
// page at a time: each page is one short query, so a search over a million receipts holds no
// lock and no memory beyond the page it hands out. Not for several threads at once; a thread of
// its own takes its own Database.
class ReceiptSearch {
public:
    // fields are positions in the receipt table; each found receipt gives those, and how it was
    // paid when withPayments is set (fields must then hold 住院号, 补收 and 退款).
    ReceiptSearch(Database& database, const ReceiptFilter& filter, const QList<int>& fields,
                  bool withPayments = false);

    // Up to count further receipts, appended to *receipts; fewer only at the end. False, with a
    // message for the cashier in *error, when the table cannot be read.
    bool next(int count, QList<FoundReceipt>* receipts, QString* error);
    bool atEnd() const { return m_atEnd; }

    // Every receipt the filter finds, counted and summed by the database, one query per table.
    bool totals(ReceiptTotals* totals, QString* error);

    const ReceiptFilter& filter() const { return m_filter; }

private:
    Database& m_database;
    ReceiptFilter m_filter;
    storage::RecordSearch m_search;
    bool m_withPayments;
    std::optional<storage::SearchPosition> m_after;
    bool m_atEnd = false;
};

// Every field of the stored receipt with this identity; none when it is no longer stored (and
// *error stays empty) or the table cannot be read (with a message in *error).
std::optional<QVariantList> readReceipt(Database& database, storage::RecordId id, QString* error);

struct VoidedReceipt {
    QVariantList values;  // its 30 fields as they were
    QDateTime voidedAt;
    QString voidedBy;
    QString reason;
};

// The voided receipt with this identity in MZY_voided, as readReceipt reads a stored one.
std::optional<VoidedReceipt> readVoidedReceipt(Database& database, storage::RecordId id,
                                               QString* error);

}  // namespace store
