#include "platform/postgres_engine.h"

#include <QStringList>
#include <algorithm>

#include "common/number_text.h"
#include "common/stored_date_time.h"
#include "platform/sql_names.h"

namespace platform {

const QString PostgresEngine::kIdentityColumn = QStringLiteral("序号");

namespace {

const QString kVersionTable = QStringLiteral("schema_version");
// Desks that start together on an empty database take turns at creating it.
const QString kSchemaLockKey = QStringLiteral("491MX schema");
constexpr int kWalkBatchRows = 500;

QString identity() {
    return quotedIdentifier(PostgresEngine::kIdentityColumn);
}

QString sqlType(FieldKind kind) {
    switch (kind) {
        case FieldKind::Text:
            return QStringLiteral("text");
        case FieldKind::DateTime:
            return QStringLiteral("timestamp(0)");
        case FieldKind::Amount:
            break;
    }
    return QStringLiteral("numeric(12,2)");
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

// numeric(12,2) comes as exact decimal text; a column of another number type may not.
common::Money amountOf(QByteArrayView text) {
    const QString decimal = QString::fromLatin1(text);
    return common::parseAmount(decimal).value_or(common::Money::fromStoredReal(decimal.toDouble()));
}

// An absent text reads as the empty text and an absent amount as 0, as on SQLite.
QVariant valueOf(const PostgresResult& result, int row, int column, FieldKind kind,
                 common::StoredDateTimeReader& dateTimes) {
    const bool absent = result.isNull(row, column);
    switch (kind) {
        case FieldKind::Text:
            return absent ? QString() : result.text(row, column);
        case FieldKind::DateTime:
            return absent ? QDateTime() : dateTimes.read(result.utf8(row, column));
        case FieldKind::Amount:
            break;
    }
    return QVariant::fromValue(absent ? common::Money() : amountOf(result.utf8(row, column)));
}

QString placeholders(int first, qsizetype count) {
    QStringList marks;
    for (int i = 0; i < count; ++i) {
        marks.append(QLatin1Char('$') + QString::number(first + i));
    }
    return marks.join(QStringLiteral(", "));
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
                 const QList<int>& openedFields)
        : m_connection(connection),
          m_sql(QStringLiteral("SELECT %1%2 FROM %3 WHERE %1 >= $1 ORDER BY %1 LIMIT %4")
                    .arg(identity(),
                         openedFields.isEmpty()
                             ? QString()
                             : QStringLiteral(", ") + quotedColumnList(table, openedFields),
                         quotedIdentifier(table.name))
                    .arg(kWalkBatchRows)) {
        for (const int field : openedFields) {
            m_kinds.append(table.columns[field].kind);
        }
    }

    // Fetches the first batch; false, with the reason, when the server refuses.
    bool start(RecordId from, QString* reason) {
        fetch(from);
        *reason = m_error;
        return m_error.isEmpty();
    }

    bool next() override {
        if (++m_row < m_batch.rowCount()) {
            return true;
        }
        if (m_lastBatch) {
            return false;
        }
        fetch(m_nextFrom);
        return m_row < m_batch.rowCount();
    }
    RecordId recordId() const override { return m_batch.text(m_row, 0).toLongLong(); }
    QVariant value(int openedField) const override {
        return valueOf(m_batch, m_row, openedField + 1, m_kinds[openedField], m_dateTimes);
    }
    QString error() const override { return m_error; }

private:
    void fetch(RecordId from) {
        m_batch = m_connection.run(m_sql, {QString::number(from)});
        m_row = -1;
        m_lastBatch = true;
        if (!m_batch.succeeded()) {
            m_error = m_connection.failureReason();
            return;
        }
        const int rows = m_batch.rowCount();
        m_lastBatch = rows < kWalkBatchRows;
        if (rows > 0) {
            m_nextFrom = m_batch.text(rows - 1, 0).toLongLong() + 1;
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

// The steps of one transaction. The first failure is kept; later steps are refused.
class PostgresWriter final : public RecordWriter {
public:
    explicit PostgresWriter(PostgresConnection& connection) : m_connection(connection) {}

    const QString& failure() const { return m_failure; }

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
        const PostgresResult result =
            run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING %4")
                    .arg(quotedIdentifier(table.name), quotedColumnList(table),
                         placeholders(1, table.columns.size()), identity()),
                recordParameters(table, values));
        if (result.rowCount() != 1) {
            return std::nullopt;
        }
        return result.text(0, 0).toLongLong();
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

private:
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
};

// What a database lacks of the schema.
struct Additions {
    QList<const TableDefinition*> tables;
    QList<std::pair<const TableSchema*, int>> indexes;
    bool versionTable = false;

    bool any() const { return !tables.isEmpty() || !indexes.isEmpty() || versionTable; }
    bool essential() const {
        return std::any_of(tables.begin(), tables.end(),
                           [](const TableDefinition* table) { return table->essential; });
    }
};

class SchemaInspection {
public:
    explicit SchemaInspection(PostgresConnection& connection) : m_connection(connection) {}

    bool inspect(const SchemaDefinition& schema, Additions* additions, QString* reason) {
        for (const TableDefinition& definition : schema.tables) {
            const TableSchema& table = *definition.schema;
            QStringList columns;
            if (!columnsOf(table.name, &columns, reason)) {
                return false;
            }
            if (columns.isEmpty()) {
                additions->tables.append(&definition);
            } else if (!checkColumns(table, columns, reason)) {
                return false;
            }
            for (const int field : definition.indexedFields) {
                const PostgresResult index = query(
                    QStringLiteral("SELECT 1 FROM pg_indexes WHERE schemaname = current_schema() "
                                   "AND indexname = $1"),
                    {indexName(table, field)}, reason);
                if (!index.succeeded()) {
                    return false;
                }
                if (index.rowCount() == 0) {
                    additions->indexes.append({&table, field});
                }
            }
        }
        QStringList versionColumns;
        if (!columnsOf(kVersionTable, &versionColumns, reason)) {
            return false;
        }
        additions->versionTable = versionColumns.isEmpty();
        return additions->versionTable || checkVersion(schema.version, reason);
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

    // No columns: the table does not exist.
    bool columnsOf(const QString& table, QStringList* columns, QString* reason) {
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

    static bool checkColumns(const TableSchema& table, const QStringList& existing,
                             QString* reason) {
        QStringList needed;
        for (const Column& column : table.columns) {
            needed.append(column.name);
        }
        needed.append(PostgresEngine::kIdentityColumn);
        for (const QString& column : needed) {
            if (!existing.contains(column)) {
                *reason = QStringLiteral("表 %1 缺少字段“%2”").arg(table.name, column);
                return false;
            }
        }
        return true;
    }

    bool checkVersion(int version, QString* reason) {
        const PostgresResult result = query(
            QStringLiteral("SELECT max(version) FROM %1").arg(quotedIdentifier(kVersionTable)), {},
            reason);
        if (!result.succeeded()) {
            return false;
        }
        if (result.rowCount() == 1 && result.text(0, 0).toInt() > version) {
            *reason = QStringLiteral("该数据库由较新版本的程序建立");
            return false;
        }
        return true;
    }

    PostgresConnection& m_connection;
};

bool run(PostgresConnection& connection, const QString& sql, QString* reason) {
    if (connection.run(sql).succeeded()) {
        return true;
    }
    *reason = connection.failureReason();
    return false;
}

bool addAll(PostgresConnection& connection, RecordWriter& writer, const Additions& additions,
            int version, QString* reason) {
    for (const TableDefinition* definition : additions.tables) {
        const TableSchema& table = *definition->schema;
        QStringList columns;
        for (const Column& column : table.columns) {
            columns.append(quotedIdentifier(column.name) + QLatin1Char(' ') + sqlType(column.kind));
        }
        columns.append(identity() +
                       QStringLiteral(" bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY"));
        if (!run(connection,
                 QStringLiteral("CREATE TABLE %1 (%2)")
                     .arg(quotedIdentifier(table.name), columns.join(QStringLiteral(", "))),
                 reason)) {
            return false;
        }
        QList<RecordValues> firstRecords;
        if (definition->firstRecords && !definition->firstRecords(&firstRecords, reason)) {
            return false;
        }
        for (const RecordValues& record : firstRecords) {
            if (!writer.insert(table, record)) {
                return false;
            }
        }
    }
    for (const auto& [table, field] : additions.indexes) {
        if (!run(connection,
                 QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                     .arg(quotedIdentifier(indexName(*table, field)), quotedIdentifier(table->name),
                          quotedIdentifier(table->columns[field].name)),
                 reason)) {
            return false;
        }
    }
    if (!additions.versionTable) {
        return true;
    }
    const QString versionTable = quotedIdentifier(kVersionTable);
    return run(connection,
               QStringLiteral("CREATE TABLE %1 (version integer NOT NULL)").arg(versionTable),
               reason) &&
           run(connection,
               QStringLiteral("INSERT INTO %1 (version) VALUES (%2)")
                   .arg(versionTable)
                   .arg(version),
               reason);
}

}  // namespace

PostgresEngine::PostgresEngine(QString uri, QString description, int lockTimeoutMs)
    : m_uri(std::move(uri)),
      m_description(std::move(description)),
      m_lockTimeoutMs(lockTimeoutMs) {}

QString PostgresEngine::description() const {
    return QStringLiteral("数据库服务器“%1”").arg(m_description);
}

bool PostgresEngine::connect(QString* reason) {
    if (m_connection.isOpen() && !m_connection.isConnectionLost()) {
        return true;
    }
    const bool connected =
        m_connection.isConnectionLost() ? m_connection.reconnect() : m_connection.open(m_uri);
    // Date-times go in and come out in the stored form, whatever the server's own habit.
    if (!connected || !m_connection.run(QStringLiteral("SET DateStyle = 'ISO, YMD'")).succeeded()) {
        *reason = m_connection.failureReason();
        m_connection.close();
        return false;
    }
    return true;
}

void PostgresEngine::disconnect() {
    m_connection.close();
}

bool PostgresEngine::prepare(const SchemaDefinition& schema, QString* reason) {
    if (!connect(reason)) {
        return false;
    }
    Additions additions;
    if (!SchemaInspection(m_connection).inspect(schema, &additions, reason)) {
        return false;
    }
    if (!additions.any()) {
        return true;
    }
    // Another desk may be creating the same at this moment: look again under the lock.
    const TransactionResult added = transact(kSchemaLockKey, [&](RecordWriter& writer) {
        Additions stillMissing;
        return SchemaInspection(m_connection).inspect(schema, &stillMissing, reason) &&
               addAll(m_connection, writer, stillMissing, schema.version, reason);
    });
    if (added.outcome == TransactionOutcome::Committed || !additions.essential()) {
        return true;
    }
    *reason =
        QStringLiteral("无法建立数据表（%1）").arg(added.reason.isEmpty() ? *reason : added.reason);
    return false;
}

std::unique_ptr<RecordWalk> PostgresEngine::walk(const TableSchema& table,
                                                 const QList<int>& openedFields, RecordId from,
                                                 QString* reason) {
    if (!connect(reason)) {
        return nullptr;
    }
    auto walk = std::make_unique<PostgresWalk>(m_connection, table, openedFields);
    if (!walk->start(from, reason)) {
        return nullptr;
    }
    return walk;
}

std::optional<RecordId> PostgresEngine::firstWithText(const TableSchema& table, int field,
                                                      const QString& text, QString* reason) {
    if (!connect(reason)) {
        return std::nullopt;
    }
    return runFirstWithText(m_connection, table, field, text, reason);
}

bool PostgresEngine::sumPeriod(const PeriodQuery& query, PeriodTotals* totals, QString* reason) {
    if (!connect(reason)) {
        return false;
    }
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

TransactionResult PostgresEngine::transact(const QString& lockKey,
                                           const std::function<bool(RecordWriter&)>& work) {
    QString reason;
    if (!connect(&reason)) {
        return {TransactionOutcome::Failed, reason};
    }
    PostgresWriter writer(m_connection);
    const bool begun =
        run(m_connection, QStringLiteral("BEGIN"), &reason) &&
        m_connection
            .run(QStringLiteral("SELECT set_config('lock_timeout', $1, true)"),
                 {QStringLiteral("%1ms").arg(m_lockTimeoutMs)})
            .succeeded() &&
        (lockKey.isEmpty() ||
         m_connection
             .run(QStringLiteral("SELECT pg_advisory_xact_lock(hashtextextended($1, 0))"),
                  {lockKey})
             .succeeded());
    TransactionResult result{TransactionOutcome::Committed, {}};
    if (!begun) {
        result = {TransactionOutcome::Failed, m_connection.failureReason()};
    } else if (const bool proceed = work(writer); !writer.failure().isEmpty()) {
        result = {TransactionOutcome::Failed, writer.failure()};
    } else if (!proceed) {
        result = {TransactionOutcome::Abandoned, {}};
    } else if (!m_connection.run(QStringLiteral("COMMIT")).succeeded()) {
        result = {m_connection.isConnectionLost() ? TransactionOutcome::Unknown
                                                  : TransactionOutcome::Failed,
                  m_connection.failureReason()};
    }
    if (m_connection.isInTransaction()) {
        m_connection.run(QStringLiteral("ROLLBACK"));
    }
    return result;
}

}  // namespace platform
