#include "store/transaction.h"

#include <QSqlError>

#include "store/storage_failure.h"

namespace store {

bool runInTransaction(QSqlDatabase& connection, QString* reason,
                      const std::function<bool()>& work) {
    if (!connection.transaction()) {
        *reason = sqlFailureReason(connection.lastError());
        return false;
    }
    if (work()) {
        if (connection.commit()) {
            return true;
        }
        *reason = sqlFailureReason(connection.lastError());
    }
    connection.rollback();
    return false;
}

}  // namespace store
