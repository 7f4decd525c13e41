#include "storage/postgres/engine.h"

#include <QHash>
#include <QStringList>
#include <algorithm>
#include <array>

#include "common/number_text.h"
#include "common/stored_date_time.h"
#include "storage/postgres/desk_time_zone.h"
#include "storage/postgres/field_value.h"
#include "storage/schema_preparation.h"
#include "storage/sql_names.h"

namespace storage {

const QString PostgresEngine::kIdentityColumn = QStringLiteral("序号");

namespace {

// A walk fetches its first record alone, since most walks are a look-up that reads one record;
// a walk that goes on fetches the rest in batches.
constexpr int kFirstBatchRows = 1;
constexpr int kWalkBatchRows = 500;

// A transaction that adds this many records to a table is a bulk load: the table's statistics are
// renewed once it is committed.
constexpr qint64 kBulkLoadRecords = 10'000;

QString identity() {
    return quotedIdentifier(PostgresEngine::kIdentityColumn);
}

// Values travel as text: date-times in the stored form, amounts as their decimal text.
std::optional<QString> parameterOf(const QVariant& value, FieldKind kind) {
    switch (kind) {
        case FieldKind::Text: {
            const QString text = value.toString();
            return text.isNull() ? QStringLiteral("") : text;
        }
        case FieldKind::DateTime: {
            const QDateTime dateTime = value.toDateTime();
            return dateTime.isValid() ? std::optional(common::toStoredDateTime(dateTime))
                                      : std::nullopt;
        }
        case FieldKind::Integer:
            return QString::number(value.toLongLong());
        case FieldKind::Amount:
            break;
    }
    return common::numberToText(value.value<common::Money>());
}

PostgresParameters recordParameters(const TableSchema& table, const RecordValues& values) {
    PostgresParameters parameters;
    for (int i = 0; i < table.columns.size(); ++i) {
        parameters.append(parameterOf(values.value(i), table.columns[i].kind));
    }
    return parameters;
}

void rollBackOpenTransaction(PostgresConnection& connection) {
    if (connection.isInTransaction()) {
        connection.run(QStringLiteral("ROLLBACK"));
    }
}

// The server's clock, to the second, in the session's time zone: the desk's, so that it reads as
// the ward's local time, as the program's date-times are.
const QString kDatabaseTime = QStringLiteral("localtimestamp(0)");

// Renews the planner's statistics of a table, so that it finds the table's indexes at once.
QString analyzeStatement(const QString& quotedTable) {
    return QStringLiteral("ANALYZE ") + quotedTable;
}

QString milliseconds(std::chrono::milliseconds duration) {
    return QStringLiteral("%1ms").arg(duration.count());
}

// The absent text counts as the empty text, so looking for the empty text finds both.
std::pair<QString, PostgresParameters> firstWithTextQuery(const TableSchema& table, int field,
                                                          const QString& text) {
    const QString column = quotedIdentifier(table.columns[field].name);
    const QString head = QStringLiteral("SELECT min(%1) FROM %2 WHERE ")
                             .arg(identity(), quotedIdentifier(table.name));
    if (text.isEmpty()) {
        return {head + QStringLiteral("%1 = '' OR %1 IS NULL").arg(column), {}};
    }
    return {head + column + QStringLiteral(" = $1"), {text}};
}

std::optional<RecordId> runFirstWithText(PostgresConnection& connection, const TableSchema& table,
                                         int field, const QString& text, QString* reason) {
    const auto [sql, parameters] = firstWithTextQuery(table, field, text);
    const PostgresResult result = connection.run(sql, parameters);
    if (!result.succeeded()) {
        *reason = connection.failureReason();
        return std::nullopt;
    }
    if (result.rowCount() == 0 || result.isNull(0, 0)) {
        return std::nullopt;
    }
    return result.text(0, 0).toLongLong();
}

class PostgresWalk final : public RecordWalk {
public:
    PostgresWalk(PostgresConnection& connection, const TableSchema& table,
                 const QList<int>& openedFields, RecordId from)
        : m_connection(connection),
          m_sql(QStringLiteral("SELECT %1%2 FROM %3 WHERE %1 >= $1 ORDER BY %1 LIMIT $2")
                    .arg(identity(),
                         openedFields.isEmpty()
                             ? QString()
                             : QStringLiteral(", ") + quotedColumnList(table, openedFields),
                         quotedIdentifier(table.name))) {
        for (const int field : openedFields) {
            m_kinds.append(table.columns[field].kind);
        }
        fetch(from, kFirstBatchRows);
    }

