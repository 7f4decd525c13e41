#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "common/money.h"

namespace receipt_register {

// A table of exported rows as a file format keeps it: a header row of names, then rows of
// cells, each written left to right, then finished into the output. Not for several threads.
class SheetWriter {
public:
    virtual ~SheetWriter() = default;

    virtual void header(const QStringList& names) = 0;
    virtual void text(const QString& value) = 0;
    // A date, or an empty cell for an invalid one.
    virtual void date(const QDateTime& value) = 0;
    virtual void amount(common::Money value) = 0;
    // Ends the row; false, with the reason in *error, when it cannot be kept.
    virtual bool endRow(QString* error) = 0;
    // Writes whatever is still held into the output; false, with the reason in *error.
    virtual bool finish(QString* error) = 0;
};

}  // namespace receipt_register
