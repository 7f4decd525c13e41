#pragma once

#include <QDateTime>
#include <QString>
#include <memory>

// The plain SUM query over the receipts of a period that the engine itself runs, as the floor
// for the statistics run: count(*) and sum() of the 21 amounts a run adds up, the dates compared
// by the engine, the amounts summed as the engine holds them.
class PlainSum {
public:
    PlainSum(const QString& location, const QDateTime& first, const QDateTime& last);
    ~PlainSum();

    bool run(qint64* count);
    QString error() const { return m_error; }

private:
    struct Engine;
    std::unique_ptr<Engine> m_engine;
    QString m_error;
};
