#pragma once

#include <QString>

namespace storage {

// Why SQLite refused, in words for the cashier. resultCode is SQLite's result code (primary or
// extended); detail is SQLite's own text, kept for codes without words of their own.
QString sqliteFailureReason(int resultCode, const QString& detail);

}  // namespace storage
