#include "bench/plain_sum.h"

#include <QStringList>

#include "billing/fee_category.h"
#include "common/stored_date_time.h"
#include "platform/sql_names.h"
#include "platform/sqlite_connection.h"
#include "platform/sqlite_statement.h"
#include "store/database.h"
#include "store/schema.h"

namespace {

QString sumSql(bool wholeTable, const QString& firstParameter, const QString& lastParameter) {
    QStringList sums{QStringLiteral("count(*)")};
    for (const billing::FeeCategory& fee : billing::kFeeCategories) {
        sums.append(
            QStringLiteral("sum(%1)").arg(platform::quotedIdentifier(fee.fieldName.toString())));
    }
    for (const QStringView field : {store::kArrearsField, store::kTotalField}) {
        sums.append(QStringLiteral("sum(%1)").arg(platform::quotedIdentifier(field.toString())));
    }
    const QString select = QStringLiteral("SELECT %1 FROM %2")
                               .arg(sums.join(QStringLiteral(", ")),
                                    platform::quotedIdentifier(store::kReceiptTable));
    if (wholeTable) {
        return select;
    }
    return select + QStringLiteral(" WHERE %1 >= %2 AND %1 <= %3")
                        .arg(platform::quotedIdentifier(store::kDischargeDateField.toString()),
                             firstParameter, lastParameter);
}

}  // namespace

struct PlainSum::Engine {
    platform::SqliteConnection connection;
    std::unique_ptr<platform::SqliteStatement> statement;
};

PlainSum::PlainSum(const QString& location, const Period& period)
    : m_engine(std::make_unique<Engine>()) {
    if (!m_engine->connection.open(location, true, 5000, &m_error)) {
        return;
    }
    m_engine->statement = std::make_unique<platform::SqliteStatement>(
        m_engine->connection, sumSql(!period, QStringLiteral("?1"), QStringLiteral("?2")));
    if (period) {
        m_engine->statement->bindText(1, common::toStoredDateTime(period->first));
        m_engine->statement->bindText(2, common::toStoredDateTime(period->second));
    }
}

PlainSum::~PlainSum() = default;

bool PlainSum::run(qint64* count) {
    platform::SqliteStatement* statement = m_engine->statement.get();
    if (statement == nullptr || !statement->step()) {
        m_error = statement ? statement->failureReason() : m_error;
        return false;
    }
    *count = statement->columnInt64(0);
    statement->reset();
    return true;
}
