#pragma once

#include <QDate>
#include <QString>

#include "store/database.h"

// The million receipts that the store's benchmarks read, the same on every engine: a stay of a
// few days, discharged in date order from kMillionFirstDischarge on, kMillionReceiptsPerDay a
// day (about three years), with about half of the fee categories used.
inline constexpr int kMillionReceipts = 1'000'000;
inline constexpr int kMillionReceiptsPerDay = 1000;
inline const QDate kMillionFirstDischarge(2021, 1, 1);

// Where the SQLite file of the million receipts lies; it is built once and kept.
inline const QString kMillionReceiptsFile = QStringLiteral("/tmp/billing-bench-1m.sqlite");

// ZY0000000 to ZY0999999.
QString millionReceiptNumber(int i);

// The database prepared as the program prepares it, and filled with the million receipts unless
// it holds them already (a few minutes, once).
store::Database& withMillionReceipts(store::Database& database);
