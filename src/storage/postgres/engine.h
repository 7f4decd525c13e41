#pragma once

#include <QString>
#include <chrono>
#include <optional>

#include "storage/postgres/connection.h"
#include "storage/storage_engine.h"

namespace storage {

// The shared engine: a database on a PostgreSQL server that several desks use at once. Every
// table carries an identity column after the program's fields that keeps stored order. A lock key
// becomes a transaction-scoped advisory lock, so saves of one inpatient number are serialised
// across desks while others go on. A connection lost in mid-work is made again by the next call.
class PostgresEngine final : public StorageEngine {
public:
    // uri is a checked libpq URI; description names the server for messages. lockTimeoutMs is
    // how long a transaction waits for a lock held by another desk.
    PostgresEngine(QString uri, QString description, int lockTimeoutMs);

    QString description() const override;
    void disconnect() override;

    // The identity column's name in every table.
    static const QString kIdentityColumn;

    // A statement may wait for a lock for the lock timeout; beyond that, the server gets this long
    // to answer before the desk gives up on it and says so.
    static constexpr std::chrono::milliseconds kAnswerMargin{5'000};
    // No transaction of the program idles between its statements for anywhere near this long.
    static constexpr std::chrono::milliseconds kIdleInTransactionTimeout{10'000};
    // The server ends a statement itself this long before the desk would give up on its answer,
    // so that its word that it is busy reaches the desk in time.
    static constexpr std::chrono::milliseconds kServerLimitMargin{2'000};

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

    // Sets the session's time zone to the desk's and gives its name; none when the server
    // cannot be asked.
    std::optional<QString> serverTimeZone();

    QString m_uri;
    QString m_description;
    int m_lockTimeoutMs;
    PostgresConnection m_connection;
};

}  // namespace storage
