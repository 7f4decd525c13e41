#pragma once

#include <QString>
#include <optional>

namespace platform {

// Why hashPassword made nothing, in the user's words.
inline const QString kPasswordHashFailure = QStringLiteral("内存不足，无法计算密码的散列值");

// A password as libsodium's salted, slow, self-describing Argon2id string ($argon2id$...), made
// with limits that cost a fraction of a second; none when the memory for it could not be had.
std::optional<QString> hashPassword(const QString& password);

// Whether stored is a well-formed Argon2id string, as hashPassword writes it.
bool isPasswordHash(const QString& stored);

// Whether password is the one that made hash; false for anything that is not such a string.
bool passwordMatchesHash(const QString& password, const QString& hash);

}  // namespace platform
