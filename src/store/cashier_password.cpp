#include "store/cashier_password.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>

#include "common/text.h"
#include "platform/password_hash.h"

namespace store {

namespace {

// The shapes of password hashes that other programs write. A text of such a shape is never
// taken for the password itself: typing the hash would open the login.
bool looksLikeForeignHash(const QString& stored) {
    static const std::array<QRegularExpression, 5> shapes{
        // crypt(3) and PHC strings: $1$, $2y$, $5$, $6$, $y$, $argon2i$, $scrypt$, $pbkdf2-sha256$
        QRegularExpression(QStringLiteral("^\\$[A-Za-z0-9-]+\\$.")),
        // Web frameworks' algorithm$...: pbkdf2_sha256$, bcrypt$, argon2$, pbkdf2:sha256:...$
        QRegularExpression(
            QStringLiteral("^(pbkdf2|bcrypt|argon2|scrypt|sha1|md5|unsalted_)[A-Za-z0-9_:]*\\$.")),
        // LDAP's {SSHA}..., {CRYPT}$6$...
        QRegularExpression(QStringLiteral("^\\{[A-Za-z0-9._-]+\\}.")),
        // MySQL's *<40 hex digits>
        QRegularExpression(QStringLiteral("^\\*[0-9A-Fa-f]{40}$")),
        // A bare MD5, SHA-1, SHA-224, SHA-256, SHA-384 or SHA-512 digest in hex
        QRegularExpression(QStringLiteral(
            "^(?=.*[0-9])(?=.*[A-Fa-f])([0-9A-Fa-f]{32}|[0-9A-Fa-f]{40}|[0-9A-Fa-f]{56}|"
            "[0-9A-Fa-f]{64}|[0-9A-Fa-f]{96}|[0-9A-Fa-f]{128})$")),
    };
    return std::any_of(shapes.begin(), shapes.end(), [&stored](const QRegularExpression& shape) {
        return shape.match(stored).hasMatch();
    });
}

}  // namespace

StoredPassword storedPasswordKind(const QString& stored) {
    if (platform::isPasswordHash(stored)) {
        return StoredPassword::Hash;
    }
    if (stored.isEmpty() || looksLikeForeignHash(stored)) {
        return StoredPassword::Unusable;
    }
    return StoredPassword::Plain;
}

bool passwordOpens(const QString& stored, const QString& typed) {
    switch (storedPasswordKind(stored)) {
        case StoredPassword::Hash:
            return platform::passwordMatchesHash(typed, stored);
        case StoredPassword::Plain:
            return common::textEquals(stored, typed);
        case StoredPassword::Unusable:
            break;
    }
    return false;
}

bool isInitialPassword(const QString& typed) {
    return common::textEquals(typed, kInitialPassword);
}

}  // namespace store
