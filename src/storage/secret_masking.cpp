#include "storage/secret_masking.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace storage {

namespace {

const QString kMask = QStringLiteral("***");

// libpq's keywords whose values name a place or a setting, never a secret.
bool isHarmlessKey(const QString& key) {
    static const QSet<QString> keys{
        QStringLiteral("host"),
        QStringLiteral("hostaddr"),
        QStringLiteral("port"),
        QStringLiteral("dbname"),
        QStringLiteral("user"),
        QStringLiteral("service"),
        QStringLiteral("passfile"),
        QStringLiteral("connect_timeout"),
        QStringLiteral("client_encoding"),
        QStringLiteral("application_name"),
        QStringLiteral("fallback_application_name"),
        QStringLiteral("keepalives"),
        QStringLiteral("keepalives_idle"),
        QStringLiteral("keepalives_interval"),
        QStringLiteral("keepalives_count"),
        QStringLiteral("tcp_user_timeout"),
        QStringLiteral("sslmode"),
        QStringLiteral("sslcert"),
        QStringLiteral("sslkey"),
        QStringLiteral("sslrootcert"),
        QStringLiteral("sslcrl"),
        QStringLiteral("gssencmode"),
        QStringLiteral("target_session_attrs"),
        QStringLiteral("load_balance_hosts"),
    };
    return keys.contains(key);
}

class Masker {
public:
    MaskedText result() const { return {m_text, m_hidden}; }

    void keep(QStringView part) { m_text += part; }
    void hide(QStringView part) {
        if (part.isEmpty()) {
            return;
        }
        m_text += kMask;
        m_hidden.append(part.toString());
    }
    // key=value, its value hidden unless the key is harmless; a part without = is hidden whole.
    void pair(QStringView part, bool percentEncoded) {
        const qsizetype equals = part.indexOf(u'=');
        if (equals < 0) {
            hide(part);
            return;
        }
        const QStringView key = part.first(equals);
        const QString readKey =
            percentEncoded ? QString::fromUtf8(QByteArray::fromPercentEncoding(key.toUtf8()))
                           : key.toString();
        keep(part.first(equals + 1));
        if (isHarmlessKey(readKey)) {
            keep(part.sliced(equals + 1));
        } else {
            hide(part.sliced(equals + 1));
        }
    }
    // scheme:[//]user:secret@host,host/dbname?key=value&key=value
    void uri(QStringView token, qsizetype afterScheme) {
        const qsizetype queryStart = token.indexOf(u'?');
        const QStringView base = queryStart < 0 ? token : token.first(queryStart);
        qsizetype authority = afterScheme;
        while (authority < base.size() && base[authority] == u'/') {
            ++authority;
        }
        // Up to the last @, as that hides the most when a password itself holds a / or an @.
        const qsizetype at = base.lastIndexOf(u'@');
        const qsizetype colon = at > authority ? base.first(at).indexOf(u':', authority) : -1;
        if (colon >= 0) {
            keep(base.first(colon + 1));
            hide(base.sliced(colon + 1, at - colon - 1));
            keep(base.sliced(at));
        } else {
            keep(base);
        }
        if (queryStart < 0) {
            return;
        }
        keep(u"?");
        const QStringView query = token.sliced(queryStart + 1);
        qsizetype start = 0;
        while (start <= query.size()) {
            qsizetype end = query.indexOf(u'&', start);
            if (end < 0) {
                end = query.size();
            }
            if (start > 0) {
                keep(u"&");
            }
            if (end > start) {
                pair(query.sliced(start, end - start), true);
            }
            start = end + 1;
        }
    }

private:
    QString m_text;
    QStringList m_hidden;
};

// Where a URI's scheme ends (after its colon) when the token starts like scheme:/ ; else -1.
qsizetype uriSchemeEnd(QStringView token) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:/"));
    const QRegularExpressionMatch match = scheme.match(token.toString());
    return match.hasMatch() ? match.capturedLength() - 1 : -1;
}

// The end of a value that starts at start: the next space, or the closing quote of a quoted
// value of libpq's key=value form ('it\'s').
qsizetype valueEnd(const QString& text, qsizetype start) {
    if (start >= text.size() || text[start] != u'\'') {
        qsizetype end = start;
        while (end < text.size() && !text[end].isSpace()) {
            ++end;
        }
        return end;
    }
    for (qsizetype end = start + 1; end < text.size(); ++end) {
        if (text[end] == u'\\') {
            ++end;
        } else if (text[end] == u'\'') {
            return end + 1;
        }
    }
    return text.size();
}

}  // namespace

MaskedText maskSecrets(const QString& text) {
    // key = value, as libpq's key=value form allows spaces around the =.
    static const QRegularExpression pairHead(QStringLiteral("([A-Za-z_][A-Za-z0-9_]*)\\s*=\\s*"));
    Masker masker;
    const QStringView all(text);
    qsizetype position = 0;
    while (position < text.size()) {
        if (text[position].isSpace()) {
            masker.keep(all.sliced(position, 1));
            ++position;
            continue;
        }
        const QRegularExpressionMatch head =
            pairHead.match(text, position, QRegularExpression::NormalMatch,
                           QRegularExpression::AnchorAtOffsetMatchOption);
        const qsizetype valueStart = head.hasMatch() ? head.capturedEnd() : position;
        const qsizetype end = valueEnd(text, valueStart);
        const QStringView value = all.sliced(valueStart, end - valueStart);
        if (head.hasMatch()) {
            masker.keep(head.capturedView());
        }
        const qsizetype schemeEnd = uriSchemeEnd(value);
        if (head.hasMatch() && !isHarmlessKey(head.captured(1))) {
            masker.hide(value);
        } else if (schemeEnd >= 0) {
            // dbname= may itself hold a whole address.
            masker.uri(value, schemeEnd);
        } else {
            masker.keep(value);
        }
        position = end;
    }
    return masker.result();
}

}  // namespace storage