    bool next() override {
        if (++m_row < m_batch.rowCount()) {
            return true;
        }
        if (m_lastBatch) {
            return false;
        }
        fetch(m_nextFrom, kWalkBatchRows);
        m_row = 0;
        return m_row < m_batch.rowCount();
    }
    RecordId recordId() const override { return m_batch.text(m_row, 0).toLongLong(); }
    QVariant value(int openedField) const override {
        return valueOf(m_batch, m_row, openedField + 1, m_kinds[openedField], m_dateTimes);
    }
    QString error() const override { return m_error; }

private:
    void fetch(RecordId from, int rows) {
        m_batch = m_connection.run(m_sql, {QString::number(from), QString::number(rows)});
        m_row = -1;
        m_lastBatch = true;
        if (!m_batch.succeeded()) {
            m_error = m_connection.failureReason();
            return;
        }
        const int fetched = m_batch.rowCount();
        m_lastBatch = fetched < rows;
        if (fetched > 0) {
            m_nextFrom = m_batch.text(fetched - 1, 0).toLongLong() + 1;
        }
    }

    PostgresConnection& m_connection;
    QString m_sql;
    QList<FieldKind> m_kinds;
    PostgresResult m_batch;
    int m_row = -1;
    bool m_lastBatch = true;
    RecordId m_nextFrom = 0;
    mutable common::StoredDateTimeReader m_dateTimes;
    QString m_error;
};

// The rows of one query, fetched at once, as a walk; the first column is the identity.
class PostgresResultWalk final : public RecordWalk {
public:
    PostgresResultWalk(PostgresConnection& connection, const QString& sql,
                       const PostgresParameters& parameters, QList<FieldKind> kinds)
        : m_result(connection.run(sql, parameters)), m_kinds(std::move(kinds)) {
        if (!m_result.succeeded()) {
            m_error = connection.failureReason();
        }
    }

    bool next() override { return ++m_row < m_result.rowCount(); }
    RecordId recordId() const override { return m_result.text(m_row, 0).toLongLong(); }
    QVariant value(int openedField) const override {
        return valueOf(m_result, m_row, openedField + 1, m_kinds[openedField], m_dateTimes);
    }
    QString error() const override { return m_error; }

private:
    PostgresResult m_result;
    QList<FieldKind> m_kinds;
    int m_row = -1;
    mutable common::StoredDateTimeReader m_dateTimes;
    QString m_error;
};

// The records a selection finds, read on that connection (defined below, by the engine's).
std::unique_ptr<RecordWalk> selectionWalk(PostgresConnection& connection,
                                          const RecordSelection& selection);

// One transaction. The first failure is kept; later steps are refused.
class PostgresTransaction final : public EngineTransaction {
public:
    explicit PostgresTransaction(PostgresConnection& connection) : m_connection(connection) {}

    QString failure() const override { return m_failure; }

    TransactionResult commit() override {
        if (m_connection.run(QStringLiteral("COMMIT")).succeeded()) {
            renewStatisticsAfterBulkLoad();
            return {TransactionOutcome::Committed, {}};
        }
        return {m_connection.isConnectionLost() ? TransactionOutcome::Unknown
                                                : TransactionOutcome::Failed,
                m_connection.failureReason()};
    }

    TransactionResult end(TransactionResult result) override {
        rollBackOpenTransaction(m_connection);
        return result;
    }

    std::optional<RecordId> firstWithText(const TableSchema& table, int field,
                                          const QString& text) override {
        if (!m_failure.isEmpty()) {
            return std::nullopt;
        }
        return runFirstWithText(m_connection, table, field, text, &m_failure);
    }

    // The record stays locked against other desks' changes until the transaction ends.
    std::optional<RecordValues> read(const TableSchema& table, RecordId id) override {
        const PostgresResult result =
            run(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = $1 FOR UPDATE")
                    .arg(quotedColumnList(table), quotedIdentifier(table.name), identity()),
                {QString::number(id)});
        if (result.rowCount() != 1) {
            return std::nullopt;
        }
        RecordValues values;
        common::StoredDateTimeReader dateTimes;
        for (int i = 0; i < table.columns.size(); ++i) {
            values.append(valueOf(result, 0, i, table.columns[i].kind, dateTimes));
        }
        return values;
    }

