#include "store/table.h"

#include <QDateTime>
#include <QStringList>
#include <limits>

#include "platform/sqlite_statement.h"
#include "store/database.h"
#include "store/record_filter.h"
#include "store/record_writer.h"
#include "store/schema.h"
#include "store/schema_setup.h"
#include "store/storage_failure.h"
#include "store/stored_date_time.h"

namespace store {

namespace {

using platform::SqliteStatement;
using platform::SqliteType;

constexpr qint64 kFromFirstRecord = std::numeric_limits<qint64>::min();

// The one statement of a walk: the given columns, in stored order, from a given record on.
// Column 0 is the rowid; the fields follow in the order given. A filtered walk passes over the
// records that fail its test inside SQLite, which reads no other column of them.
QString walkSql(const TableSchema& schema, const QList<int>& fields, int filterField) {
    QStringList columns{QStringLiteral("rowid")};
    for (const int field : fields) {
        columns.append(quotedIdentifier(schema.columns[field].name));
    }
    const QString filter = filterField < 0
                               ? QString()
                               : QStringLiteral(" AND %1(?2, %2)")
                                     .arg(QLatin1StringView(platform::kRowTestFunction),
                                          quotedIdentifier(schema.columns[filterField].name));
    return QStringLiteral("SELECT %1 FROM %2 WHERE rowid >= ?1%3 ORDER BY rowid")
        .arg(columns.join(QStringLiteral(", ")), quotedIdentifier(schema.name), filter);
}

// The first record with a text; an absent text counts as the empty text.
QString firstWithTextSql(const TableSchema& schema, const QString& column) {
    return QStringLiteral("SELECT min(rowid) FROM %1 WHERE %2 = ?1 OR (?1 = '' AND %2 IS NULL)")
        .arg(quotedIdentifier(schema.name), quotedIdentifier(column));
}

// A field of the current record, as the walk statement holds it.
class WalkColumn {
public:
    WalkColumn(const SqliteStatement& statement, int column)
        : m_statement(statement), m_column(column) {}

    platform::SqliteType type() const { return m_statement.columnType(m_column); }
    double toDouble() const { return m_statement.columnDouble(m_column); }
    QByteArrayView utf8() const { return m_statement.columnUtf8(m_column); }
    QString text() const { return m_statement.columnText(m_column); }

private:
    const SqliteStatement& m_statement;
    int m_column;
};

// The readers below take a WalkColumn, or a platform::SqliteValue when a filter tests a record.
//
// An absent amount reads as 0, which is what SQLite gives for NULL; a walk over every receipt
// reads 21 amounts per record, so amounts skip the type check.
template <typename Value>
std::optional<common::Money> amountOf(const Value& value, FieldKind kind) {
    if (kind != FieldKind::Amount) {
        return std::nullopt;
    }
    return common::Money::fromStoredReal(value.toDouble());
}

template <typename Value>
QVariant readValue(const Value& value, FieldKind kind, StoredDateTimeReader& dateTimes) {
    switch (kind) {
        case FieldKind::Text:
            return value.type() == SqliteType::Null ? QString() : value.text();
        case FieldKind::DateTime:
            return value.type() == SqliteType::Text ? dateTimes.read(value.utf8()) : QDateTime();
        case FieldKind::Amount:
            break;
    }
    return QVariant::fromValue(*amountOf(value, kind));
}

}  // namespace

struct Table::Cursor {
    const TableSchema* schema = nullptr;
    // For each field of the schema, its column in the walk statement; -1 when not opened.
    QList<int> walkColumns;
    // A filtered walk's test and the field it reads (-1 when the walk shows every record). The
    // walk statement points to rowTest, so it must be destroyed first.
    int filterField = -1;
    RecordFilter filter;
    platform::SqliteRowTest rowTest;
    std::unique_ptr<SqliteStatement> walk;
    std::unique_ptr<SqliteStatement> textLookup;
    mutable StoredDateTimeReader dateTimes;
    int textLookupField = -1;
    bool onRecord = false;
    qint64 rowid = 0;

    // The fields the walk fetches, every one when fieldNames is nullptr; in schema order.
    QList<int> chooseFields(const QStringList* fieldNames) {
        walkColumns = QList<int>(schema->columns.size(), -1);
        QList<int> fields;
        for (int field = 0; field < schema->columns.size(); ++field) {
            if (fieldNames == nullptr || fieldNames->contains(schema->columns[field].name)) {
                fields.append(field);
                walkColumns[field] = static_cast<int>(fields.size());
            }
        }
        return fields;
    }

