#pragma once

#include <QString>

#include "storage/file_use_lock.h"
#include "storage/sqlite/connection.h"
#include "storage/storage_engine.h"

namespace storage {

// The embedded engine: one SQLite file holds every table, in stored order by rowid. Writes are
// serialised for the whole file by an immediate transaction, whatever the lock key.
class SqliteEngine final : public StorageEngine {
public:
    // busyTimeoutMs is how long a statement waits for another program that holds the file.
    SqliteEngine(QString path, int busyTimeoutMs);

    QString description() const override;
    void disconnect() override;

private:
    bool connect(QString* reason) override;
    std::unique_ptr<SchemaCatalog> catalog() override;
    std::unique_ptr<RecordWalk> startWalk(const TableSchema& table, const QList<int>& openedFields,
                                          RecordId from) override;
    std::optional<RecordId> lookUpFirstWithText(const TableSchema& table, int field,
                                                const QString& text, QString* reason) override;
    bool sumConnectedPeriod(const PeriodQuery& query, PeriodTotals* totals,
                            QString* reason) override;
    std::unique_ptr<RecordWalk> startSelection(const RecordSelection& selection) override;
    const SearchDialect& searchDialect() const override;
    bool textConditionLeads(const RecordSearch& search) override;
    bool runSearchPage(const SqlStatement& page, const RecordSearch& search,
                       QList<FoundRecord>* found, QString* reason) override;
    bool runSearchTotals(const SqlStatement& totals, const RecordSearch& search,
                         SearchTotals* result, QString* reason) override;
    bool runGroupPage(const SqlStatement& page, const RecordGrouping& grouping,
                      QList<RecordGroup>* groups, QString* reason) override;
    std::unique_ptr<EngineTransaction> begin(const QString& lockKey, QString* reason) override;

    // Holds the file's use lock shared while it is open, so that no restore replaces it; false
    // while a restore is replacing it.
    bool markInUse(QString* reason);
    // Whether the period covers more than half of the days between the first and the last stored.
    bool coversMostStoredDays(const PeriodQuery& query);

    QString m_path;
    int m_busyTimeoutMs;
    // Let go of after the connection.
    FileUseLock m_useLock;
    SqliteConnection m_connection;
};

}  // namespace storage
