#include "bench/plain_sum.h"

#include <QStringList>

#include "billing/fee_category.h"
#include "platform/sql_names.h"
#include "platform/sqlite_connection.h"
#include "platform/sqlite_statement.h"
#include "store/database.h"
#include "store/schema.h"

namespace {

QString sumSql(const QString& firstParameter, const QString& lastParameter) {
    QStringList sums{QStringLiteral("count(*)")};
    for (const billing::FeeCategory& fee : billing::kFeeCategories) {
        sums.append(
            QStringLiteral("sum(%1)").arg(platform::quotedIdentifier(fee.fieldName.toString())));
    }
    for (const QStringView field : {store::kArrearsField, store::kTotalField}) {
        sums.append(QStringLiteral("sum(%1)").arg(platform::quotedIdentifier(field.toString())));
    }
    const QString date = platform::quotedIdentifier(store::kDischargeDateField.toString());
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 >= %4 AND %3 <= %5")
        .arg(sums.join(QStringLiteral(", ")), platform::quotedIdentifier(store::kReceiptTable),
             date, firstParameter, lastParameter);
}

}  // namespace

struct PlainSum::Engine {
    platform::SqliteConnection connection;
    std::unique_ptr<platform::SqliteStatement> statement;
};

PlainSum::PlainSum(const QString& location, const QDateTime& first, const QDateTime& last)
    : m_engine(std::make_unique<Engine>()) {
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    if (!m_engine->connection.open(location, true, 5000, &m_error)) {
        return;
    }
    m_engine->statement = std::make_unique<platform::SqliteStatement>(
        m_engine->connection, sumSql(QStringLiteral("?1"), QStringLiteral("?2")));
    m_engine->statement->bindText(1, first.toString(format));
    m_engine->statement->bindText(2, last.toString(format));
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
