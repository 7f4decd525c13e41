#pragma once

#include <QDateTime>
#include <QList>
#include <array>

#include "store/journal.h"

namespace store {

// What one payment method took in (补收, deposits) and paid out (退款, deposits paid back) over a
// shift.
struct MethodTotal {
    QString method;
    common::Money supplement;
    common::Money refund;
    common::Money deposits;
    common::Money depositRefunds;

    common::Money net() const { return deposits - depositRefunds + supplement - refund; }
    bool operator==(const MethodTotal&) const = default;
};

// What a shift's journal rows add up to, exact to the fen: how many events of each kind, the
// change of every amount, each payment method's 补收 and 退款, and the time of the first and the
// last event.
struct ShiftFigures {
    std::array<qint64, kJournalKinds.size()> eventCounts{};  // in the order of kJournalKinds
    JournalAmounts amounts{};                                // of the receipts' events only
    // The deposits taken and paid back, apart from the receipts: a receipt's 预交 deducts them.
    qint64 depositCount = 0;
    qint64 depositRefundCount = 0;
    common::Money depositsTaken;
    common::Money depositsRefunded;
    // In the order the methods were first used; a row written before methods were kept, or
    // with none, counts as 现金.
    QList<MethodTotal> methods;
    QDateTime firstEvent;
    QDateTime lastEvent;

    qint64 eventCount(JournalKind kind) const;
    // Every row that counts, deposits included.
    qint64 totalEvents() const;
    common::Money amount(QStringView field) const;
    // The method's totals; zero for a method the shift did not use.
    MethodTotal method(const QString& name) const;
    // The cash the cashier hands over: the deposits and supplements taken in cash less the
    // deposits and refunds paid out in cash. The other methods' amounts are with the card
    // terminal and the payment apps.
    common::Money cashDue() const;

    void add(const JournalEntry& entry);
    // Takes in the figures of another shift, as a day's sum does.
    void add(const ShiftFigures& other);
    bool operator==(const ShiftFigures&) const = default;

private:
    void addTime(const QDateTime& time);
};

ShiftFigures sumEntries(const QList<JournalEntry>& entries);

}  // namespace store
