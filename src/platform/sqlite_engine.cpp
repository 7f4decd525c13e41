#include "platform/sqlite_engine.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

#include "common/stored_date_time.h"
#include "platform/sql_names.h"
#include "platform/sqlite_period_sums.h"
#include "platform/sqlite_statement.h"

namespace platform {

namespace {

const QString kVersionTable = QStringLiteral("schema_version");

// Judged by the file's own permission bits: an administrator may write to anything, but a file
// marked read-only should stay as it is.
bool grantsNoWrite(const QString& path) {
    constexpr QFile::Permissions kAnyWrite =
        QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    const QFileInfo info(path);
    return info.exists() && (info.permissions() & kAnyWrite) == 0;
}

// Why the file cannot even be handed to SQLite; empty when it can.
QString unusablePathReason(const QString& path) {
    if (path.isEmpty()) {
        return QStringLiteral("没有给出文件名");
    }
    const QFileInfo info(path);
    if (info.isDir()) {
        return QStringLiteral("这是一个文件夹，不是文件");
    }
    if (!info.exists() && !QDir().mkpath(info.absolutePath())) {
        return QStringLiteral("无法建立文件夹“%1”")
            .arg(QDir::toNativeSeparators(info.absolutePath()));
    }
    return {};
}

QString sqlType(FieldKind kind) {
    return kind == FieldKind::Amount ? QStringLiteral("REAL") : QStringLiteral("TEXT");
}

void bindValue(SqliteStatement& statement, int parameter, const QVariant& value, FieldKind kind) {
    switch (kind) {
        case FieldKind::Text:
            statement.bindText(parameter, value.toString());
            return;
        case FieldKind::DateTime: {
            const QDateTime dateTime = value.toDateTime();
            if (dateTime.isValid()) {
                statement.bindText(parameter, common::toStoredDateTime(dateTime));
            } else {
                statement.bindNull(parameter);
            }
            return;
        }
        case FieldKind::Amount:
            statement.bindDouble(parameter, value.value<common::Money>().toStoredReal());
            return;
    }
}

void bindRecord(SqliteStatement& statement, const TableSchema& table, const RecordValues& values) {
    for (int i = 0; i < table.columns.size(); ++i) {
        bindValue(statement, i + 1, values.value(i), table.columns[i].kind);
    }
}

// An absent text reads as the empty text and an absent amount as 0, as SQLite gives NULL.
QVariant columnValue(const SqliteStatement& statement, int column, FieldKind kind,
                     common::StoredDateTimeReader& dateTimes) {
    switch (kind) {
        case FieldKind::Text:
            return statement.columnType(column) == SqliteType::Null ? QString()
                                                                    : statement.columnText(column);
        case FieldKind::DateTime:
            return statement.columnType(column) == SqliteType::Text
                       ? dateTimes.read(statement.columnUtf8(column))
                       : QDateTime();
        case FieldKind::Amount:
            break;
    }
    return QVariant::fromValue(common::Money::fromStoredReal(statement.columnDouble(column)));
}

QString firstWithTextSql(const TableSchema& table, int field) {
    const QString column = quotedIdentifier(table.columns[field].name);
    return QStringLiteral("SELECT min(rowid) FROM %1 WHERE %2 = ?1 OR (?1 = '' AND %2 IS NULL)")
        .arg(quotedIdentifier(table.name), column);
}

std::optional<RecordId> runFirstWithText(const SqliteConnection& connection,
                                         const TableSchema& table, int field, const QString& text,
                                         QString* reason) {
    SqliteStatement lookup(connection, firstWithTextSql(table, field));
    lookup.bindText(1, text);
    const bool found = lookup.step() && lookup.columnType(0) != SqliteType::Null;
    if (lookup.errorCode() != 0 || !lookup.isPrepared()) {
        *reason = lookup.failureReason();
        return std::nullopt;
    }
    return found ? std::optional<RecordId>(lookup.columnInt64(0)) : std::nullopt;
}

class SqliteWalk final : public RecordWalk {
public:
    SqliteWalk(const SqliteConnection& connection, const TableSchema& table,
               const QList<int>& openedFields)
        : m_statement(connection,
                      QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid >= ?1 ORDER BY rowid")
                          .arg(openedFields.isEmpty() ? QStringLiteral("NULL")
                                                      : quotedColumnList(table, openedFields),
                               quotedIdentifier(table.name))) {
        for (const int field : openedFields) {
            m_kinds.append(table.columns[field].kind);
        }
    }

    bool start(RecordId from, QString* reason) {
        if (!m_statement.isPrepared()) {
            *reason = m_statement.failureReason();
            return false;
        }
        m_statement.bindInt64(1, from);
        return true;
    }

