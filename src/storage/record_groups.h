#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <utility>

#include "common/money.h"
#include "storage/table_schema.h"

namespace storage {

// The records of one table whose text fields equal the given texts, gathered by the value of a
// text field: one group a value, listed by that value as the engine orders texts.
struct RecordGrouping {
    const TableSchema* table = nullptr;
    int groupField = -1;
    QList<std::pair<int, QString>> equalTexts;
    // The field whose value each group gives from its latest stored record.
    int latestField = -1;
    // The amount field each group sums exactly.
    int amountField = -1;
};

struct RecordGroup {
    QString key;      // the group field's value
    QVariant latest;  // the latest field's value in the group's latest record
    qint64 count = 0;
    common::Money sum;
};

}  // namespace storage
