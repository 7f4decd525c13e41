#include "storage/database_location.h"

#include <libpq-fe.h>

#include <QByteArray>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <memory>

#include "storage/postgres/failure.h"
#include "storage/secret_masking.h"

namespace storage {

namespace {

// Both forms of a server address that libpq reads, as the messages show them.
const QString kAddressExamples =
    QStringLiteral("postgresql://db1/billing?user=desk，或 host=db1 dbname=billing user=desk");

QString wherePasswordsGo() {
    return QStringLiteral("密码只能放在 ~/.pgpass、PGPASSWORD 环境变量或服务文件中");
}

bool hasControlCharacter(const QString& value) {
    return std::any_of(value.begin(), value.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The scheme of a value shaped like "scheme://...", else empty: such a value is never taken
// for a file path, so a mistyped server address cannot quietly become a new SQLite file.
QString uriScheme(const QString& value) {
    const qsizetype end = value.indexOf(QStringLiteral("://"));
    if (end <= 0 || !isAsciiLetter(value.front())) {
        return QString();
    }
    for (qsizetype i = 1; i < end; ++i) {
        const QChar c = value[i];
        if (!isAsciiLetter(c) && !c.isDigit() && c != u'+' && c != u'-' && c != u'.') {
            return QString();
        }
    }
    return value.left(end);
}

// libpq's other form, "keyword=value ...": a file path rarely starts with a word and '='.
bool looksLikeKeywordValues(const QString& value) {
    static const QRegularExpression pattern(QStringLiteral("^\\s*[A-Za-z_]+\\s*="));
    return pattern.match(value).hasMatch();
}

// A server address typed almost right: "postgresql:/db1/billing" with one slash, another scheme
// with a colon and a slash, or "db1:5432/billing". A file path takes none of these shapes, bar a
// drive letter, which is one letter.
bool looksLikeMistypedAddress(const QString& value) {
    static const QRegularExpression patterns[] = {
        QRegularExpression(QStringLiteral("^postgres[a-z]*:"),
                           QRegularExpression::CaseInsensitiveOption),
        QRegularExpression(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:/")),
        QRegularExpression(QStringLiteral("^[A-Za-z0-9.-]+:[0-9]+(/|$)")),
    };
    return std::any_of(
        std::begin(patterns), std::end(patterns),
        [&](const QRegularExpression& pattern) { return pattern.match(value).hasMatch(); });
}

// Whether the address writes a password as "user:secret@" before the first '/'. Such a secret
// stays in the settings file even when a later "password=" parameter empties it for libpq.
bool namesPasswordBeforeHost(const QString& uri) {
    if (!uri.contains(QStringLiteral("://"))) {
        return false;
    }
    const QString rest = uri.mid(uri.indexOf(QStringLiteral("://")) + 3);
    const QString authority = rest.left(rest.indexOf(u'/'));
    const qsizetype at = authority.indexOf(u'@');
    const qsizetype colon = authority.left(at).indexOf(u':');
    return at >= 0 && colon >= 0 && colon + 1 < at;
}

// Whether a URI that libpq could not read may still hold a password somewhere, so that neither
// it nor libpq's message (which quotes pieces of it) may be shown: "user:secret@" before the
// first '/', or a password= parameter, however percent-encoded.
bool mayCarryPassword(const QString& uri) {
    if (namesPasswordBeforeHost(uri)) {
        return true;
    }
    const QByteArray decoded = QByteArray::fromPercentEncoding(uri.toUtf8()).toLower();
    return decoded.contains("password");
}

bool isPortList(const QString& ports) {
    const QStringList entries = ports.split(u',');
    return std::all_of(entries.begin(), entries.end(), [](const QString& entry) {
        if (entry.isEmpty()) {
            return true;
        }
        bool isNumber = false;
        const int port = entry.toInt(&isNumber);
        return isNumber && entry.front().isDigit() && port >= 1 && port <= 65535;
    });
}

// The address with what may be a password hidden, and libpq's reason unless it quotes that.
QString unreadableUriMessage(const QString& uri, const QString& reason) {
    const MaskedText shown = maskSecrets(uri);
    const bool reasonQuotesSecret =
        std::any_of(shown.hidden.begin(), shown.hidden.end(),
                    [&reason](const QString& secret) { return reason.contains(secret); });
    return reasonQuotesSecret
               ? QStringLiteral("数据库服务器地址“%1”无法识别。").arg(shown.text)
               : QStringLiteral("数据库服务器地址“%1”无法识别：%2。").arg(shown.text, reason);
}

struct FreeOptions {
    void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};

// A postgresql:// URI or libpq's key=value string.
std::optional<DatabaseLocation> readServerAddress(const QString& uri, QString* error) {
    char* parseError = nullptr;
    const std::unique_ptr<PQconninfoOption, FreeOptions> options(
        PQconninfoParse(uri.toUtf8().constData(), &parseError));
    if (!options) {
        const QString reason = QString::fromUtf8(parseError).simplified();
        PQfreemem(parseError);
        if (mayCarryPassword(uri)) {
            *error = QStringLiteral("数据库服务器地址无法识别，而且其中似乎写了密码：%1。")
                         .arg(wherePasswordsGo());
        } else if (uri.contains(QStringLiteral("://"))) {
            *error = unreadableUriMessage(uri, reason) +
                     QStringLiteral("应写成 %1。").arg(kAddressExamples);
        } else {
            // A misspelt keyword may stand before a password: libpq's reason names only the
            // keyword, the value is not shown.
            *error = QStringLiteral("数据库服务器地址无法识别：%1。应写成 %2。")
                         .arg(reason, kAddressExamples);
        }
        return std::nullopt;
    }
    QHash<QString, QString> given;
    for (const PQconninfoOption* option = options.get(); option->keyword; ++option) {
        if (option->val != nullptr) {
            given.insert(QString::fromUtf8(option->keyword), QString::fromUtf8(option->val));
        }
    }
    QString host = given.value(QStringLiteral("host"));
    if (host.isEmpty()) {
        host = given.value(QStringLiteral("hostaddr"));
    }
    const QString service = given.value(QStringLiteral("service"));
    if (host.isEmpty() && !service.isEmpty()) {
        host = QStringLiteral("服务 %1").arg(service);
    }
    DatabaseLocation location{DatabaseLocation::Engine::PostgresServer, uri,
                              postgresServerDescription(given.value(QStringLiteral("user")), host,
                                                        given.value(QStringLiteral("port")),
                                                        given.value(QStringLiteral("dbname")))};
    // The rest of such an address may repeat the password anywhere, so none of it is shown.
    if (!given.value(QStringLiteral("password")).isEmpty() || namesPasswordBeforeHost(uri)) {
        *error = QStringLiteral("数据库服务器的地址里不能写密码：%1。").arg(wherePasswordsGo());
        return std::nullopt;
    }
    if (!isPortList(given.value(QStringLiteral("port")))) {
        *error = QStringLiteral("数据库服务器“%1”的端口应是 1 到 65535 之间的数。")
                     .arg(location.description);
        return std::nullopt;
    }
    return location;
}

}  // namespace

std::optional<DatabaseLocation> readDatabaseLocation(const QString& value, QString* error) {
    const QString trimmed = value.trimmed();
    if (trimmed.isEmpty()) {
        *error =
            QStringLiteral("没有指定数据库：请写数据库文件的路径，或数据库服务器地址（如 %1）。")
                .arg(kAddressExamples);
        return std::nullopt;
    }
    if (hasControlCharacter(value)) {
        *error = QStringLiteral("数据库的位置中含有换行符等控制字符，无法使用。");
        return std::nullopt;
    }
    if (looksLikeKeywordValues(value)) {
        return readServerAddress(value, error);
    }
    const QString scheme = uriScheme(trimmed);
    if (scheme.isEmpty() && looksLikeMistypedAddress(trimmed)) {
        *error = QStringLiteral(
                     "数据库的位置像是数据库服务器地址，但写法不对：服务器地址应写成 %1；"
                     "数据库文件请写它的路径，如 ./billing.sqlite。")
                     .arg(kAddressExamples);
        return std::nullopt;
    }
    if (scheme.isEmpty()) {
        return DatabaseLocation{DatabaseLocation::Engine::SqliteFile, value, value};
    }
    if (scheme != QLatin1StringView("postgresql") && scheme != QLatin1StringView("postgres")) {
        *error = QStringLiteral(
                     "不认识以“%1://”开头的地址：数据库服务器地址应写成 %2（postgresql:// 小写），"
                     "数据库文件请直接写路径。")
                     .arg(scheme, kAddressExamples);
        return std::nullopt;
    }
    if (trimmed != value) {
        *error = QStringLiteral("数据库服务器地址的前后不能有空格。");
        return std::nullopt;
    }
    return readServerAddress(value, error);
}

}  // namespace storage
