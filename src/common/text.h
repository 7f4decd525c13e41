#pragma once

#include <QString>
#include <QStringView>

namespace common {

// Exact comparison, character for character: case counts, nothing is trimmed, and a missing
// text equals the empty text.
bool textEquals(QStringView a, QStringView b);

// Nothing left once every space (ASCII or ideographic) is removed.
bool isBlank(QStringView text);

// Length of a text in the two-byte Chinese code page: 1 for an ASCII character, 2 for any
// other character.
int codePageByteLength(QStringView text);

// The longest beginning of text that fits into maxBytes of that code page.
QString truncateToCodePageBytes(const QString& text, int maxBytes);

}  // namespace common