    bool next() override {
        if (m_statement.step()) {
            return true;
        }
        m_error = m_statement.failureReason();
        return false;
    }
    RecordId recordId() const override { return m_statement.columnInt64(0); }
    QVariant value(int openedField) const override {
        return columnValue(m_statement, openedField + 1, m_kinds[openedField], m_dateTimes);
    }
    QString error() const override { return m_error; }

private:
    SqliteStatement m_statement;
    QList<FieldKind> m_kinds;
    mutable common::StoredDateTimeReader m_dateTimes;
    QString m_error;
};

// The steps of one immediate transaction. The first failure is kept; later steps are refused.
class SqliteWriter final : public RecordWriter {
public:
    explicit SqliteWriter(const SqliteConnection& connection) : m_connection(connection) {}

    const QString& failure() const { return m_failure; }

    std::optional<RecordId> firstWithText(const TableSchema& table, int field,
                                          const QString& text) override {
        if (!m_failure.isEmpty()) {
            return std::nullopt;
        }
        return runFirstWithText(m_connection, table, field, text, &m_failure);
    }

    std::optional<RecordValues> read(const TableSchema& table, RecordId id) override {
        SqliteStatement query(m_connection,
                              QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?1")
                                  .arg(quotedColumnList(table), quotedIdentifier(table.name)));
        query.bindInt64(1, id);
        if (!m_failure.isEmpty() || !query.step()) {
            fail(query);
            return std::nullopt;
        }
        RecordValues values;
        common::StoredDateTimeReader dateTimes;
        for (int i = 0; i < table.columns.size(); ++i) {
            values.append(columnValue(query, i, table.columns[i].kind, dateTimes));
        }
        return values;
    }

    std::optional<RecordId> insert(const TableSchema& table, const RecordValues& values) override {
        SqliteStatement statement(
            m_connection,
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(quotedIdentifier(table.name), quotedColumnList(table),
                     QStringList(table.columns.size(), QStringLiteral("?")).join(u',')));
        bindRecord(statement, table, values);
        if (!m_failure.isEmpty() || !statement.execute()) {
            fail(statement);
            return std::nullopt;
        }
        return sqlite3_last_insert_rowid(m_connection.handle());
    }

    bool update(const TableSchema& table, RecordId id, const RecordValues& values) override {
        QStringList assignments;
        for (const Column& column : table.columns) {
            assignments.append(quotedIdentifier(column.name) + QStringLiteral(" = ?"));
        }
        SqliteStatement statement(m_connection, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                                    .arg(quotedIdentifier(table.name),
                                                         assignments.join(QStringLiteral(", "))));
        bindRecord(statement, table, values);
        statement.bindInt64(static_cast<int>(table.columns.size()) + 1, id);
        return runChange(statement);
    }

    bool remove(const TableSchema& table, RecordId id) override {
        SqliteStatement statement(
            m_connection,
            QStringLiteral("DELETE FROM %1 WHERE rowid = ?1").arg(quotedIdentifier(table.name)));
        statement.bindInt64(1, id);
        return runChange(statement);
    }

private:
    // A change of one record: false when it is gone.
    bool runChange(SqliteStatement& statement) {
        if (!m_failure.isEmpty() || !statement.execute()) {
            fail(statement);
            return false;
        }
        return sqlite3_changes(m_connection.handle()) == 1;
    }

    // A statement that merely found nothing is no failure.
    void fail(const SqliteStatement& statement) {
        if (m_failure.isEmpty() && (statement.errorCode() != 0 || !statement.isPrepared())) {
            m_failure = statement.failureReason();
        }
    }

    const SqliteConnection& m_connection;
    QString m_failure;
};

// What a file lacks of the schema.
struct Additions {
    QList<const TableDefinition*> tables;
    QList<std::pair<const TableSchema*, int>> indexes;
    bool versionTable = false;

    bool any() const { return !tables.isEmpty() || !indexes.isEmpty() || versionTable; }
    // Without an essential table there is no program; an index or a history is a convenience
    // that a read-only file may lack.
    bool essential() const {
        return std::any_of(tables.begin(), tables.end(),
                           [](const TableDefinition* table) { return table->essential; });
    }
};

class SchemaInspection {
public:
    explicit SchemaInspection(const SqliteConnection& connection) : m_connection(connection) {}

