#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

#include "common/money.h"
#include "common/stored_date_time.h"

namespace storage {

class SqliteConnection;

// The sums of one period as an aggregate in SQL adds them up:
//   period_sums(?1, date, amount, amount, ...)
// with ?1 bound to the accumulator (SqliteStatement::bindPointer with kPeriodSumsPointerType).
// A row counts when its date lies within [first, last]; each amount is taken to the fen as it is
// read, so the sums are exact whatever order the rows come in.
struct PeriodAccumulator {
    PeriodAccumulator(const QDateTime& first, const QDateTime& last, int amountCount);

    QDateTime first;
    QDateTime last;
    // The two ends in the stored form: a stored date in that form is compared as text.
    QByteArray firstText;
    QByteArray lastText;
    common::StoredDateTimeReader dateTimes;
    qint64 count = 0;
    std::vector<common::Money> sums;
};

inline constexpr char kPeriodSumsFunction[] = "period_sums";
inline constexpr char kPeriodSumsPointerType[] = "storage::PeriodAccumulator";

// Makes period_sums known on the connection. False, with the reason, when it cannot.
bool addPeriodSumsFunction(const SqliteConnection& connection, QString* reason);

}  // namespace storage