    std::optional<RecordId> insert(const TableSchema& table, const RecordValues& values) override {
        return insertRecords({{&table, values}});
    }

    bool update(const TableSchema& table, RecordId id, const RecordValues& values) override {
        QStringList assignments;
        for (int i = 0; i < table.columns.size(); ++i) {
            assignments.append(
                QStringLiteral("%1 = $%2").arg(quotedIdentifier(table.columns[i].name)).arg(i + 1));
        }
        PostgresParameters parameters = recordParameters(table, values);
        parameters.append(QString::number(id));
        return run(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = $%4")
                       .arg(quotedIdentifier(table.name), assignments.join(QStringLiteral(", ")),
                            identity())
                       .arg(parameters.size()),
                   parameters)
                   .rowsAffected() == 1;
    }

    bool remove(const TableSchema& table, RecordId id) override {
        return run(QStringLiteral("DELETE FROM %1 WHERE %2 = $1")
                       .arg(quotedIdentifier(table.name), identity()),
                   {QString::number(id)})
                   .rowsAffected() == 1;
    }

    // The records after the first go in as data-modifying parts of the first one's statement.
    std::optional<RecordId> insertRecords(const QList<NewRecord>& records) override {
        PostgresParameters parameters;
        const auto insertion = [&](const NewRecord& record) {
            const TableSchema& table = *record.table;
            QStringList marks;
            for (int i = 0; i < table.columns.size(); ++i) {
                if (i == record.clockField) {
                    marks.append(kDatabaseTime);
                    continue;
                }
                parameters.append(parameterOf(record.values.value(i), table.columns[i].kind));
                marks.append(QLatin1Char('$') + QString::number(parameters.size()));
            }
            return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(quotedIdentifier(table.name), quotedColumnList(table),
                     marks.join(QStringLiteral(", ")));
        };
        for (const NewRecord& record : records) {
            ++m_insertedRecords[record.table->name];
        }
        const QString first = insertion(records.first());
        QStringList companions;
        for (qsizetype i = 1; i < records.size(); ++i) {
            companions.append(QStringLiteral("r%1 AS (%2)").arg(i).arg(insertion(records[i])));
        }
        const QString with = companions.isEmpty()
                                 ? QString()
                                 : QStringLiteral("WITH ") + companions.join(QStringLiteral(", ")) +
                                       QLatin1Char(' ');
        const PostgresResult result =
            run(with + first + QStringLiteral(" RETURNING ") + identity(), parameters);
        if (result.rowCount() != 1) {
            return std::nullopt;
        }
        return result.text(0, 0).toLongLong();
    }

    // The identities travel as one array, whatever their number.
    std::optional<qint64> markRecords(const TableSchema& table, const QList<RecordId>& ids,
                                      int field, qint64 expected, qint64 value) override {
        QStringList idTexts;
        for (const RecordId id : ids) {
            idTexts.append(QString::number(id));
        }
        const PostgresResult result = run(
            QStringLiteral("UPDATE %1 SET %2 = $1 WHERE %2 = $2 AND %3 = ANY($3::bigint[])")
                .arg(quotedIdentifier(table.name), quotedIdentifier(table.columns[field].name),
                     identity()),
            {QString::number(value), QString::number(expected), u'{' + idTexts.join(u',') + u'}'});
        if (!result.succeeded()) {
            return std::nullopt;
        }
        return result.rowsAffected();
    }

    std::optional<qint64> highest(const TableSchema& table, int field) override {
        const PostgresResult result =
            run(QStringLiteral("SELECT max(%1) FROM %2")
                    .arg(quotedIdentifier(table.columns[field].name), quotedIdentifier(table.name)),
                {});
        if (result.rowCount() != 1) {
            return std::nullopt;
        }
        return result.text(0, 0).toLongLong();
    }

    bool select(const RecordSelection& selection, const TakeRecord& take) override {
        if (!m_failure.isEmpty()) {
            return false;
        }
        return takeEveryRecord(*selectionWalk(m_connection, selection),
                               selection.openedFields.size(), take, &m_failure);
    }

    // SHARE conflicts with the ROW EXCLUSIVE lock that every insert, update and delete takes.
    bool holdTable(const TableSchema& table) override {
        return run(QStringLiteral("LOCK TABLE %1 IN SHARE MODE").arg(quotedIdentifier(table.name)),
                   {})
            .succeeded();
    }

