#pragma once

#include <QString>

namespace store {
class Database;
}

// The million receipts the store's benchmarks run on: a stay of a few days each, discharged in
// date order over about three years, with about half of the fee categories used.
inline constexpr int kReceiptCount = 1'000'000;

// The SQLite file that holds them, built once.
inline const QString kMillionReceiptFile = QStringLiteral("/tmp/billing-bench-1m.sqlite");

// The inpatient number of the i-th receipt.
QString inpatientNumber(int i);

// Prepares the database and fills it with the million receipts unless it holds them already;
// ends the program when it cannot.
store::Database& prepared(store::Database& database);
