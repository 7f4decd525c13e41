#pragma once

#include <QList>
#include <QString>
#include <array>

#include "common/money.h"

namespace store {

// The notes and coins a drawer is counted in, largest first: 100, 50, 20, 10, 5 and 1 元, 5 and
// 1 角, in fen.
inline constexpr std::array<qint64, 8> kDenominationFen{10000, 5000, 2000, 1000, 500, 100, 50, 10};
// The most pieces of one denomination a count takes.
inline constexpr qint64 kMostPieces = 99999;
// The longest remark on a difference, in characters.
inline constexpr int kLongestDifferenceRemark = 50;

// The cash in the drawer at a handover as the cashier counted it.
struct DrawerCount {
    common::Money cashFloat;  // 备用金: what the drawer held when the shift began
    // How many pieces of each denomination, in the order of kDenominationFen; empty when the
    // cashier typed the sum as one.
    QList<qint64> pieces;
    common::Money typedSum;  // the sum as typed, when there are no pieces
    QString remark;          // 长短款说明

    common::Money counted() const;
};

// A denomination as a cashier names it: 100元, 5角.
QString denominationText(qint64 fen);

// The cash side of a handover: what the drawer should hold and what it did.
struct DrawerBalance {
    common::Money cashFloat;
    common::Money cashDue;     // 应交现金: the shift's cash taken less cash paid out
    common::Money expected;    // 应有现金: float + 应交现金
    common::Money counted;     // 实点现金
    common::Money difference;  // 长短款: counted less expected; 长款 above 0, 短款 below
    QString remark;
    // How it was counted: the pieces of each denomination (100元×12，5角×3), or 合计 for a sum
    // typed as one.
    QString detail;
    bool operator==(const DrawerBalance&) const = default;
};

DrawerBalance drawerBalance(const DrawerCount& count, common::Money cashDue);

// Every difference asks for a remark: the drawer is meant to hold exactly what it should.
bool needsRemark(common::Money difference);

enum class CountProblem {
    None,
    TooManyPieces,  // more than kMostPieces of a denomination, or a negative number
    NegativeSum,    // a typed sum below 0
    NoRemark,       // the difference needs a remark and it is blank
    RemarkTooLong,  // more than kLongestDifferenceRemark characters
};

// What stands in the way of settling with this count; None when nothing does.
CountProblem checkDrawerCount(const DrawerCount& count, common::Money cashDue);

}  // namespace store
