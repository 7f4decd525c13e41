#include <gtest/gtest.h>

#include <QSqlQuery>

#include "store/schema.h"
#include "store_fixture.h"
#include "support/qt_printers.h"

namespace {

using store::findByInpatientNumber;
using store::kReceiptTable;
using store::Table;
using store_test::day;
using store_test::receipt;
using store_test::StoreTest;

const QStringList kWalkFields{QStringLiteral("姓名"), QStringLiteral("出院日期"),
                              QStringLiteral("床位费"), QStringLiteral("补收")};

// Receipts whose opened fields all differ: names, discharge days and amounts.
QList<QVariantList> variedReceipts() {
    QList<QVariantList> receipts;
    for (int i = 0; i < 4; ++i) {
        QVariantList values = receipt(QString::number(9 - i), QStringLiteral("病人%1").arg(i),
                                      common::Money::fromFen(10 * (i + 1)));
        values[3] = day(2024, 3, 10 - i);
        values[26] = QVariant::fromValue(common::Money::fromFen(10 * i));
        receipts.append(values);
    }
    return receipts;
}

class TableFields : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        appendReceipts(variedReceipts());
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, TableFields,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(TableFields, OpenedFieldsReadAsOnATableOpenedWholeInTheSameOrder) {
    Table whole(database());
    Table projected(database());
    ASSERT_TRUE(whole.open(kReceiptTable));
    ASSERT_TRUE(projected.open(kReceiptTable, kWalkFields)) << projected.lastError().toStdString();
    int records = 0;
    for (; !whole.pastLast(); whole.skip(), projected.skip(), ++records) {
        ASSERT_FALSE(projected.pastLast());
        for (const QString& field : kWalkFields) {
            const int index = projected.fieldIndex(field);
            EXPECT_EQ(index, whole.fieldIndex(field)) << "positions are the table's own";
            EXPECT_EQ(projected.readField(index), whole.readField(index)) << field.toStdString();
        }
        EXPECT_EQ(projected.readField(u"床位费").value<common::Money>(),
                  common::Money::fromFen(10 * (records + 1)));
        EXPECT_EQ(projected.readField(u"补收").value<common::Money>(),
                  common::Money::fromFen(10 * records));
    }
    EXPECT_EQ(records, 4);
    EXPECT_TRUE(projected.pastLast());
    EXPECT_TRUE(projected.lastError().isEmpty()) << projected.lastError().toStdString();
}

TEST_P(TableFields, AFieldThatWasNotOpenedGivesNoValueAndSaysWhy) {
    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable, kWalkFields));
    EXPECT_EQ(table.fieldIndex(u"住院号"), 0);
    EXPECT_FALSE(table.readField(u"住院号").isValid());
    EXPECT_TRUE(table.lastError().contains(u"住院号")) << table.lastError().toStdString();
    EXPECT_FALSE(table.readField(u"合计").isValid());
    EXPECT_TRUE(table.lastError().contains(u"合计")) << table.lastError().toStdString();
    EXPECT_EQ(table.readField(u"姓名"), QVariant(QStringLiteral("病人0")))
        << "opened fields still read";

    Table unknown(database());
    EXPECT_FALSE(unknown.open(kReceiptTable, {QStringLiteral("姓名"), QStringLiteral("年龄")}));
    EXPECT_FALSE(unknown.isOpen());
    EXPECT_TRUE(unknown.lastError().contains(u"年龄")) << unknown.lastError().toStdString();
}

TEST_P(TableFields, AbsentValuesReadAsTheEmptyTextAndZero) {
    runSql(QStringLiteral(R"(UPDATE "MZY" SET "合计" = 12, "诊金" = NULL, "姓名" = NULL)"));
    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable));
    EXPECT_EQ(table.readField(u"合计").value<common::Money>(), common::yuan(12));
    EXPECT_EQ(table.readField(u"诊金").value<common::Money>(), common::Money());
    EXPECT_EQ(table.readField(u"姓名"), QVariant(QString()));
    while (!table.pastLast()) {
        table.skip();
    }
    EXPECT_FALSE(table.readField(u"合计").isValid());
}

TEST_P(TableFields, LookupsAndWritesWorkOnATableOpenedWithSomeFields) {
    {
        Table table(database());
        ASSERT_TRUE(table.open(kReceiptTable, {QStringLiteral("姓名")}));
        ASSERT_TRUE(findByInpatientNumber(table, QStringLiteral("8")));
        EXPECT_EQ(table.readField(u"姓名"), QVariant(QStringLiteral("病人1")));
        ASSERT_TRUE(table.rewriteRecord(receipt(QStringLiteral("8"), QStringLiteral("改名"))))
            << table.lastError().toStdString();
        EXPECT_EQ(table.readField(u"姓名"), QVariant(QStringLiteral("改名")));
        ASSERT_TRUE(table.appendRecord(receipt(QStringLiteral("5"), QStringLiteral("新来"))));
        EXPECT_EQ(table.readField(u"姓名"), QVariant(QStringLiteral("改名")));
        table.skip();
        EXPECT_EQ(table.readField(u"姓名"), QVariant(QStringLiteral("病人2")));
        EXPECT_FALSE(findByInpatientNumber(table, QStringLiteral("4")));
        EXPECT_TRUE(table.pastLast());
    }
    EXPECT_EQ(walkTexts(kReceiptTable, QStringLiteral("姓名")),
              (QStringList{QStringLiteral("病人0"), QStringLiteral("改名"), QStringLiteral("病人2"),
                           QStringLiteral("病人3"), QStringLiteral("新来")}));
    EXPECT_EQ(walkTexts(kReceiptTable, QStringLiteral("住院号")),
              (QStringList{QStringLiteral("9"), QStringLiteral("8"), QStringLiteral("7"),
                           QStringLiteral("6"), QStringLiteral("5")}));
}

}  // namespace
