#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

namespace storage {

// One try at one host: libpq's keywords and values, in order.
struct ConnectAttempt {
    QList<std::pair<QByteArray, QByteArray>> options;
};

// How the desk connects to the server a connection string names: one attempt per host of its
// host list, each with a deadline of its own, in the order libpq would try them.
struct ConnectPlan {
    QList<ConnectAttempt> attempts;
    // Each attempt's deadline: connect_timeout as libpq reads it; none waits for ever.
    std::optional<int> timeoutSeconds;
    // libpq's reason when the string, the service file or the environment cannot be used; then
    // there are no attempts.
    QString refusal;
};

// The plan for a postgresql:// URI or key=value string. The options are those libpq makes of the
// string, the service file and the environment, so each attempt names one host and carries
// everything else unchanged; no host is contacted. The desk's safety defaults (keep-alives,
// tcp_user_timeout, connect_timeout) fill only keywords that none of them sets, the client encoding
// is always UTF8, and the server sees the application name 491MX unless told another.
// target_session_attrs=prefer-standby tries every host for a standby first, then any.
ConnectPlan planConnection(const QByteArray& connectionString);

}  // namespace storage
