#pragma once

#include <QString>

class QSqlError;

namespace store {

// Why SQLite refused, in words for the cashier. resultCode is SQLite's result code (primary or
// extended); detail is the driver's own text, kept for codes without words of their own.
QString sqliteFailureReason(int resultCode, const QString& detail);
QString sqlFailureReason(const QSqlError& error);

// The message for a database file that cannot be used, naming the file and the reason.
QString databaseFileMessage(const QString& path, const QString& reason);
// The message for a record that could not be written into the file.
QString databaseWriteMessage(const QString& path, const QString& reason);

}  // namespace store
