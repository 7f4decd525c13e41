#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

#include "storage/record_search.h"
#include "store/deposit_ledger.h"

namespace store {

class Database;

// Which deposits a list shows: those whose inpatient number begins with numberPrefix (all when
// empty), only the open ones when asked, taken on a day within [firstDay, lastDay] (a null day
// leaves its end open).
struct DepositFilter {
    QString numberPrefix;
    bool openOnly = false;
    QDate firstDay;
    QDate lastDay;
};

// Up to limit deposits the filter finds, the latest first, after *after (from the first when
// none), which then moves to the page's last deposit. False with a message for the cashier in
// *error.
bool readDepositPage(Database& database, const DepositFilter& filter,
                     std::optional<storage::SearchPosition>* after, int limit, QList<Deposit>* page,
                     QString* error);

}  // namespace store
