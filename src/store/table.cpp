#include "store/table.h"

#include <QDateTime>
#include <limits>

#include "store/database.h"
#include "store/schema.h"

namespace store {

namespace {

constexpr storage::RecordId kFromFirstRecord = std::numeric_limits<storage::RecordId>::min();

}  // namespace

struct Table::Cursor {
    const TableSchema* schema = nullptr;
    // The fields the walk reads, in schema order, and for each field of the schema its position
    // among them (-1 when not opened).
    QList<int> openedFields;
    QList<int> openedPosition;
    std::unique_ptr<storage::RecordWalk> walk;
    bool onRecord = false;
    storage::RecordId recordId = 0;

    void chooseFields(const QStringList* fieldNames) {
        openedPosition = QList<int>(schema->columns.size(), -1);
        for (int field = 0; field < schema->columns.size(); ++field) {
            if (fieldNames == nullptr || fieldNames->contains(schema->columns[field].name)) {
                openedPosition[field] = static_cast<int>(openedFields.size());
                openedFields.append(field);
            }
        }
    }
};

Table::Table(Database& database) : m_database(database) {}

Table::~Table() {
    close();
}

bool Table::open(const QString& tableName) {
    return open(tableName, {});
}

bool Table::open(const QString& tableName, const QStringList& fieldNames) {
    close();
    m_lastError.clear();
    const TableSchema* schema = schemaForTable(tableName);
    if (schema == nullptr) {
        m_lastError = QStringLiteral("没有名为“%1”的表。").arg(tableName);
        return false;
    }
    for (const QString& name : fieldNames) {
        if (schema->indexOf(name) < 0) {
            m_lastError = QStringLiteral("表 %1 没有名为“%2”的字段。").arg(tableName, name);
            return false;
        }
    }
    auto cursor = std::make_unique<Cursor>();
    cursor->schema = schema;
    cursor->chooseFields(fieldNames.isEmpty() ? nullptr : &fieldNames);
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
    QString reason;
    const std::optional<storage::RecordId> found =
        m_database.engine().firstWithText(*m_cursor->schema, field, text, &reason);
    if (!reason.isEmpty()) {
        m_lastError = m_database.unusableMessage(reason);
    }
    if (!found) {
        m_cursor->walk.reset();
        m_cursor->onRecord = false;
        return false;
    }
    return goToRecord(*found);
}

bool Table::goToRecord(storage::RecordId id) {
    if (!m_cursor) {
        return false;
    }
    seek(id);
    if (!pastLast() && m_cursor->recordId != id) {
        m_cursor->walk.reset();
        m_cursor->onRecord = false;
    }
    return !pastLast();
}

storage::RecordId Table::recordId() const {
    return pastLast() ? 0 : m_cursor->recordId;
}

QVariant Table::readField(QStringView fieldName) const {
    return readField(fieldIndex(fieldName));
}

int Table::fieldIndex(QStringView fieldName) const {
    return m_cursor ? m_cursor->schema->indexOf(fieldName) : -1;
}

QVariant Table::readField(int fieldIndex) const {
    if (!m_cursor || fieldIndex < 0 || fieldIndex >= m_cursor->openedPosition.size()) {
        return {};
    }
    const int position = m_cursor->openedPosition[fieldIndex];
    if (position < 0) {
        m_lastError = QStringLiteral("表 %1 打开时没有选字段“%2”，读不到它。")
                          .arg(m_cursor->schema->name, m_cursor->schema->columns[fieldIndex].name);
        return {};
    }
    return m_cursor->onRecord ? m_cursor->walk->value(position) : QVariant();
}

bool Table::appendRecord(const QVariantList& values) {
    if (!checkWritable(values, false)) {
        return false;
    }
    const TableSchema& table = *m_cursor->schema;
    return write(
        [&](storage::RecordWriter& writer) { return writer.insert(table, values).has_value(); });
}

bool Table::rewriteRecord(const QVariantList& values) {
    if (!checkWritable(values, true)) {
        return false;
    }
    const TableSchema& table = *m_cursor->schema;
    const storage::RecordId id = m_cursor->recordId;
    bool gone = false;
    const bool written = write([&](storage::RecordWriter& writer) {
        if (&table == &receiptSchema()) {
            std::optional<storage::RecordValues> replaced = writer.read(table, id);
            if (!replaced) {
                gone = true;
                return false;
            }
            replaced->append(QDateTime::currentDateTime());
            if (!writer.insert(receiptHistorySchema(), *replaced)) {
                return false;
            }
        }
        gone = !writer.update(table, id, values);
        return !gone;
    });
    if (gone && m_lastError.isEmpty()) {
        m_lastError = m_database.writeFailureMessage(QStringLiteral("要修改的记录已不存在"));
    }
    return written;
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

void Table::seek(storage::RecordId from) {
    if (!m_cursor) {
        return;
    }
    QString reason;
    m_cursor->walk =
        m_database.engine().walk(*m_cursor->schema, m_cursor->openedFields, from, &reason);
    if (!m_cursor->walk) {
        m_cursor->onRecord = false;
        m_lastError = m_database.unusableMessage(reason);
        return;
    }
    advance();
}

void Table::advance() {
    Cursor& cursor = *m_cursor;
    cursor.onRecord = cursor.walk->next();
    if (cursor.onRecord) {
        cursor.recordId = cursor.walk->recordId();
    } else if (!cursor.walk->error().isEmpty()) {
        m_lastError = m_database.unusableMessage(cursor.walk->error());
    }
}

bool Table::checkWritable(const QVariantList& values, bool needsRecord) {
    m_lastError.clear();
    if (!m_cursor) {
        m_lastError = QStringLiteral("表没有打开，不能写入。");
        return false;
    }
    if (values.size() != m_cursor->schema->columns.size()) {
        m_lastError = QStringLiteral("表 %1 的记录有 %2 个字段，写入的却是 %3 个。")
                          .arg(m_cursor->schema->name)
                          .arg(m_cursor->schema->columns.size())
                          .arg(values.size());
        return false;
    }
    if (needsRecord && !m_cursor->onRecord) {
        m_lastError = QStringLiteral("没有当前记录，不能修改。");
        return false;
    }
    return true;
}

bool Table::write(const std::function<bool(storage::RecordWriter&)>& work) {
    Cursor& cursor = *m_cursor;
    const bool wasOnRecord = cursor.onRecord;
    // The walk lets go of the data while it is written, and then finds its record again.
    cursor.walk.reset();
    const storage::TransactionResult result =
        m_database.engine().transact(cursor.schema->name, work);
    if (wasOnRecord) {
        seek(cursor.recordId);
    } else {
        cursor.onRecord = false;
    }
    if (result.outcome == storage::TransactionOutcome::Committed) {
        return true;
    }
    if (!result.reason.isEmpty()) {
        m_lastError = m_database.writeFailureMessage(result.reason);
    }
    return false;
}

bool findByInpatientNumber(Table& table, const QString& inpatientNumber) {
    return table.findFirstWithText(kInpatientNumberField, inpatientNumber);
}

}  // namespace store
