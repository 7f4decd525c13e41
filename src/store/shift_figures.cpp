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
    for (int index = 0; index < kJournalAmountCount; ++index) {
        if (journalAmountField(index) == field) {
            return amounts[index];
        }
    }
    return {};
}

common::Money ShiftFigures::cashDue() const {
    return amount(kSupplementField) - amount(kRefundField);
}

void ShiftFigures::add(const JournalEntry& entry) {
    ++eventCounts[kindIndex(entry.kind)];
    for (int index = 0; index < kJournalAmountCount; ++index) {
        amounts[index] += entry.amounts[index];
    }
    if (!firstEvent.isValid() || entry.time < firstEvent) {
        firstEvent = entry.time;
    }
    if (!lastEvent.isValid() || entry.time > lastEvent) {
        lastEvent = entry.time;
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