    bool inspect(const SchemaDefinition& schema, Additions* additions, QString* reason) {
        for (const TableDefinition& definition : schema.tables) {
            const TableSchema& table = *definition.schema;
            bool exists = false;
            if (!hasObject(QStringLiteral("table"), table.name, &exists, reason)) {
                return false;
            }
            if (!exists) {
                additions->tables.append(&definition);
            } else if (!checkColumns(table, reason)) {
                return false;
            }
            for (const int field : definition.indexedFields) {
                if (!hasObject(QStringLiteral("index"), indexName(table, field), &exists, reason)) {
                    return false;
                }
                if (!exists) {
                    additions->indexes.append({&table, field});
                }
            }
        }
        bool exists = false;
        if (!hasObject(QStringLiteral("table"), kVersionTable, &exists, reason)) {
            return false;
        }
        additions->versionTable = !exists;
        return exists ? checkVersion(schema.version, reason) : true;
    }

private:
    // SQLite ignores ASCII case in names.
    bool hasObject(const QString& type, const QString& name, bool* exists, QString* reason) {
        SqliteStatement query(m_connection,
                              QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = ?1 "
                                             "AND name = ?2 COLLATE NOCASE"));
        query.bindText(1, type);
        query.bindText(2, name);
        if (!query.step()) {
            *reason = query.failureReason();
            return false;
        }
        *exists = query.columnInt64(0) > 0;
        return true;
    }