    bool holdKey(const QString& key) override {
        return run(QStringLiteral("SELECT pg_advisory_xact_lock(hashtextextended($1, 0))"), {key})
            .succeeded();
    }

private:
    // After a bulk load the planner would go by what it knew of the table before (no rows, say)
    // until the server's own vacuum came by. What was committed does not depend on it.
    void renewStatisticsAfterBulkLoad() {
        for (auto table = m_insertedRecords.cbegin(); table != m_insertedRecords.cend(); ++table) {
            if (table.value() >= kBulkLoadRecords) {
                m_connection.run(analyzeStatement(quotedIdentifier(table.key())));
            }
        }
    }

    PostgresResult run(const QString& sql, const PostgresParameters& parameters) {
        if (!m_failure.isEmpty()) {
            return {};
        }
        PostgresResult result = m_connection.run(sql, parameters);
        if (!result.succeeded()) {
            m_failure = m_connection.failureReason();
        }
        return result;
    }

    PostgresConnection& m_connection;
    QString m_failure;
    QHash<QString, qint64> m_insertedRecords;
};

class PostgresCatalog final : public SchemaCatalog {
public:
    explicit PostgresCatalog(PostgresConnection& connection) : m_connection(connection) {}

    bool columnsOf(const QString& table, QStringList* columns, QString* reason) override {
        const PostgresResult result =
            query(QStringLiteral("SELECT column_name FROM information_schema.columns WHERE "
                                 "table_schema = current_schema() AND table_name = $1 "
                                 "ORDER BY ordinal_position"),
                  {table}, reason);
        for (int row = 0; row < result.rowCount(); ++row) {
            columns->append(result.text(row, 0));
        }
        return result.succeeded();
    }

    bool hasIndex(const QString& name, bool* exists, QString* reason) override {
        const PostgresResult result =
            query(QStringLiteral("SELECT 1 FROM pg_indexes WHERE schemaname = current_schema() "
                                 "AND indexname = $1"),
                  {name}, reason);
        *exists = result.rowCount() > 0;
        return result.succeeded();
    }

    bool run(const QString& sql, QString* reason) override {
        return query(sql, {}, reason).succeeded();
    }

    bool queryNumber(const QString& sql, qint64* number, QString* reason) override {
        const PostgresResult result = query(sql, {}, reason);
        *number = result.rowCount() > 0 ? result.text(0, 0).toLongLong() : 0;
        return result.succeeded();
    }

    QString sqlType(const Column& column) const override {
        switch (column.kind) {
            case FieldKind::Text:
                return QStringLiteral("text");
            case FieldKind::DateTime:
                return QStringLiteral("timestamp(0)");
            case FieldKind::Integer:
                return QStringLiteral("bigint");
            case FieldKind::Amount:
                break;
        }
        // Wide enough for any sum of numeric(12,2) amounts that a whole number of fen held in
        // 64 bits can carry.
        return column.holdsSums ? QStringLiteral("numeric(20,2)") : QStringLiteral("numeric(12,2)");
    }
    QString retypeColumnStatement(const QString& table, const Column& column) const override {
        return QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 TYPE %3")
            .arg(quotedIdentifier(table), quotedIdentifier(column.name), sqlType(column));
    }
    // A server's table has no order of its own: an update may move a row.
    QString identityColumn() const override { return PostgresEngine::kIdentityColumn; }
    QString identityColumnDefinition() const override {
        return identity() + QStringLiteral(" bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY");
    }
    Qt::CaseSensitivity nameCase() const override { return Qt::CaseSensitive; }
    // LIKE finds a beginning through an index only when it orders by the text's bytes, which the
    // database's own collation need not do.
    QString prefixIndexColumn(const QString& quotedColumn) const override {
        return quotedColumn + QStringLiteral(" text_pattern_ops");
    }
    // A page of a list then starts right at the record behind the last one, with no sorting of
    // the records that share a date.
    QString orderIndexColumns(const QString& quotedColumn) const override {
        return quotedColumn + QStringLiteral(", ") + identity();
    }

    // A standby, a read-only session or a user who may only read.
    bool mayWrite(const QString& table, bool* writable, QString* reason) override {
        const PostgresResult result =
            query(QStringLiteral(
                      "SELECT NOT current_setting('transaction_read_only')::boolean AND "
                      "has_table_privilege(format('%I.%I', current_schema(), $1::text), 'INSERT')"),
                  {table}, reason);
        *writable = result.rowCount() == 1 && result.text(0, 0) == QLatin1StringView("t");
        return result.succeeded();
    }

