#pragma once

#include <QString>
#include <memory>

// A query that the engine runs by itself, every value of every row read, as the floor for the
// same rows found by the program. Literals only: no parameters, no conversions of ours.
class PlainQuery {
public:
    // location as --database takes it; sql in the engine's own dialect, with that many columns.
    PlainQuery(const QString& location, const QString& sql, int columns);
    ~PlainQuery();

    // The number of rows in *rows; false with the reason in error().
    bool run(qint64* rows);
    QString error() const { return m_error; }

private:
    struct Engine;
    std::unique_ptr<Engine> m_engine;
    QString m_error;
};
