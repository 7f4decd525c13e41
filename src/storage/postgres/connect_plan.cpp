#include "storage/postgres/connect_plan.h"

#include <libpq-fe.h>

#include <QByteArrayList>
#include <QMap>
#include <algorithm>
#include <memory>

namespace storage {

namespace {

// The desk's defaults. A network that goes silent is noticed within about 11 s while the
// connection idles, and within 10 s while a statement is on its way (neither applies to a Unix
// socket); the server sees who connected unless told another name.
constexpr std::pair<const char*, const char*> kDeskDefaults[] = {
    {"connect_timeout", "5"},
    {"keepalives", "1"},
    {"keepalives_idle", "5"},
    {"keepalives_interval", "2"},
    {"keepalives_count", "3"},
    {"tcp_user_timeout", "10000"},
    {"fallback_application_name", PRODUCT_NAME},
};

// libpq checks the options' values only once it has read every place that may set them, and stops
// at a value it refuses before it contacts any host. It checks target_session_attrs last, so a
// refused one there means all the others were good; channel_binding comes earlier, so a refused one
// there shows target_session_attrs as the places set it.
constexpr const char* kStopValue = "491MX-stops-here";

struct FreeConnection {
    void operator()(PGconn* connection) const { PQfinish(connection); }
};

using Options = QMap<QByteArray, QByteArray>;

// Every option that the string, the service file or the environment sets, except stopKeyword,
// which stops libpq before it connects; nullopt and libpq's reason when something else stopped
// it first.
std::optional<Options> readOptions(const QByteArray& connectionString, const char* stopKeyword,
                                   QString* refusal) {
    const char* const keywords[] = {"dbname", stopKeyword, nullptr};
    const char* const values[] = {connectionString.constData(), kStopValue, nullptr};
    const std::unique_ptr<PGconn, FreeConnection> probe(PQconnectStartParams(keywords, values, 1));
    if (!probe) {
        *refusal = QStringLiteral("out of memory");
        return std::nullopt;
    }
    const QByteArray message = PQerrorMessage(probe.get());
    if (PQstatus(probe.get()) != CONNECTION_BAD || !message.contains(kStopValue)) {
        *refusal = QString::fromUtf8(message).simplified();
        return std::nullopt;
    }
    Options options;
    PQconninfoOption* read = PQconninfo(probe.get());
    for (const PQconninfoOption* option = read; option && option->keyword; ++option) {
        if (option->val != nullptr && option->val[0] != '\0' &&
            qstrcmp(option->keyword, stopKeyword) != 0) {
            options.insert(option->keyword, option->val);
        }
    }
    PQconninfoFree(read);
    return options;
}

// The i-th entry of a comma-separated list, where a list of one entry stands for every host.
QByteArray entry(const QByteArrayList& list, qsizetype i) {
    return list.size() == 1 ? list.front() : list.value(i);
}

bool isKnownSessionTarget(const QByteArray& target) {
    static const QByteArrayList known{"any",     "read-write", "read-only",
                                      "primary", "standby",    "prefer-standby"};
    return known.contains(target);
}

// libpq's own reading of connect_timeout: none or not positive waits for ever, and less than two
// seconds is taken as two.
std::optional<int> connectTimeoutSeconds(const QByteArray& value) {
    const int seconds = value.trimmed().toInt();
    if (seconds <= 0) {
        return std::nullopt;
    }
    return std::max(seconds, 2);
}

}  // namespace

ConnectPlan planConnection(const QByteArray& connectionString) {
    ConnectPlan plan;
    std::optional<Options> options =
        readOptions(connectionString, "target_session_attrs", &plan.refusal);
    const std::optional<Options> targetOptions =
        options ? readOptions(connectionString, "channel_binding", &plan.refusal) : std::nullopt;
    if (!targetOptions) {
        return plan;
    }
    const QByteArray target = targetOptions->value("target_session_attrs", "any");
    if (!isKnownSessionTarget(target)) {
        plan.refusal = QStringLiteral("invalid target_session_attrs value: \"%1\"")
                           .arg(QString::fromUtf8(target));
        return plan;
    }
    for (const auto& [keyword, value] : kDeskDefaults) {
        if (!options->contains(keyword)) {
            options->insert(keyword, value);
        }
    }
    options->insert("client_encoding", "UTF8");
    plan.timeoutSeconds = connectTimeoutSeconds(options->value("connect_timeout"));

    // libpq counts the hosts by hostaddr when it is given, else by host; it has checked that the
    // lists match.
    const QByteArrayList hosts = options->take("host").split(',');
    const QByteArrayList addresses = options->take("hostaddr").split(',');
    const QByteArrayList ports = options->take("port").split(',');
    const qsizetype hostCount = std::max(hosts.size(), addresses.size());
    const QByteArrayList targets =
        target == "prefer-standby" ? QByteArrayList{"standby", "any"} : QByteArrayList{target};
    for (const QByteArray& passTarget : targets) {
        for (qsizetype i = 0; i < hostCount; ++i) {
            ConnectAttempt attempt;
            for (auto option = options->cbegin(); option != options->cend(); ++option) {
                attempt.options.append({option.key(), option.value()});
            }
            const std::pair<QByteArray, QByteArray> place[] = {
                {"host", entry(hosts, i)},
                {"hostaddr", entry(addresses, i)},
                {"port", entry(ports, i)},
                {"target_session_attrs", passTarget},
            };
            for (const auto& [keyword, value] : place) {
                if (!value.isEmpty()) {
                    attempt.options.append({keyword, value});
                }
            }
            plan.attempts.append(attempt);
        }
    }
    return plan;
}

}  // namespace storage
