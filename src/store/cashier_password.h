#pragma once

#include <QString>
#include <QStringView>

namespace store {

// The password every new database gives its first cashier, and the login window's initial text.
inline constexpr QStringView kInitialPassword = u"491mx";

// What a cashier's 密码 field holds.
enum class StoredPassword {
    Hash,      // an Argon2id string, as the cashier command writes it
    Plain,     // the password itself, put in the table by other means
    Unusable,  // empty, or a hash this program cannot check: it opens no login
};

StoredPassword storedPasswordKind(const QString& stored);

// Whether typed opens the login of a cashier whose 密码 field holds stored: a hash is checked as
// a hash, a plain password is compared exactly, an unusable one opens nothing.
bool passwordOpens(const QString& stored, const QString& typed);

// Whether a login with typed must set a new password before it goes on: it is the initial one.
bool isInitialPassword(const QString& typed);

}  // namespace store
