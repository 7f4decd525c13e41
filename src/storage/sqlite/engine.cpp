#include "storage/sqlite/engine.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <functional>

#include "common/private_files.h"
#include "common/stored_date_time.h"
#include "storage/schema_preparation.h"
#include "storage/sql_names.h"
#include "storage/sqlite/catalog.h"
#include "storage/sqlite/column_value.h"
#include "storage/sqlite/money_sum.h"
#include "storage/sqlite/period_sums.h"
#include "storage/sqlite/statement.h"

namespace storage {

namespace {

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
    // SQLite would make the file the link names, readable by everyone.
    if (info.isSymLink() && !info.exists()) {
        return QStringLiteral("这是指向不存在的文件的符号链接，程序不会通过它新建数据库文件");
    }
    if (!info.exists() && !common::makePrivateFolder(info.absolutePath())) {
        return QStringLiteral("无法建立文件夹“%1”")
            .arg(QDir::toNativeSeparators(info.absolutePath()));
    }
    return {};
}

// The file opened at the start is no longer at its path. Whatever is there now does not hold
// the receipts written so far: nothing is read from it or written into it.
QString movedFileReason(const QString& path) {
    if (!QFileInfo::exists(path)) {
        return QStringLiteral("它在程序运行时被删除或移走了，请把它放回原处");
    }
    return QStringLiteral(
        "它在程序运行时被另一个文件替换了；那是另一个数据库，程序不会往里写，"
        "请查明原因后重新启动程序");
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
        case FieldKind::Integer:
            statement.bindInt64(parameter, value.toLongLong());
            return;
    }
}

// This computer's clock in the stored form: a file has no clock but the desk's.
const QString kDatabaseTime = QStringLiteral("datetime('now', 'localtime')");