    // New tables need CREATE on the schema, and new indexes the table's ownership.
    QString missingGrant(const QString& table) override {
        QString reason;
        const PostgresResult result = query(
            QStringLiteral("SELECT has_schema_privilege(current_schema(), 'CREATE'), "
                           "quote_ident(current_schema()), quote_ident(current_user), "
                           "current_user = pg_get_userbyid(relowner), pg_get_userbyid(relowner) "
                           "FROM pg_class "
                           "WHERE oid = to_regclass(format('%I.%I', current_schema(), $1::text))"),
            {table}, &reason);
        if (result.rowCount() != 1) {
            return {};
        }
        const QString user = result.text(0, 2);
        QStringList grants;
        if (result.text(0, 0) != QLatin1StringView("t")) {
            grants.append(QStringLiteral("请数据库管理员执行 GRANT CREATE ON SCHEMA %1 TO %2; "
                                         "然后重新启动程序")
                              .arg(result.text(0, 1), user));
        }
        if (result.text(0, 3) != QLatin1StringView("t")) {
            grants.append(QStringLiteral("由表 %1 的所有者“%2”用本程序打开一次这个数据库，"
                                         "补建缺少的表和索引，再把新表的读写权限授予 %3")
                              .arg(table, result.text(0, 4), user));
        }
        return grants.join(QStringLiteral("；或者"));
    }

    QString statisticsStatement(const QString& quotedTable) const override {
        return analyzeStatement(quotedTable);
    }

private:
    PostgresResult query(const QString& sql, const PostgresParameters& parameters,
                         QString* reason) {
        PostgresResult result = m_connection.run(sql, parameters);
        if (!result.succeeded()) {
            *reason = m_connection.failureReason();
        }
        return result;
    }

