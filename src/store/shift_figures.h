#pragma once

#include <QDateTime>
#include <QList>
#include <array>

#include "store/journal.h"

namespace store {

// What a shift's journal rows add up to, exact to the fen: how many events of each kind, the
// change of every amount, and the time of the first and the last event.
struct ShiftFigures {
    std::array<qint64, kJournalKinds.size()> eventCounts{};  // in the order of kJournalKinds
    JournalAmounts amounts{};
    QDateTime firstEvent;
    QDateTime lastEvent;

    qint64 eventCount(JournalKind kind) const;
    qint64 totalEvents() const;
    common::Money amount(QStringView field) const;
    // The cash the cashier hands over: the supplements taken in less the refunds paid out.
    common::Money cashDue() const;

    void add(const JournalEntry& entry);
    // Takes in the figures of another shift, as a day's sum does.
    void add(const ShiftFigures& other);
    bool operator==(const ShiftFigures&) const = default;
};

ShiftFigures sumEntries(const QList<JournalEntry>& entries);

}  // namespace store
