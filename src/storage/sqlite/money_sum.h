#pragma once

#include <QString>

namespace storage {

class SqliteConnection;

// money_sum(amount), an aggregate in SQL: the exact sum of an amount column in fen, each value
// taken to the fen as a record's amount is read, so that a sum equals the sum of the amounts
// shown, whatever order the rows come in. NULL adds nothing; no rows sum to 0.
inline constexpr char kMoneySumFunction[] = "money_sum";

// Makes money_sum known on the connection. False, with the reason, when it cannot.
bool addMoneySumFunction(const SqliteConnection& connection, QString* reason);

}  // namespace storage
