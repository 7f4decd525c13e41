#pragma once

#include <QString>
#include <QStringList>
#include <memory>

// One SQL statement that the engine itself runs, with text parameters ($1, $2... in the order of
// their first use, which SQLite numbers the same way), as a floor for what the store does. Its
// rows are stepped through and dropped.
class PlainStatement {
public:
    // location as --database takes it.
    explicit PlainStatement(const QString& location);
    ~PlainStatement();

    // The number of rows the statement gave; -1 on failure (see error()).
    qint64 run(const QString& sql, const QStringList& parameters);
    QString error() const { return m_error; }

private:
    struct Engine;
    std::unique_ptr<Engine> m_engine;
    QString m_error;
};