    void setFilter(const RecordFilter& recordFilter) {
        filterField = schema->indexOf(recordFilter.fieldName);
        filter = recordFilter;
        const FieldKind kind = schema->columns[filterField].kind;
        rowTest = [this, kind](const platform::SqliteValue& value) {
            return filter.passes(readValue(value, kind, dateTimes));
        };
    }
};

Table::Table(Database& database) : m_database(database) {}

Table::~Table() {
    close();
}

bool Table::open(const QString& tableName) {
    return openWalk(tableName, nullptr, nullptr);
}

bool Table::open(const QString& tableName, const QStringList& fieldNames) {
    return openWalk(tableName, &fieldNames, nullptr);
}

bool Table::open(const QString& tableName, const QStringList& fieldNames,
                 const RecordFilter& filter) {
    return openWalk(tableName, &fieldNames, &filter);
}

bool Table::openWalk(const QString& tableName, const QStringList* fieldNames,
                     const RecordFilter* filter) {
    close();
    m_lastError.clear();
    const TableSchema* schema = schemaForTable(tableName);
    if (schema == nullptr) {
        m_lastError = QStringLiteral("没有名为“%1”的表。").arg(tableName);
        return false;
    }
    QStringList namedFields = fieldNames != nullptr ? *fieldNames : QStringList();
    if (filter != nullptr) {
        namedFields.append(filter->fieldName);
    }
    for (const QString& name : namedFields) {
        if (schema->indexOf(name) < 0) {
            m_lastError = QStringLiteral("表 %1 没有名为“%2”的字段。").arg(tableName, name);
            return false;
        }
    }
    auto cursor = std::make_unique<Cursor>();
    cursor->schema = schema;
    const QList<int> fields = cursor->chooseFields(fieldNames);
    if (filter != nullptr) {
        cursor->setFilter(*filter);
    }
    QSqlDatabase connection = m_database.openConnection(&m_lastError);
    if (!connection.isOpen()) {
        return false;
    }
    cursor->walk = std::make_unique<SqliteStatement>(connection,
                                                     walkSql(*schema, fields, cursor->filterField));
    if (!cursor->walk->isPrepared()) {
        m_lastError = databaseFileMessage(
            m_database.path(),
            sqliteFailureReason(cursor->walk->errorCode(), cursor->walk->errorText()));
        return false;
    }
    if (filter != nullptr) {
        cursor->walk->bindRowTest(2, &cursor->rowTest);
    }
    m_cursor = std::move(cursor);
    m_database.attach(this);
    goFirst();
    if (!m_lastError.isEmpty()) {
        close();
        return false;
    }
    return true;
}

void Table::goFirst() {
    seek(kFromFirstRecord);
}

void Table::skip() {
    if (m_cursor && m_cursor->onRecord) {
        advance();
    }
}

bool Table::pastLast() const {
    return !m_cursor || !m_cursor->onRecord;
}

bool Table::find(const std::function<bool(const Table&)>& condition) {
    for (; !pastLast(); skip()) {
        if (condition(*this)) {
            return true;
        }
    }
    return false;
}

bool Table::findFirstWithText(QStringView fieldName, const QString& text) {
    const int field = fieldIndex(fieldName);
    if (field < 0) {
        return false;
    }
    if (m_cursor->filterField >= 0) {
        m_lastError = QStringLiteral("表 %1 打开时只选了部分记录，不能按“%2”查找。")
                          .arg(m_cursor->schema->name, fieldName);
        return false;
    }
    Cursor& cursor = *m_cursor;
    if (cursor.textLookupField != field) {
        cursor.textLookup = std::make_unique<SqliteStatement>(
            m_database.openConnection(&m_lastError),
            firstWithTextSql(*cursor.schema, cursor.schema->columns[field].name));
        cursor.textLookupField = field;
    }
    SqliteStatement& lookup = *cursor.textLookup;
    lookup.bindText(1, text);
    const bool found = lookup.step() && lookup.columnType(0) != SqliteType::Null;
    const qint64 rowid = found ? lookup.columnInt64(0) : 0;
    if (lookup.errorCode() != 0) {
        m_lastError = databaseFileMessage(
            m_database.path(), sqliteFailureReason(lookup.errorCode(), lookup.errorText()));
    }
    lookup.reset();
    if (!found) {
        cursor.walk->reset();
        cursor.onRecord = false;
        return false;
    }
    seek(rowid);
    return !pastLast();
}

QVariant Table::readField(QStringView fieldName) const {
    return readField(fieldIndex(fieldName));
}

int Table::fieldIndex(QStringView fieldName) const {
    return m_cursor ? m_cursor->schema->indexOf(fieldName) : -1;
}

QVariant Table::readField(int fieldIndex) const {
    const int column = walkColumn(fieldIndex);
    if (column < 0) {
        return {};
    }
    return readValue(WalkColumn(*m_cursor->walk, column),
                     m_cursor->schema->columns[fieldIndex].kind, m_cursor->dateTimes);
}

std::optional<common::Money> Table::readAmount(int fieldIndex) const {
    const int column = walkColumn(fieldIndex);
    if (column < 0) {
        return std::nullopt;
    }
    return amountOf(WalkColumn(*m_cursor->walk, column),
                    m_cursor->schema->columns[fieldIndex].kind);
}

bool Table::appendRecord(const QVariantList& values) {
    return write(Write::Append, values);
}

bool Table::rewriteRecord(const QVariantList& values) {
    return write(Write::Rewrite, values);
}

void Table::close() {
    if (m_cursor) {
        m_cursor.reset();
        m_database.detach(this);
    }
}

bool Table::isOpen() const {
    return m_cursor != nullptr;
}

QString Table::lastError() const {
    return m_lastError;
}

int Table::walkColumn(int fieldIndex) const {
    if (!m_cursor || fieldIndex < 0 || fieldIndex >= m_cursor->walkColumns.size()) {
        return -1;
    }
    const int column = m_cursor->walkColumns[fieldIndex];
    if (column < 0) {
        m_lastError = QStringLiteral("表 %1 打开时没有选字段“%2”，读不到它。")
                          .arg(m_cursor->schema->name, m_cursor->schema->columns[fieldIndex].name);
        return -1;
    }
    return m_cursor->onRecord ? column : -1;
}

void Table::seek(qint64 firstRowid) {
    if (m_cursor) {
        m_cursor->walk->bindInt64(1, firstRowid);
        advance();
    }
}

void Table::advance() {
    Cursor& cursor = *m_cursor;
    cursor.onRecord = cursor.walk->step();
    if (cursor.onRecord) {
        cursor.rowid = cursor.walk->columnInt64(0);
    } else if (cursor.walk->errorCode() != 0) {
        m_lastError = databaseFileMessage(
            m_database.path(),
            sqliteFailureReason(cursor.walk->errorCode(), cursor.walk->errorText()));
    }
}

bool Table::checkWritable(Write kind, const QVariantList& values) {
    if (!m_cursor) {
        m_lastError = QStringLiteral("表没有打开，不能写入。");
        return false;
    }
    if (m_cursor->filterField >= 0) {
        m_lastError =
            QStringLiteral("表 %1 打开时只选了部分记录，不能写入。").arg(m_cursor->schema->name);
        return false;
    }
    if (values.size() != m_cursor->schema->columns.size()) {
        m_lastError = QStringLiteral("表 %1 的记录有 %2 个字段，写入的却是 %3 个。")
                          .arg(m_cursor->schema->name)
                          .arg(m_cursor->schema->columns.size())
                          .arg(values.size());
        return false;
    }
    if (kind == Write::Rewrite && !m_cursor->onRecord) {
        m_lastError = QStringLiteral("没有当前记录，不能修改。");
        return false;
    }
    return true;
}

bool Table::write(Write kind, const QVariantList& values) {
    m_lastError.clear();
    if (!checkWritable(kind, values)) {
        return false;
    }
    Cursor& cursor = *m_cursor;
    const bool wasOnRecord = cursor.onRecord;
    // The walk lets go of the file while it is written, and then finds its record again.
    cursor.walk->reset();
    QSqlDatabase connection = m_database.openConnection(&m_lastError);
    QString reason;
    const bool written =
        kind == Write::Append
            ? appendRow(connection, *cursor.schema, values, &reason)
            : rewriteRow(connection, *cursor.schema, cursor.rowid, values, &reason);
    if (wasOnRecord) {
        seek(cursor.rowid);
    } else {
        cursor.onRecord = false;
    }
    if (!written) {
        m_lastError = databaseWriteMessage(m_database.path(), reason);
    }
    return written;
}

bool findByInpatientNumber(Table& table, const QString& inpatientNumber) {
    return table.findFirstWithText(kInpatientNumberField, inpatientNumber);
}

}  // namespace store
