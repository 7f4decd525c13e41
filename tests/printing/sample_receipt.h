#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <QHash>
#include <QStringList>
#include <QVariant>

#include "common/money.h"
#include "printing/receipt_layout.h"

namespace printing {

// A stored receipt with a distinct value in every printed field, so that a value at a wrong
// place shows. Fields read as the store gives them: texts, date-times and amounts.
struct SampleReceipt {
    QHash<QString, QVariant> fields;

    SampleReceipt() {
        fields[u"住院号"_qs] = u" 2008 0315 "_qs;
        fields[u"姓名"_qs] = u"欧阳 明"_qs;
        fields[u"入院日期"_qs] = QDateTime(QDate(2008, 3, 5), QTime(0, 0));
        fields[u"出院日期"_qs] = QDateTime(QDate(2008, 3, 9), QTime(0, 0));
        const QStringList fees{u"床位费"_qs,   u"诊金"_qs,       u"治疗费"_qs,   u"护理费"_qs,
                               u"检查费"_qs,   u"CT"_qs,         u"MRI"_qs,      u"手术费"_qs,
                               u"化验费"_qs,   u"西药费"_qs,     u"中成药费"_qs, u"中草药费"_qs,
                               u"其它"_qs,     u"麻醉"_qs,       u"材料"_qs,     u"陪住"_qs,
                               u"自费药品"_qs, u"特需服务费"_qs, u"杂费"_qs};
        for (int i = 0; i < fees.size(); ++i) {
            setAmount(fees[i], common::Money::fromFen(100 * (i + 1) + 10));
        }
        setAmount(u"合计"_qs, common::yuan(1234.56));
        setAmount(u"预交"_qs, common::yuan(2000));
        setAmount(u"补收"_qs, common::Money());
        setAmount(u"退款"_qs, common::yuan(765.44));
        setAmount(u"欠费"_qs, common::Money());
        fields[u"收费员"_qs] = u"491MX"_qs;
    }

    void setAmount(const QString& name, common::Money value) {
        fields[name] = QVariant::fromValue(value);
    }

    // Reading a field the receipt does not have fails the test.
    FieldReader reader() const {
        return [this](const QString& name) {
            EXPECT_TRUE(fields.contains(name)) << "no receipt field " << name.toStdString();
            return fields.value(name);
        };
    }
};

}  // namespace printing
