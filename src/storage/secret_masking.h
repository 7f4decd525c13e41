#pragma once

#include <QString>
#include <QStringList>

namespace storage {

// A text that may hold a database address, as it may be shown in a message.
struct MaskedText {
    QString text;        // with every value that may be a password replaced by ***
    QStringList hidden;  // the values replaced, so that a message quoting them can be left out
};

// Hides what may carry a password in a database address, or in a line written around one: the
// password of a URI's user (user:secret@host, also after a single slash), and the value of every
// key=value pair, in a URI's query or in libpq's key=value form, whose key is not one of libpq's
// harmless ones (host, port, dbname, user...). A misspelt key such as passwrd= is hidden too.
MaskedText maskSecrets(const QString& text);

}  // namespace storage
