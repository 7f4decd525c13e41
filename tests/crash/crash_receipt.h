#pragma once

#include <QVariantList>
#include <optional>

// Receipts whose every value follows from the inpatient number and a version, so that a record
// that was written in part, or that mixes two versions, is told from a whole one.
namespace crash_receipt {

struct Key {
    int number = 0;
    int version = 0;  // 0 when new, one more with each correction
};

// The 30 values of the receipt with this key; its inpatient number is the number's decimal text.
QVariantList receipt(Key key);

// The key of a whole receipt: its first 30 values are exactly receipt(key). None when any of them
// disagrees. A history row's further values are not looked at.
std::optional<Key> keyOf(const QVariantList& values);

}  // namespace crash_receipt
