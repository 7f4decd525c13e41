// The report of a statistics run over receipts of any amounts, added up as the engines add them:
// it always has its 23 lines, or 25 with arrears, each label in its place, and every amount in it
// reads back as the sum it stands for, which is the exact sum of the receipts wherever that fits.

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "common/number_text.h"
#include "fuzz_check.h"
#include "receipt/fee_category.h"
#include "statistics/period_sums.h"
#include "statistics/statistics_report.h"

namespace {

// A sum added up without limit, and whether every partial sum on the way fitted into an
// amount: only then must the report's sum be exact.
struct ExactSum {
    __int128 value = 0;
    bool comparable = true;

    void add(common::Money amount) {
        value += amount.fen();
        comparable =
            comparable && value >= -common::Money::kMaxFen && value <= common::Money::kMaxFen;
    }
};

constexpr int kMaxReceipts = 6;
constexpr int kLines = 23;
constexpr int kLinesWithArrears = 25;

common::Money anyAmount(FuzzedDataProvider& bytes) {
    return common::Money::fromFen(bytes.ConsumeIntegral<std::int64_t>());
}

// A line that is label, then an amount in yuan, then 元.
void checkAmountLine(const QString& line, QStringView label, common::Money sum,
                     const ExactSum& exact, const QString& report) {
    FUZZ_REQUIRE(line.startsWith(label) && line.endsWith(u'元'), report);
    const QStringView amount =
        QStringView(line).sliced(label.size(), line.size() - label.size() - 1);
    FUZZ_REQUIRE(common::parseAmount(amount) == sum, report);
    FUZZ_REQUIRE(!exact.comparable || sum.fen() == exact.value, report);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider bytes(data, size);
    statistics::PeriodSums sums;
    std::array<ExactSum, receipt::kFeeCategoryCount> exactSums{};
    ExactSum exactArrears;
    ExactSum exactTotal;
    const int receipts = bytes.ConsumeIntegralInRange(0, kMaxReceipts);
    const auto add = [&bytes](common::Money& sum, ExactSum& exact) {
        const common::Money amount = anyAmount(bytes);
        sum += amount;
        exact.add(amount);
    };
    for (int receipt = 0; receipt < receipts; ++receipt) {
        for (std::size_t i = 0; i < sums.statSums.size(); ++i) {
            add(sums.statSums[i], exactSums[i]);
        }
        add(sums.statArrears, exactArrears);
        add(sums.statTotal, exactTotal);
        ++sums.statCount;
    }

    const QString report = statistics::buildReport(sums);
    const QStringList lines = report.split(QStringLiteral("\r\n"));
    FUZZ_REQUIRE(sums.statCount == receipts, report);
    FUZZ_REQUIRE(lines.size() == (sums.statArrears.isZero() ? kLines : kLinesWithArrears), report);
    FUZZ_REQUIRE(lines[0] == QStringLiteral("共有：") + QString::number(receipts) + u'单', report);
    const QString separator = lines[1];
    FUZZ_REQUIRE(!separator.isEmpty() && separator.count(separator[0]) == separator.size(), report);
    for (int i = 0; i < receipt::kFeeCategoryCount; ++i) {
        checkAmountLine(lines[2 + i], receipt::kFeeCategories[i].statisticsLabel, sums.statSums[i],
                        exactSums[i], report);
    }
    FUZZ_REQUIRE(lines[21] == separator, report);
    checkAmountLine(lines[22], u"合计：", sums.statTotal, exactTotal, report);
    if (lines.size() == kLinesWithArrears) {
        FUZZ_REQUIRE(lines[23] == separator, report);
        checkAmountLine(lines[24], u"累计欠费：", sums.statArrears, exactArrears, report);
    }
    return 0;
}
