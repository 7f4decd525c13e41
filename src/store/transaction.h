#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>

namespace store {

// Runs work in one transaction: committed when it succeeds, rolled back when it or the commit
// fails. work leaves its own reason in *reason; a failed begin or commit gives SQLite's.
bool runInTransaction(QSqlDatabase& connection, QString* reason, const std::function<bool()>& work);

}  // namespace store