    bool checkColumns(const TableSchema& table, QString* reason) {
        SqliteStatement query(m_connection,
                              QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
        query.bindText(1, table.name);
        QStringList existing;
        while (query.step()) {
            existing.append(query.columnText(0));
        }
        if (query.errorCode() != 0 || !query.isPrepared()) {
            *reason = query.failureReason();
            return false;
        }
        for (const Column& column : table.columns) {
            if (!existing.contains(column.name, Qt::CaseInsensitive)) {
                *reason = QStringLiteral("表 %1 缺少字段“%2”").arg(table.name, column.name);
                return false;
            }
        }
        return true;
    }

    bool checkVersion(int version, QString* reason) {
        SqliteStatement query(
            m_connection,
            QStringLiteral("SELECT max(version) FROM %1").arg(quotedIdentifier(kVersionTable)));
        if (!query.step()) {
            *reason = query.failureReason();
            return false;
        }
        if (query.columnInt64(0) > version) {
            *reason = QStringLiteral("该文件由较新版本的程序建立");
            return false;
        }
        return true;
    }

    const SqliteConnection& m_connection;
};

bool run(const SqliteConnection& connection, const QString& sql, QString* reason) {
    SqliteStatement statement(connection, sql);
    if (statement.execute()) {
        return true;
    }
    *reason = statement.failureReason();
    return false;
}

bool addAll(const SqliteConnection& connection, const Additions& additions, int version,
            QString* reason) {
    SqliteWriter writer(connection);
    for (const TableDefinition* definition : additions.tables) {
        const TableSchema& table = *definition->schema;
        QStringList columns;
        for (const Column& column : table.columns) {
            columns.append(quotedIdentifier(column.name) + QLatin1Char(' ') + sqlType(column.kind));
        }
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
                *reason = writer.failure();
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
               QStringLiteral("CREATE TABLE %1 (version INTEGER NOT NULL)").arg(versionTable),
               reason) &&
           run(connection,
               QStringLiteral("INSERT INTO %1 (version) VALUES (%2)")
                   .arg(versionTable)
                   .arg(version),
               reason);
}

}  // namespace

SqliteEngine::SqliteEngine(QString path, int busyTimeoutMs)
    : m_path(std::move(path)), m_busyTimeoutMs(busyTimeoutMs) {}

QString SqliteEngine::description() const {
    return QStringLiteral("数据库文件“%1”").arg(QDir::toNativeSeparators(m_path));
}

bool SqliteEngine::connect(QString* reason) {
    if (m_connection.isOpen()) {
        return true;
    }
    const QString pathReason = unusablePathReason(m_path);
    if (!pathReason.isEmpty()) {
        *reason = pathReason;
        return false;
    }
    // A receipt that was reported as saved must survive a power cut.
    if (!m_connection.open(m_path, grantsNoWrite(m_path), m_busyTimeoutMs, reason) ||
        !m_connection.execute("PRAGMA synchronous = FULL", reason) ||
        !addPeriodSumsFunction(m_connection, reason)) {
        m_connection.close();
        return false;
    }
    return true;
}

void SqliteEngine::disconnect() {
    m_connection.close();
}

bool SqliteEngine::prepare(const SchemaDefinition& schema, QString* reason) {
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
    // Another desk may be adding the same at this moment: look again under the write lock.
    const TransactionResult added = transact({}, [&](RecordWriter&) {
        Additions stillMissing;
        return SchemaInspection(m_connection).inspect(schema, &stillMissing, reason) &&
               addAll(m_connection, stillMissing, schema.version, reason);
    });
    if (added.outcome == TransactionOutcome::Committed) {
        return true;
    }
    if (!additions.essential()) {
        return true;
    }
    *reason =
        QStringLiteral("无法建立数据表（%1）").arg(added.reason.isEmpty() ? *reason : added.reason);
    return false;
}

std::unique_ptr<RecordWalk> SqliteEngine::walk(const TableSchema& table,
                                               const QList<int>& openedFields, RecordId from,
                                               QString* reason) {
    if (!connect(reason)) {
        return nullptr;
    }
    auto walk = std::make_unique<SqliteWalk>(m_connection, table, openedFields);
    if (!walk->start(from, reason)) {
        return nullptr;
    }
    return walk;
}

std::optional<RecordId> SqliteEngine::firstWithText(const TableSchema& table, int field,
                                                    const QString& text, QString* reason) {
    if (!connect(reason)) {
        return std::nullopt;
    }
    return runFirstWithText(m_connection, table, field, text, reason);
}

bool SqliteEngine::sumPeriod(const PeriodQuery& query, PeriodTotals* totals, QString* reason) {
    if (!connect(reason)) {
        return false;
    }
    const TableSchema& table = *query.table;
    const QString date = quotedIdentifier(table.columns[query.dateField].name);
    // The date range by text finds every record stored on one of the days, and the function then
    // compares the full date-times. A period that covers most of the stored days is read in one
    // pass over the table, in the order of its pages; a shorter one through the index on the date.
    const QString noIndex = coversMostStoredDays(query) ? QStringLiteral("+") : QString();
    SqliteStatement sum(
        m_connection, QStringLiteral("SELECT %1(?1, %2, %3) FROM %4 WHERE %5%2 >= ?2 AND %5%2 < ?3")
                          .arg(QLatin1StringView(kPeriodSumsFunction), date,
                               quotedColumnList(table, query.amountFields),
                               quotedIdentifier(table.name), noIndex));
    PeriodAccumulator period(query.first, query.last, static_cast<int>(query.amountFields.size()));
    const QString dayFormat = QStringLiteral("yyyy-MM-dd");
    sum.bindPointer(1, &period, kPeriodSumsPointerType);
    sum.bindText(2, query.first.date().toString(dayFormat));
    sum.bindText(3, query.last.date().addDays(1).toString(dayFormat));
    if (!sum.step()) {
        *reason = sum.failureReason();
        return false;
    }
    totals->count = period.count;
    totals->sums = QList<common::Money>(period.sums.begin(), period.sums.end());
    return true;
}

bool SqliteEngine::coversMostStoredDays(const PeriodQuery& query) {
    const QString date = quotedIdentifier(query.table->columns[query.dateField].name);
    const QString table = quotedIdentifier(query.table->name);
    // Each of the two looks at one end of the index.
    SqliteStatement ends(m_connection,
                         QStringLiteral("SELECT (SELECT min(%1) FROM %2), (SELECT max(%1) FROM %2)")
                             .arg(date, table));
    if (!ends.step()) {
        return false;
    }
    const QDate earliest = common::fromStoredDateTime(ends.columnUtf8(0)).date();
    const QDate latest = common::fromStoredDateTime(ends.columnUtf8(1)).date();
    if (!earliest.isValid() || !latest.isValid()) {
        return false;
    }
    const QDate from = std::max(earliest, query.first.date());
    const QDate to = std::min(latest, query.last.date());
    return from <= to && 2 * (from.daysTo(to) + 1) > earliest.daysTo(latest) + 1;
}

TransactionResult SqliteEngine::transact(const QString& /*lockKey*/,
                                         const std::function<bool(RecordWriter&)>& work) {
    QString reason;
    if (!connect(&reason) || !m_connection.execute("BEGIN IMMEDIATE", &reason)) {
        return {TransactionOutcome::Failed, reason};
    }
    SqliteWriter writer(m_connection);
    const bool proceed = work(writer);
    TransactionResult result{TransactionOutcome::Committed, {}};
    if (!writer.failure().isEmpty()) {
        result = {TransactionOutcome::Failed, writer.failure()};
    } else if (!proceed) {
        result = {TransactionOutcome::Abandoned, {}};
    } else if (!m_connection.execute("COMMIT", &reason)) {
        result = {TransactionOutcome::Failed, reason};
    }
    if (result.outcome != TransactionOutcome::Committed) {
        QString ignored;
        m_connection.execute("ROLLBACK", &ignored);
    }
    return result;
}

}  // namespace platform
