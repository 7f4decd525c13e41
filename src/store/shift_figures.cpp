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
    methods.append({method, {}, {}});
    return methods.last();
}

}  // namespace

qint64 ShiftFigures::eventCount(JournalKind kind) const {
    return eventCounts[kindIndex(kind)];
}

qint64 ShiftFigures::totalEvents() const {
    return std::accumulate(eventCounts.begin(), eventCounts.end(), qint64(0));
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
    return {name, {}, {}};
}

common::Money ShiftFigures::cashDue() const {
    return method(receipt::kCashMethod.toString()).net();
}

void ShiftFigures::add(const JournalEntry& entry) {
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
    if (entry.time.isValid() && (!firstEvent.isValid() || entry.time < firstEvent)) {
        firstEvent = entry.time;
    }
    if (entry.time.isValid() && (!lastEvent.isValid() || entry.time > lastEvent)) {
        lastEvent = entry.time;
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
    }
    if (other.firstEvent.isValid() && (!firstEvent.isValid() || other.firstEvent < firstEvent)) {
        firstEvent = other.firstEvent;
    }
    if (other.lastEvent.isValid() && (!lastEvent.isValid() || other.lastEvent > lastEvent)) {
        lastEvent = other.lastEvent;
    }
}

ShiftFigures sumEntries(const QList<JournalEntry>& entries) {
    ShiftFigures figures;
    for (const JournalEntry& entry : entries) {
        figures.add(entry);
    }
    return figures;
}

}  // namespace store
