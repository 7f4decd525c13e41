#include "store/cashier_password.h"

#include "common/text.h"
#include "platform/password_hash.h"

namespace store {

bool passwordOpens(const QString& stored, const QString& typed) {
    // Typing the stored hash itself must not open it.
    if (platform::isPasswordHash(stored)) {
        return platform::passwordMatchesHash(typed, stored);
    }
    return common::textEquals(stored, typed);
}

bool isPlainPassword(const QString& stored) {
    return !platform::isPasswordHash(stored);
}

}  // namespace store