// Binds every field but skipped (-1: none) to the parameters in order.
void bindRecord(SqliteStatement& statement, const TableSchema& table, const RecordValues& values,
                int skipped = -1) {
    int parameter = 0;
    for (int i = 0; i < table.columns.size(); ++i) {
        if (i != skipped) {
            bindValue(statement, ++parameter, values.value(i), table.columns[i].kind);
        }
    }
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

// The records that satisfy condition, in stored order; bind gives the condition's parameters.
class SqliteWalk final : public RecordWalk {
public:
    SqliteWalk(const SqliteConnection& connection, const TableSchema& table,
               const QList<int>& openedFields, const QString& condition,
               const std::function<void(SqliteStatement&)>& bind)
        : m_statement(connection,
                      QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %3 ORDER BY rowid")
                          .arg(openedFields.isEmpty() ? QStringLiteral("NULL")
                                                      : quotedColumnList(table, openedFields),
                               quotedIdentifier(table.name), condition)) {
        for (const int field : openedFields) {
            m_kinds.append(table.columns[field].kind);
        }
        if (!m_statement.isPrepared()) {
            m_error = m_statement.failureReason();
            return;
        }
        bind(m_statement);
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

// The records a selection finds, read on that connection (defined below, by the engine's).
std::unique_ptr<RecordWalk> selectionWalk(const SqliteConnection& connection,
                                          const RecordSelection& selection);

// One immediate transaction. The first failure is kept; later steps are refused.
class SqliteTransaction final : public EngineTransaction {
public:
    SqliteTransaction(SqliteConnection& connection, const QString& path)
        : m_connection(connection), m_path(path) {}

    QString failure() const override { return m_failure; }

    TransactionResult commit() override {
        QString reason;
        if (!m_connection.execute("COMMIT", &reason)) {
            return {TransactionOutcome::Failed, reason};
        }
        return {TransactionOutcome::Committed, {}};
    }

    TransactionResult end(TransactionResult result) override {
        // A file deleted or replaced while it was written keeps what was written out of reach.
        if (m_connection.fileHasMoved()) {
            result = {TransactionOutcome::Failed, movedFileReason(m_path)};
        }
        if (result.outcome != TransactionOutcome::Committed) {
            QString ignored;
            m_connection.execute("ROLLBACK", &ignored);
        }
        return result;
    }

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
        return insertRecords({{&table, values}});
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

    std::optional<RecordId> insertRecords(const QList<NewRecord>& records) override {
        std::optional<RecordId> first;
        for (const NewRecord& record : records) {
            const TableSchema& table = *record.table;
            QStringList placeholders(table.columns.size(), QStringLiteral("?"));
            if (record.clockField >= 0) {
                placeholders[record.clockField] = kDatabaseTime;
            }
            SqliteStatement statement(
                m_connection, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(quotedIdentifier(table.name), quotedColumnList(table),
                                       placeholders.join(u',')));
            bindRecord(statement, table, record.values, record.clockField);
            if (!m_failure.isEmpty() || !statement.execute()) {
                fail(statement);
                return std::nullopt;
            }
            if (!first) {
                first = sqlite3_last_insert_rowid(m_connection.handle());
            }
        }
        return first;
    }

    // The identities travel as one JSON array, whatever their number.
    std::optional<qint64> markRecords(const TableSchema& table, const QList<RecordId>& ids,
                                      int field, qint64 expected, qint64 value) override {
        QStringList idTexts;
        for (const RecordId id : ids) {
            idTexts.append(QString::number(id));
        }
        const QString column = quotedIdentifier(table.columns[field].name);
        SqliteStatement statement(m_connection,
                                  QStringLiteral("UPDATE %1 SET %2 = ?1 WHERE %2 = ?2 AND rowid IN "
                                                 "(SELECT value FROM json_each(?3))")
                                      .arg(quotedIdentifier(table.name), column));
        statement.bindInt64(1, value);
        statement.bindInt64(2, expected);
        statement.bindText(3, u'[' + idTexts.join(u',') + u']');
        if (!m_failure.isEmpty() || !statement.execute()) {
            fail(statement);
            return std::nullopt;
        }
        return sqlite3_changes64(m_connection.handle());
    }

    std::optional<qint64> highest(const TableSchema& table, int field) override {
        SqliteStatement query(m_connection, QStringLiteral("SELECT max(%1) FROM %2")
                                                .arg(quotedIdentifier(table.columns[field].name),
                                                     quotedIdentifier(table.name)));
        if (!m_failure.isEmpty() || !query.step()) {
            fail(query);
            return std::nullopt;
        }
        return query.columnInt64(0);
    }

    bool select(const RecordSelection& selection, const TakeRecord& take) override {
        if (!m_failure.isEmpty()) {
            return false;
        }
        return takeEveryRecord(*selectionWalk(m_connection, selection),
                               selection.openedFields.size(), take, &m_failure);
    }

    // An immediate transaction already keeps every other desk's writes out until it ends.
    bool holdTable(const TableSchema&) override { return m_failure.isEmpty(); }
    // A writing transaction holds the whole file already.
    bool holdKey(const QString&) override { return m_failure.isEmpty(); }

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

    SqliteConnection& m_connection;
    QString m_path;
    QString m_failure;
};

}  // namespace

SqliteEngine::SqliteEngine(QString path, int busyTimeoutMs)
    : m_path(std::move(path)), m_busyTimeoutMs(busyTimeoutMs) {}

QString SqliteEngine::description() const {
    return QStringLiteral("数据库文件“%1”").arg(QDir::toNativeSeparators(m_path));
}

bool SqliteEngine::connect(QString* reason) {
    // The connection stays open on the file it opened, so that the file is found again if it
    // comes back to its path.
    if (m_connection.isOpen()) {
        if (m_connection.fileHasMoved()) {
            *reason = movedFileReason(m_path);
            return false;
        }
        return true;
    }
    const QString pathReason = unusablePathReason(m_path);
    if (!pathReason.isEmpty()) {
        *reason = pathReason;
        return false;
    }
    if (!markInUse(reason)) {
        return false;
    }
    // SQLite gives its journal the mode of the database file, so a private file keeps both so. A
    // file that cannot be made is reported by SQLite's own open.
    const bool readOnly = grantsNoWrite(m_path);
    if (!readOnly) {
        bool created = false;
        common::createPrivateFile(m_path, &created);
    }
    if (!m_connection.open(m_path, readOnly, m_busyTimeoutMs, reason) ||
        !addPeriodSumsFunction(m_connection, reason)) {
        m_connection.close();
        return false;
    }
    if (!addMoneySumFunction(m_connection, reason)) {
        m_connection.close();
        return false;
    }
    return true;
}

bool SqliteEngine::markInUse(QString* reason) {
    QString unavailable;
    switch (m_useLock.take(m_path, FileUseLock::Mode::Shared, &unavailable)) {
        case FileUseLock::Outcome::HeldOtherwise:
            *reason = QStringLiteral("它正在从备份恢复，请等恢复完成后再试");
            return false;
        case FileUseLock::Outcome::Unavailable:
            // A folder this program cannot write to holds a file it only reads: nothing replaces
            // that file from here.
        case FileUseLock::Outcome::Taken:
            break;
    }
    return true;
}

void SqliteEngine::disconnect() {
    m_connection.close();
    m_useLock.release();
}

std::unique_ptr<SchemaCatalog> SqliteEngine::catalog() {
    return std::make_unique<SqliteCatalog>(m_connection);
}

std::unique_ptr<RecordWalk> SqliteEngine::startWalk(const TableSchema& table,
                                                    const QList<int>& openedFields, RecordId from) {
    return std::make_unique<SqliteWalk>(
        m_connection, table, openedFields, QStringLiteral("rowid >= ?1"),
        [from](SqliteStatement& statement) { statement.bindInt64(1, from); });
}

namespace {

// The program writes every date-time in the stored form, whose text order is time order.
std::unique_ptr<RecordWalk> selectionWalk(const SqliteConnection& connection,
                                          const RecordSelection& selection) {
    const TableSchema& table = *selection.table;
    QStringList conditions{QStringLiteral("1")};
    for (const auto& [field, value] : selection.equalFields) {
        conditions.append(quotedIdentifier(table.columns[field].name) + QStringLiteral(" = ?"));
    }
    if (selection.dateField >= 0) {
        conditions.append(QStringLiteral("%1 >= ? AND %1 <= ?")
                              .arg(quotedIdentifier(table.columns[selection.dateField].name)));
    }
    if (selection.oneOfField >= 0) {
        conditions.append(QStringLiteral("%1 IN (%2)")
                              .arg(quotedIdentifier(table.columns[selection.oneOfField].name),
                                   QStringList(selection.oneOfValues.size(), QStringLiteral("?"))
                                       .join(QStringLiteral(", "))));
    }
    return std::make_unique<SqliteWalk>(
        connection, table, selection.openedFields, conditions.join(QStringLiteral(" AND ")),
        [&selection, &table](SqliteStatement& statement) {
            int parameter = 0;
            for (const auto& [field, value] : selection.equalFields) {
                bindValue(statement, ++parameter, value, table.columns[field].kind);
            }
            if (selection.dateField >= 0) {
                bindValue(statement, ++parameter, selection.first, FieldKind::DateTime);
                bindValue(statement, ++parameter, selection.last, FieldKind::DateTime);
            }
            for (const QVariant& value : selection.oneOfValues) {
                bindValue(statement, ++parameter, value, table.columns[selection.oneOfField].kind);
            }
        });
}

}  // namespace

std::unique_ptr<RecordWalk> SqliteEngine::startSelection(const RecordSelection& selection) {
    return selectionWalk(m_connection, selection);
}

std::optional<RecordId> SqliteEngine::lookUpFirstWithText(const TableSchema& table, int field,
                                                          const QString& text, QString* reason) {
    return runFirstWithText(m_connection, table, field, text, reason);
}

bool SqliteEngine::sumConnectedPeriod(const PeriodQuery& query, PeriodTotals* totals,
                                      QString* reason) {
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

// Writes to the file are serialised whatever the lock key.
std::unique_ptr<EngineTransaction> SqliteEngine::begin(const QString& /*lockKey*/,
                                                       QString* reason) {
    if (!m_connection.execute("BEGIN IMMEDIATE", reason)) {
        return nullptr;
    }
    return std::make_unique<SqliteTransaction>(m_connection, m_path);
}

}  // namespace storage
