#include "store/shift_figures.h"

#include <algorithm>
#include <numeric>

#include "store/schema.h"

namespace store {

namespace {

std::size_t kindIndex(JournalKind kind) {
    return static_cast<std::size_t>(std::find(kJournalKinds.begin(), kJournalKinds.end(), kind) -
                                    kJournalKinds.begin());
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

common::Money ShiftFigures::cashDue() const {
    return amount(kSupplementField) - amount(kRefundField);
}

void ShiftFigures::add(const JournalEntry& entry) {
    ShiftFigures one;
    ++one.eventCounts[kindIndex(entry.kind)];
    one.amounts = entry.amounts;
    one.firstEvent = one.lastEvent = entry.time;
    add(one);
}

void ShiftFigures::add(const ShiftFigures& other) {
    for (std::size_t kind = 0; kind < eventCounts.size(); ++kind) {
        eventCounts[kind] += other.eventCounts[kind];
    }
    for (int index = 0; index < kJournalAmountCount; ++index) {
        amounts[index] += other.amounts[index];
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
