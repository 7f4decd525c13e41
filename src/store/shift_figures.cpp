#include "store/shift_figures.h"

#include <algorithm>
#include <numeric>

#include "receipt/payment_methods.h"
#include "store/schema.h"

namespace store {

namespace {

std::size_t kindIndex(JournalKind kind) {
    return static_cast<std::size_t>(std::find(kJournalKinds.begin(), kJournalKinds.end(), kind) -
                                    kJournalKinds.begin());
}

MethodTotal& methodTotal(QList<MethodTotal>& methods, const QString& name) {
    const QString method = name.isEmpty() ? receipt::kCashMethod.toString() : name;
    for (MethodTotal& total : methods) {
        if (total.method == method) {
            return total;
        }
    }
    methods.append({method, {}, {}, {}, {}});
    return methods.last();
}

}  // namespace

qint64 ShiftFigures::eventCount(JournalKind kind) const {
    return eventCounts[kindIndex(kind)];
}

qint64 ShiftFigures::totalEvents() const {
    return std::accumulate(eventCounts.begin(), eventCounts.end(), qint64(0)) + depositCount +
           depositRefundCount;
}

common::Money ShiftFigures::amount(QStringView field) const {
    return journalAmount(amounts, field);
}

MethodTotal ShiftFigures::method(const QString& name) const {
    for (const MethodTotal& total : methods) {
        if (total.method == name) {
            return total;
        }
    }
    return {name, {}, {}, {}, {}};
}

common::Money ShiftFigures::cashDue() const {
    return method(receipt::kCashMethod.toString()).net();
}

void ShiftFigures::add(const JournalEntry& entry) {
    static const int prepaidIndex = journalAmountIndex(kPrepaidField);
    if (entry.kind == JournalKind::Deposit) {
        ++depositCount;
        depositsTaken += entry.amounts[prepaidIndex];
        methodTotal(methods, entry.methods.supplement).deposits += entry.amounts[prepaidIndex];
        addTime(entry.time);
        return;
    }
    if (entry.kind == JournalKind::DepositRefund) {
        ++depositRefundCount;
        // The row takes the amount out of 预交.
        const common::Money paidBack = -entry.amounts[prepaidIndex];
        depositsRefunded += paidBack;
        methodTotal(methods, entry.methods.refund).depositRefunds += paidBack;
        addTime(entry.time);
        return;
    }
    // Thousands of rows a shift: added in place.
    if (const std::size_t kind = kindIndex(entry.kind); kind < eventCounts.size()) {
        ++eventCounts[kind];
    }
    for (int index = 0; index < kJournalAmountCount; ++index) {
        amounts[index] += entry.amounts[index];
    }
    static const int supplementIndex = journalAmountIndex(kSupplementField);
    static const int refundIndex = journalAmountIndex(kRefundField);
    if (const common::Money supplement = entry.amounts[supplementIndex]; !supplement.isZero()) {
        methodTotal(methods, entry.methods.supplement).supplement += supplement;
    }
    if (const common::Money refund = entry.amounts[refundIndex]; !refund.isZero()) {
        methodTotal(methods, entry.methods.refund).refund += refund;
    }
    addTime(entry.time);
}

void ShiftFigures::addTime(const QDateTime& time) {
    if (time.isValid() && (!firstEvent.isValid() || time < firstEvent)) {
        firstEvent = time;
    }
    if (time.isValid() && (!lastEvent.isValid() || time > lastEvent)) {
        lastEvent = time;
    }
}

void ShiftFigures::add(const ShiftFigures& other) {
    for (std::size_t kind = 0; kind < eventCounts.size(); ++kind) {
        eventCounts[kind] += other.eventCounts[kind];
    }
    for (int index = 0; index < kJournalAmountCount; ++index) {
        amounts[index] += other.amounts[index];
    }
    for (const MethodTotal& total : other.methods) {
        MethodTotal& taking = methodTotal(methods, total.method);
        taking.supplement += total.supplement;
        taking.refund += total.refund;
        taking.deposits += total.deposits;
        taking.depositRefunds += total.depositRefunds;
    }
    depositCount += other.depositCount;
    depositRefundCount += other.depositRefundCount;
    depositsTaken += other.depositsTaken;
    depositsRefunded += other.depositsRefunded;
    addTime(other.firstEvent);
    addTime(other.lastEvent);
}

ShiftFigures sumEntries(const QList<JournalEntry>& entries) {
    ShiftFigures figures;
    for (const JournalEntry& entry : entries) {
        figures.add(entry);
    }
    return figures;
}

}  // namespace store
