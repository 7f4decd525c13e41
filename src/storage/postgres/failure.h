#pragma once

#include <QString>

namespace storage {

// What went wrong between us and a PostgreSQL server, as far as libpq could tell.
struct PostgresFailure {
    enum class Kind {
        None,
        BadAddress,       // libpq cannot use the address, its service file or the environment
        Unreachable,      // no connection came about and the server said nothing
        PasswordMissing,  // the server asked for a password that none of libpq's places had
        ConnectionLost,   // a connection that was working is gone
        NoAnswer,         // the server did not answer a statement in time (detail: seconds)
        TextWithNul,      // a parameter held a NUL character, which a server text cannot store
        ServerError,      // the server refused; sqlState says why
    };

    Kind kind = Kind::None;
    QString sqlState;  // the server's five-character code; empty when the server said nothing
    QString detail;    // the server's or libpq's own text, one line
    QString host;      // where the connection went: a host name, an address or a socket folder
    QString port;
};

// The server in words for a message: user@host:port/dbname, leaving out what is empty; a missing
// host is this computer. Never carries a password.
QString postgresServerDescription(const QString& user, const QString& host, const QString& port,
                                  const QString& databaseName);

// Why the server could not be used, in words for the cashier; the server's own text is kept
// for failures without words of their own.
QString postgresFailureReason(const PostgresFailure& failure);

// The message for a database server that cannot be used, naming the server and the reason.
QString databaseServerMessage(const QString& serverDescription, const QString& reason);
// The message for a record that could not be written on the server.
QString databaseServerWriteMessage(const QString& serverDescription, const QString& reason);

}  // namespace storage
