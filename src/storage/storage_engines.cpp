#include "storage/storage_engines.h"

#include "storage/postgres/engine.h"
#include "storage/schema_preparation.h"
#include "storage/sqlite/engine.h"
#include "storage/sqlite/search.h"

namespace storage {

namespace {

// Refuses at the connection, so that none of the other hooks is ever reached.
class UnusableEngine final : public StorageEngine {
public:
    explicit UnusableEngine(QString reason) : m_reason(std::move(reason)) {}

    QString description() const override { return QStringLiteral("数据库"); }
    void disconnect() override {}

private:
    bool connect(QString* reason) override {
        *reason = m_reason;
        return false;
    }
    std::unique_ptr<SchemaCatalog> catalog() override { return nullptr; }
    std::unique_ptr<RecordWalk> startWalk(const TableSchema&, const QList<int>&,
                                          RecordId) override {
        return nullptr;
    }
    std::optional<RecordId> lookUpFirstWithText(const TableSchema&, int, const QString&,
                                                QString*) override {
        return std::nullopt;
    }
    bool sumConnectedPeriod(const PeriodQuery&, PeriodTotals*, QString*) override { return false; }
    std::unique_ptr<RecordWalk> startSelection(const RecordSelection&) override { return nullptr; }
    const SearchDialect& searchDialect() const override { return sqliteSearchDialect(); }
    bool textConditionLeads(const RecordSearch&) override { return false; }
    bool runSearchPage(const SqlStatement&, const RecordSearch&, QList<FoundRecord>*,
                       QString*) override {
        return false;
    }
    bool runSearchTotals(const SqlStatement&, const RecordSearch&, SearchTotals*,
                         QString*) override {
        return false;
    }
    bool runGroupPage(const SqlStatement&, const RecordGrouping&, QList<RecordGroup>*,
                      QString*) override {
        return false;
    }
    std::unique_ptr<EngineTransaction> begin(const QString&, QString*) override { return nullptr; }

    QString m_reason;
};

}  // namespace

std::unique_ptr<StorageEngine> makeStorageEngine(const DatabaseLocation& location,
                                                 int busyTimeoutMs) {
    if (location.engine == DatabaseLocation::Engine::PostgresServer) {
        return std::make_unique<PostgresEngine>(location.value, location.description,
                                                busyTimeoutMs);
    }
    return std::make_unique<SqliteEngine>(location.value, busyTimeoutMs);
}

std::unique_ptr<StorageEngine> makeUnusableEngine(const QString& reason) {
    return std::make_unique<UnusableEngine>(reason);
}

}  // namespace storage
