#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <ostream>

#include "common/money.h"

// Lets GoogleTest show Qt values in its failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QDateTime& value, std::ostream* os) {
    *os << value.toString(Qt::ISODate).toStdString();
}
inline void PrintTo(const QDate& value, std::ostream* os) {
    *os << value.toString(Qt::ISODate).toStdString();
}
namespace common {
inline void PrintTo(Money amount, std::ostream* os) {
    *os << amount.fen() << " fen";
}
}  // namespace common
inline void PrintTo(const QVariant& value, std::ostream* os) {
    *os << value.typeName() << '(' << value.toString().toStdString() << ')';
}
