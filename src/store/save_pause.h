#pragma once

#include <functional>

namespace store {

// The moments of a save at which a test may hold it, to let another desk act just then. The
// program itself never holds a save.
enum class SavePoint {
    NumberChecked,       // a new receipt's number is not stored yet; the insert comes next
    CorrectionCompared,  // the receipt to correct is as it was loaded; the update comes next
    JournalWritten,      // the event's journal row is written; the commit comes later
    Committed,           // the save is committed; the printout comes next
    SettlementWritten,   // a settlement has marked its rows and is written; the commit comes next
};

// Test-only: pause is called at every such moment, on the thread of the save, until it is taken
// away with nullptr. Set it only while no save runs.
void setSavePauseForTesting(std::function<void(SavePoint)> pause);

// Called by the saves; does nothing unless a test has set a pause.
void pauseForTesting(SavePoint point);

}  // namespace store
