#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "store/settlement.h"

namespace shift {

// What a list of settlements shows of each, in columns: 结算号, 交班时间, 收费员, 电脑, 笔数, 合计,
// 补收, 退款, 应交现金, 长短款 (empty for a shift settled before drawers were counted).
QStringList settlementColumns();
inline constexpr int kFirstSettlementNumber = 4;
QStringList settlementCells(const store::Settlement& settlement);

// The list as text: a heading line, then one settlement a line, columns separated by tabs.
QString settlementListText(const QList<store::Settlement>& settlements);

}  // namespace shift
