#include "storage/sqlite/period_sums.h"

#include <sqlite3.h>

#include <cstring>

#include "storage/sqlite/connection.h"

namespace storage {

namespace {

constexpr int kStoredLength = 19;  // YYYY-MM-DD HH:MM:SS

bool isStoredForm(const char* text, int size) {
    return size == kStoredLength && text[4] == '-' && text[7] == '-' && text[10] == ' ' &&
           text[13] == ':' && text[16] == ':';
}

bool liesWithin(PeriodAccumulator& period, sqlite3_value* date) {
    if (sqlite3_value_type(date) != SQLITE_TEXT) {
        return false;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(date));
    const int size = sqlite3_value_bytes(date);
    if (isStoredForm(text, size)) {
        return std::memcmp(text, period.firstText.constData(), kStoredLength) >= 0 &&
               std::memcmp(text, period.lastText.constData(), kStoredLength) <= 0;
    }
    const QDateTime value = period.dateTimes.read(QByteArrayView(text, size));
    return value.isValid() && !(value < period.first) && !(value > period.last);
}

void addRow(sqlite3_context* context, int argumentCount, sqlite3_value** arguments) {
    auto* period = static_cast<PeriodAccumulator*>(
        sqlite3_value_pointer(arguments[0], kPeriodSumsPointerType));
    const auto amountCount = static_cast<std::size_t>(argumentCount - 2);
    if (period == nullptr || period->sums.size() != amountCount) {
        sqlite3_result_error(context, "period_sums needs its accumulator", -1);
        return;
    }
    if (!liesWithin(*period, arguments[1])) {
        return;
    }
    ++period->count;
    for (std::size_t i = 0; i < amountCount; ++i) {
        period->sums[i] += common::Money::fromStoredReal(sqlite3_value_double(arguments[i + 2]));
    }
}

void finish(sqlite3_context* context) {
    sqlite3_result_null(context);
}

}  // namespace

PeriodAccumulator::PeriodAccumulator(const QDateTime& first, const QDateTime& last, int amountCount)
    : first(first),
      last(last),
      firstText(common::toStoredDateTime(first).toUtf8()),
      lastText(common::toStoredDateTime(last).toUtf8()),
      sums(static_cast<std::size_t>(amountCount)) {}

bool addPeriodSumsFunction(const SqliteConnection& connection, QString* reason) {
    // Only the program's own statements may run it: never a view or trigger stored in the file.
    const int result = sqlite3_create_function_v2(connection.handle(), kPeriodSumsFunction, -1,
                                                  SQLITE_UTF8 | SQLITE_DIRECTONLY, nullptr, nullptr,
                                                  addRow, finish, nullptr);
    if (result != SQLITE_OK) {
        *reason = connection.failureReason();
        return false;
    }
    return true;
}

}  // namespace storage
