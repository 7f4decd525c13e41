#include "bench/plain_sum.h"

#include <QStringList>

#include "common/stored_date_time.h"
#include "receipt/fee_category.h"
#include "storage/postgres/connection.h"
#include "storage/sql_names.h"
#include "storage/sqlite/connection.h"
#include "storage/sqlite/statement.h"
#include "store/database.h"
#include "store/schema.h"

namespace {

QString sumSql(bool wholeTable, const QString& firstParameter, const QString& lastParameter) {
    QStringList sums{QStringLiteral("count(*)")};
    for (const receipt::FeeCategory& fee : receipt::kFeeCategories) {
        sums.append(
            QStringLiteral("sum(%1)").arg(storage::quotedIdentifier(fee.fieldName.toString())));
    }
    for (const QStringView field : {store::kArrearsField, store::kTotalField}) {
        sums.append(QStringLiteral("sum(%1)").arg(storage::quotedIdentifier(field.toString())));
    }
    const QString select =
        QStringLiteral("SELECT %1 FROM %2")
            .arg(sums.join(QStringLiteral(", ")), storage::quotedIdentifier(store::kReceiptTable));
    if (wholeTable) {
        return select;
    }
    return select + QStringLiteral(" WHERE %1 >= %2 AND %1 <= %3")
                        .arg(storage::quotedIdentifier(store::kDischargeDateField.toString()),
                             firstParameter, lastParameter);
}

}  // namespace

struct PlainSum::Engine {
    bool onServer = false;
    storage::SqliteConnection file;
    std::unique_ptr<storage::SqliteStatement> statement;
    storage::PostgresConnection server;
    QString sql;
    storage::PostgresParameters parameters;
};

PlainSum::PlainSum(const QString& location, const Period& period)
    : m_engine(std::make_unique<Engine>()) {
    Engine& engine = *m_engine;
    engine.onServer = location.startsWith(QStringLiteral("postgresql://"));
    if (engine.onServer) {
        engine.sql = sumSql(!period, QStringLiteral("$1"), QStringLiteral("$2"));
        if (period) {
            engine.parameters = {common::toStoredDateTime(period->first),
                                 common::toStoredDateTime(period->second)};
        }
        if (!engine.server.open(location)) {
            m_error = engine.server.failureReason();
        }
        return;
    }
    if (!engine.file.open(location, true, 5000, &m_error)) {
        return;
    }
    engine.statement = std::make_unique<storage::SqliteStatement>(
        engine.file, sumSql(!period, QStringLiteral("?1"), QStringLiteral("?2")));
    if (period) {
        engine.statement->bindText(1, common::toStoredDateTime(period->first));
        engine.statement->bindText(2, common::toStoredDateTime(period->second));
    }
}

PlainSum::~PlainSum() = default;

bool PlainSum::run(qint64* count) {
    Engine& engine = *m_engine;
    if (engine.onServer) {
        const storage::PostgresResult result = engine.server.run(engine.sql, engine.parameters);
        if (!result.succeeded()) {
            m_error = engine.server.failureReason();
            return false;
        }
        *count = result.text(0, 0).toLongLong();
        return true;
    }
    storage::SqliteStatement* statement = engine.statement.get();
    if (statement == nullptr || !statement->step()) {
        m_error = statement ? statement->failureReason() : m_error;
        return false;
    }
    *count = statement->columnInt64(0);
    statement->reset();
    return true;
}
