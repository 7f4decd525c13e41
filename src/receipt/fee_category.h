#pragma once

#include <QString>
#include <QStringView>
#include <array>

#include "receipt/receipt_state.h"

namespace receipt {

// One of the nineteen fee categories: where it sits on screen, which variable holds its
// amount, which receipt field stores it and how the statistics report names it. Everything
// that goes over the fees walks kFeeCategories in its order.
struct FeeCategory {
    QStringView screenLabel;  // caption of the label, "床位费"
    QStringView labelName;    // object name of the label, "标签7"
    QStringView boxName;      // object name of the edit box, "编辑框2"
    int gridColumn;           // 1 to 5
    int gridRow;              // 1 to 4
    common::Money ReceiptState::*variable;
    QStringView fieldName;        // receipt field, "床位费"
    QStringView statisticsLabel;  // report line label, "床位费："

    // The category's one name in the program's own windows, reports and files: the statistics
    // report's, without its spacing and colon ("诊金", "其他", "特服费").
    QString name() const;
};

inline constexpr int kFeeCategoryCount = 19;

extern const std::array<FeeCategory, kFeeCategoryCount> kFeeCategories;

// A receipt field as the program's own windows, reports and files name it: a fee category by its
// name() ("其它" is 其他), any other field by its own name.
QString shownFieldName(QStringView fieldName);

}  // namespace receipt
