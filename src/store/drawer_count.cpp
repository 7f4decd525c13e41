#include "store/drawer_count.h"

#include <QStringList>
#include <algorithm>

#include "common/text.h"

namespace store {

common::Money DrawerCount::counted() const {
    if (pieces.isEmpty()) {
        return typedSum;
    }
    common::Money sum;
    for (qsizetype at = 0; at < pieces.size() && at < qsizetype(kDenominationFen.size()); ++at) {
        sum += common::Money::fromFen(kDenominationFen[static_cast<std::size_t>(at)] * pieces[at]);
    }
    return sum;
}

QString denominationText(qint64 fen) {
    return fen >= 100 ? QStringLiteral("%1元").arg(fen / 100)
                      : QStringLiteral("%1角").arg(fen / 10);
}

DrawerBalance drawerBalance(const DrawerCount& count, common::Money cashDue) {
    QStringList pieces;
    for (qsizetype at = 0; at < count.pieces.size() && at < qsizetype(kDenominationFen.size());
         ++at) {
        if (count.pieces[at] != 0) {
            pieces.append(QStringLiteral("%1×%2").arg(
                denominationText(kDenominationFen[static_cast<std::size_t>(at)]),
                QString::number(count.pieces[at])));
        }
    }
    const common::Money expected = count.cashFloat + cashDue;
    const common::Money counted = count.counted();
    return {count.cashFloat,
            cashDue,
            expected,
            counted,
            counted - expected,
            count.remark.trimmed(),
            count.pieces.isEmpty() || pieces.isEmpty() ? QStringLiteral("合计")
                                                       : pieces.join(QStringLiteral("，"))};
}

bool needsRemark(common::Money difference) {
    return !difference.isZero();
}

CountProblem checkDrawerCount(const DrawerCount& count, common::Money cashDue) {
    if (std::any_of(count.pieces.begin(), count.pieces.end(),
                    [](qint64 pieces) { return pieces < 0 || pieces > kMostPieces; })) {
        return CountProblem::TooManyPieces;
    }
    if (count.pieces.isEmpty() && count.typedSum.isNegative()) {
        return CountProblem::NegativeSum;
    }
    const DrawerBalance balance = drawerBalance(count, cashDue);
    if (needsRemark(balance.difference) && common::isBlank(balance.remark)) {
        return CountProblem::NoRemark;
    }
    if (balance.remark.toUcs4().size() > kLongestDifferenceRemark) {
        return CountProblem::RemarkTooLong;
    }
    return CountProblem::None;
}

}  // namespace store
