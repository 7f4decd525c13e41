#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

#include "store/drawer_count.h"
#include "store/journal.h"
#include "store/shift_figures.h"

namespace store {

class Database;

// A closed shift: its number (the database's next when it was made), who settled it at which
// desk and when, what its journal rows added up to and the drawer as counted. Its figures carry
// no methods: those come from its rows.
struct Settlement {
    qint64 number = 0;
    QString cashier;
    QString desk;
    QDateTime settledAt;
    ShiftFigures figures;
    common::Money cashDue;  // 应交现金 as settled
    // None for a shift settled before drawers were counted.
    std::optional<DrawerBalance> drawer;
};

enum class SettleOutcome {
    Settled,
    Empty,           // nothing to settle
    BadCount,        // the count cannot be taken (problem says why): nothing changed
    TakenElsewhere,  // another desk settled some of the rows first: nothing changed
    Failed,          // nothing changed; error says why
    Uncertain,       // the connection was lost while committing; error says how to find out
};

struct SettleResult {
    SettleOutcome outcome = SettleOutcome::Failed;
    qint64 number = 0;
    QString error;
    CountProblem problem = CountProblem::None;
};

// Settles cashier's open shift as it was shown, with the drawer as counted: in one transaction
// the settlement takes the database's next number, marks exactly the shown rows (a row written
// since stays open for the next shift) and keeps their figures and the drawer's float, expected
// and counted cash, difference and remark. Nothing changes when any of the rows has been settled
// since, or when the count cannot be taken.
SettleResult settleShift(Database& database, const QString& cashier,
                         const QList<JournalEntry>& shown, const DrawerCount& count);

// Which settlements to read: one cashier's or everybody's, settled within a range of days or
// at any time.
struct SettlementFilter {
    QString cashier;  // empty: every cashier
    QDate firstDay;   // null: from the first
    QDate lastDay;    // null: to the last
};

// The settlements the filter lets through, in the order they were made. False with a message for
// the cashier in *error.
bool readSettlements(Database& database, const SettlementFilter& filter,
                     QList<Settlement>* settlements, QString* error);
// The settlement of that number; none in *settlement when there is none.
bool readSettlement(Database& database, qint64 number, std::optional<Settlement>* settlement,
                    QString* error);

}  // namespace store
