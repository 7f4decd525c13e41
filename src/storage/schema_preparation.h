#pragma once

#include <QString>
#include <QStringList>

#include "storage/storage_engine.h"

namespace storage {

// What an engine tells of its database and does to it while its schema is prepared; the
// statements and the types are the engine's own.
class SchemaCatalog {
public:
    virtual ~SchemaCatalog() = default;

    // The table's columns in order; none when there is no such table.
    virtual bool columnsOf(const QString& table, QStringList* columns, QString* reason) = 0;
    virtual bool hasIndex(const QString& name, bool* exists, QString* reason) = 0;
    virtual bool run(const QString& sql, QString* reason) = 0;
    // The number in the first column of the first row a query gives; 0 for none or NULL.
    virtual bool queryNumber(const QString& sql, qint64* number, QString* reason) = 0;
    virtual QString sqlType(const Column& column) const = 0;
    // The statement that gives an existing column the type sqlType now gives it, for a database
    // made when the type was narrower; empty where the engine's types have no width.
    virtual QString retypeColumnStatement(const QString& table, const Column& column) const = 0;
    // The column every table has beyond the schema's, which keeps stored order, as its name and
    // its definition; empty where the engine keeps the order itself.
    virtual QString identityColumn() const = 0;
    virtual QString identityColumnDefinition() const = 0;
    // Whether the engine ignores the case of ASCII letters in names.
    virtual Qt::CaseSensitivity nameCase() const = 0;
    // What an index that finds a text column's values by their beginning (SearchDialect's
    // startsWith) is made on, and one that lists records by a column and then in stored order;
    // empty where the column's ordinary index does that.
    virtual QString prefixIndexColumn(const QString& quotedColumn) const = 0;
    virtual QString orderIndexColumns(const QString& quotedColumn) const = 0;

    // Whether this connection may add records to the table: false for a file or a server session
    // that can only be read, or a user who may only read the table.
    virtual bool mayWrite(const QString& table, bool* writable, QString* reason) = 0;
    // What an administrator must grant, or do, so that this connection can add the tables and
    // indexes the schema lacks beside the table; empty when no grant is missing.
    virtual QString missingGrant(const QString& table) = 0;
    // The statement that renews the planner's statistics of a table whose rows or indexes were
    // just added in bulk; empty where the engine plans without them.
    virtual QString statisticsStatement(const QString& quotedTable) const = 0;
};

// Creates what the database lacks of the schema and checks what it has: inspects it first, and,
// when something is missing, inspects it again and adds what is still missing in one transaction
// that holds lockKey, as another desk may be doing the same at this moment; a table that gained an
// index has its statistics renewed. A database that can only be read may lack a table that is not
// essential; one that can be written fails when it cannot get one, with the reason and what the
// administrator must grant.
bool prepareSchema(StorageEngine& engine, SchemaCatalog& catalog, const SchemaDefinition& schema,
                   const QString& lockKey, QString* reason);

// Checks, changing nothing, that a database could be prepared for the schema without losing
// anything: it has every essential table with all of its columns, and no newer program made it.
// What else it lacks (a history, an index, the version) its next preparation adds.
bool checkSchema(SchemaCatalog& catalog, const SchemaDefinition& schema, QString* reason);

}  // namespace storage
