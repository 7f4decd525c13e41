#include "platform/password_hash.h"

#include <sodium.h>

#include <QByteArray>

namespace platform {

namespace {

// libsodium's limits for an interactive login, two passes over 64 MiB: one check takes between
// 50 and 500 ms on an office computer (bench/password_hash_bench.cpp), slow for a guesser and
// unnoticed by a cashier.
constexpr unsigned long long kPasses = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr size_t kMemoryBytes = crypto_pwhash_MEMLIMIT_INTERACTIVE;

bool sodiumReady() {
    // Safe to call from any thread, any number of times.
    return sodium_init() >= 0;
}

}  // namespace

std::optional<QString> hashPassword(const QString& password) {
    const QByteArray bytes = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (!sodiumReady() ||
        crypto_pwhash_str(hash, bytes.constData(), static_cast<unsigned long long>(bytes.size()),
                          kPasses, kMemoryBytes) != 0) {
        return std::nullopt;
    }
    return QString::fromLatin1(hash);
}

bool isPasswordHash(const QString& stored) {
    if (!stored.startsWith(QLatin1StringView(crypto_pwhash_argon2id_STRPREFIX)) || !sodiumReady()) {
        return false;
    }
    // Any cost will do; the answer is -1 only for a string that cannot be checked at all.
    return crypto_pwhash_argon2id_str_needs_rehash(stored.toLatin1().constData(), kPasses,
                                                   kMemoryBytes) >= 0;
}

bool passwordMatchesHash(const QString& password, const QString& hash) {
    if (!isPasswordHash(hash) || !sodiumReady()) {
        return false;
    }
    const QByteArray stored = hash.toLatin1();
    const QByteArray bytes = password.toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), bytes.constData(),
                                    static_cast<unsigned long long>(bytes.size())) == 0;
}

}  // namespace platform
