#include "storage/storage_engines.h"

#include "storage/postgres/engine.h"
#include "storage/sqlite/engine.h"

namespace storage {

namespace {

class UnusableEngine final : public StorageEngine {
public:
    explicit UnusableEngine(QString reason) : m_reason(std::move(reason)) {}

    QString description() const override { return QStringLiteral("数据库"); }
    bool prepare(const SchemaDefinition&, QString* reason) override { return refuse(reason); }
    void disconnect() override {}
    std::unique_ptr<RecordWalk> walk(const TableSchema&, const QList<int>&, RecordId,
                                     QString* reason) override {
        refuse(reason);
        return nullptr;
    }
    std::optional<RecordId> firstWithText(const TableSchema&, int, const QString&,
                                          QString* reason) override {
        refuse(reason);
        return std::nullopt;
    }
    bool sumPeriod(const PeriodQuery&, PeriodTotals*, QString* reason) override {
        return refuse(reason);
    }
    TransactionResult transact(const QString&, const std::function<bool(RecordWriter&)>&) override {
        return {TransactionOutcome::Failed, m_reason};
    }

private:
    bool refuse(QString* reason) const {
        *reason = m_reason;
        return false;
    }

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
