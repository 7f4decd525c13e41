#pragma once

#include "storage/schema_preparation.h"
#include "storage/sqlite/connection.h"

namespace storage {

// What an SQLite file holds of a schema, and the statements that add to it, on an open
// connection that outlives the catalog.
class SqliteCatalog final : public SchemaCatalog {
public:
    explicit SqliteCatalog(const SqliteConnection& connection) : m_connection(connection) {}

    bool columnsOf(const QString& table, QStringList* columns, QString* reason) override;
    bool hasIndex(const QString& name, bool* exists, QString* reason) override;
    bool run(const QString& sql, QString* reason) override;
    bool queryNumber(const QString& sql, qint64* number, QString* reason) override;

    QString sqlType(const Column& column) const override;
    // SQLite's numbers have no declared width.
    QString retypeColumnStatement(const QString&, const Column&) const override { return {}; }
    // The rowid keeps stored order.
    QString identityColumn() const override { return {}; }
    QString identityColumnDefinition() const override { return {}; }
    Qt::CaseSensitivity nameCase() const override { return Qt::CaseInsensitive; }
    // GLOB finds a beginning through the ordinary index, whose order is the text's bytes; an
    // ordinary index keeps equal values in rowid order.
    QString prefixIndexColumn(const QString&) const override { return {}; }
    QString orderIndexColumns(const QString&) const override { return {}; }
    // A file opened for reading only is not written; any other failure to write is told as it is.
    bool mayWrite(const QString& table, bool* writable, QString* reason) override;
    // Files have permissions rather than grants, and their failures say which is missing.
    QString missingGrant(const QString&) override { return {}; }
    // The program's statements find their index without statistics, and keep doing so.
    QString statisticsStatement(const QString&) const override { return {}; }

private:
    const SqliteConnection& m_connection;
};

}  // namespace storage
