#pragma once

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>
#include <utility>

// The plain SUM query that the engine itself runs, as the floor for the statistics run: count(*)
// and sum() of the 21 amounts a run adds up, as the engine holds them, over the whole table or
// over the receipts of a period, the dates compared by the engine.
class PlainSum {
public:
    using Period = std::optional<std::pair<QDateTime, QDateTime>>;

    // No period: the whole table.
    PlainSum(const QString& location, const Period& period);
    ~PlainSum();

    bool run(qint64* count);
    QString error() const { return m_error; }

private:
    struct Engine;
    std::unique_ptr<Engine> m_engine;
    QString m_error;
};
