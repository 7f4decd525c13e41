#pragma once

#include <QString>

namespace store {

// Whether typed opens the login of a cashier whose 密码 field holds stored: a hash is checked as
// a hash, any other text (a password put in the table by other means) is compared exactly.
bool passwordOpens(const QString& stored, const QString& typed);

// Whether a stored 密码 is the password itself rather than a hash of it.
bool isPlainPassword(const QString& stored);

}  // namespace store