    PostgresConnection& m_connection;
};

}  // namespace

PostgresEngine::PostgresEngine(QString uri, QString description, int lockTimeoutMs)
    : m_uri(std::move(uri)), m_description(std::move(description)), m_lockTimeoutMs(lockTimeoutMs) {
    m_connection.setAnswerDeadline(std::chrono::milliseconds(lockTimeoutMs) + kAnswerMargin);
}

QString PostgresEngine::description() const {
    return QStringLiteral("数据库服务器“%1”").arg(m_description);
}

bool PostgresEngine::connect(QString* reason) {
    if (m_connection.isOpen() && !m_connection.isConnectionLost()) {
        return true;
    }
    m_connection.setTransactionSettings({});
    const bool connected =
        m_connection.isConnectionLost() ? m_connection.reconnect() : m_connection.open(m_uri);
    const std::optional<QString> zone = connected ? serverTimeZone() : std::nullopt;
    if (!zone) {
        *reason = m_connection.failureReason();
        m_connection.close();
        return false;
    }
    // Date-times go in and come out in the stored form, whatever the server's own habit. A desk
    // that vanishes in the middle of a transaction has its locks taken from it by the server, and
    // the server ends a wait or a statement itself before the desk would give up on its answer.
    const std::chrono::milliseconds lockTimeout(m_lockTimeoutMs);
    m_connection.setTransactionSettings({
        {QStringLiteral("DateStyle"), QStringLiteral("ISO, YMD")},
        {QStringLiteral("TimeZone"), *zone},
        {QStringLiteral("idle_in_transaction_session_timeout"),
         milliseconds(kIdleInTransactionTimeout)},
        {QStringLiteral("lock_timeout"), milliseconds(lockTimeout)},
        {QStringLiteral("statement_timeout"),
         milliseconds(lockTimeout + kAnswerMargin - kServerLimitMargin)},
    });
    return true;
}

std::optional<QString> PostgresEngine::serverTimeZone() {
    const QDateTime now = QDateTime::currentDateTime();
    const QString zone = deskTimeZone(now);
    if (m_connection.run(QStringLiteral("SELECT set_config('TimeZone', $1, false)"), {zone})
            .succeeded()) {
        return zone;
    }
    // A server without that name in its zone files still knows the offset.
    if (m_connection.lastFailure().sqlState == QLatin1StringView("22023")) {
        return deskFixedOffsetZone(now);
    }
    return std::nullopt;
}

void PostgresEngine::disconnect() {
    m_connection.close();
}

std::unique_ptr<SchemaCatalog> PostgresEngine::catalog() {
    return std::make_unique<PostgresCatalog>(m_connection);
}

std::unique_ptr<RecordWalk> PostgresEngine::startWalk(const TableSchema& table,
                                                      const QList<int>& openedFields,
                                                      RecordId from) {
    return std::make_unique<PostgresWalk>(m_connection, table, openedFields, from);
}

namespace {

std::unique_ptr<RecordWalk> selectionWalk(PostgresConnection& connection,
                                          const RecordSelection& selection) {
    const TableSchema& table = *selection.table;
    QStringList conditions{QStringLiteral("true")};
    PostgresParameters parameters;
    QList<FieldKind> kinds;
    for (const auto& [field, value] : selection.equalFields) {
        const Column& column = table.columns[field];
        parameters.append(parameterOf(value, column.kind));
        conditions.append(
            QStringLiteral("%1 = $%2").arg(quotedIdentifier(column.name)).arg(parameters.size()));
    }
    if (selection.dateField >= 0) {
        parameters += {parameterOf(selection.first, FieldKind::DateTime),
                       parameterOf(selection.last, FieldKind::DateTime)};
        conditions.append(QStringLiteral("%1 BETWEEN $%2 AND $%3")
                              .arg(quotedIdentifier(table.columns[selection.dateField].name))
                              .arg(parameters.size() - 1)
                              .arg(parameters.size()));
    }
    if (selection.oneOfField >= 0) {
        const Column& column = table.columns[selection.oneOfField];
        QStringList values;
        for (const QVariant& value : selection.oneOfValues) {
            parameters.append(parameterOf(value, column.kind));
            values.append(QStringLiteral("$%1").arg(parameters.size()));
        }
        conditions.append(values.isEmpty() ? QStringLiteral("false")
                                           : QStringLiteral("%1 IN (%2)")
                                                 .arg(quotedIdentifier(column.name),
                                                      values.join(QStringLiteral(", "))));
    }
    for (const int field : selection.openedFields) {
        kinds.append(table.columns[field].kind);
    }
    return std::make_unique<PostgresResultWalk>(
        connection,
        QStringLiteral("SELECT %1%2 FROM %3 WHERE %4 ORDER BY %1")
            .arg(identity(),
                 selection.openedFields.isEmpty()
                     ? QString()
                     : QStringLiteral(", ") + quotedColumnList(table, selection.openedFields),
                 quotedIdentifier(table.name), conditions.join(QStringLiteral(" AND "))),
        parameters, kinds);
}

}  // namespace

std::unique_ptr<RecordWalk> PostgresEngine::startSelection(const RecordSelection& selection) {
    return selectionWalk(m_connection, selection);
}

std::optional<RecordId> PostgresEngine::lookUpFirstWithText(const TableSchema& table, int field,
                                                            const QString& text, QString* reason) {
    return runFirstWithText(m_connection, table, field, text, reason);
}

bool PostgresEngine::sumConnectedPeriod(const PeriodQuery& query, PeriodTotals* totals,
                                        QString* reason) {
    const TableSchema& table = *query.table;
    QStringList sums{QStringLiteral("count(*)")};
    for (const int field : query.amountFields) {
        sums.append(QStringLiteral("sum(%1)").arg(quotedIdentifier(table.columns[field].name)));
    }
    const PostgresResult result = m_connection.run(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 BETWEEN $1 AND $2")
            .arg(sums.join(QStringLiteral(", ")), quotedIdentifier(table.name),
                 quotedIdentifier(table.columns[query.dateField].name)),
        {common::toStoredDateTime(query.first), common::toStoredDateTime(query.last)});
    if (!result.succeeded() || result.rowCount() != 1) {
        *reason = m_connection.failureReason();
        return false;
    }
    totals->count = result.text(0, 0).toLongLong();
    totals->sums.clear();
    for (int column = 1; column < result.columnCount(); ++column) {
        totals->sums.append(result.isNull(0, column) ? common::Money()
                                                     : amountOf(result.utf8(0, column)));
    }
    return true;
}

std::unique_ptr<EngineTransaction> PostgresEngine::begin(const QString& lockKey, QString* reason) {
    std::optional<PostgresStatement> lock;
    if (!lockKey.isEmpty()) {
        lock = PostgresStatement{
            QStringLiteral("SELECT pg_advisory_xact_lock(hashtextextended($1, 0))"), {lockKey}};
    }
    if (!m_connection.begin(lock).succeeded()) {
        *reason = m_connection.failureReason();
        return nullptr;
    }
    return std::make_unique<PostgresTransaction>(m_connection);
}

}  // namespace storage
