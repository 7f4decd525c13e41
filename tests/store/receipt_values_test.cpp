#include <gtest/gtest.h>

#include <QSqlQuery>

#include "billing/fee_category.h"
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

using ReceiptValues = StoreTest;

TEST_F(ReceiptValues, EveryAmountReadsBackUnderItsOwnFieldName) {
    billing::ReceiptState state;
    float amount = 1.0F;
    for (const billing::FeeCategory& fee : billing::kFeeCategories) {
        state.*fee.variable = amount++;
    }
    state.totalAmount = 190.25;
    state.prepaidAmount = 300.0F;
    state.supplementAmount = 12.5;
    state.refundAmount = 109.75F;
    state.arrearsAmount = 3.0F;
    state.currentCashier = QStringLiteral("李四");
    const QVariantList values = store::receiptRecordValues(
        QStringLiteral("Z1"), QStringLiteral("王五"), day(2024, 1, 2), day(2024, 1, 9), state);
    ASSERT_EQ(values.size(), store::kReceiptFieldCount);
    appendReceipts({values});

    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable));
    amount = 1.0F;
    for (const billing::FeeCategory& fee : billing::kFeeCategories) {
        EXPECT_EQ(table.readField(fee.fieldName).toDouble(), amount++)
            << fee.fieldName.toString().toStdString();
    }
    EXPECT_EQ(table.readField(u"备用").toDouble(), 0.0);
    EXPECT_EQ(table.readField(u"合计").toDouble(), 190.25);
    EXPECT_EQ(table.readField(u"预交").toDouble(), 300.0);
    EXPECT_EQ(table.readField(u"补收").toDouble(), 12.5);
    EXPECT_EQ(table.readField(u"退款").toDouble(), 109.75);
    EXPECT_EQ(table.readField(u"欠费").toDouble(), 3.0);
    EXPECT_EQ(table.readField(u"收费员"), QVariant(QStringLiteral("李四")));
    EXPECT_EQ(table.readField(u"住院号"), QVariant(QStringLiteral("Z1")));
    EXPECT_EQ(table.readField(u"姓名"), QVariant(QStringLiteral("王五")));
    EXPECT_EQ(table.readField(u"入院日期").toDateTime(), day(2024, 1, 2));
    EXPECT_EQ(table.readField(u"出院日期").toDateTime(), day(2024, 1, 9));
}

TEST_F(ReceiptValues, SinglePrecisionFieldsAreNarrowedAndDoublesKept) {
    QVariantList values = receipt(QStringLiteral("1"), QStringLiteral("甲"));
    values[4] = 0.1;   // 床位费, written as a double on purpose: the store narrows it
    values[26] = 0.1;  // 补收
    appendReceipts({values});
    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable));
    const QVariant fee = table.readField(u"床位费");
    EXPECT_EQ(fee.metaType(), QMetaType::fromType<double>());
    EXPECT_EQ(fee.toDouble(), static_cast<double>(0.1F));
    EXPECT_NE(fee.toDouble(), 0.1);
    EXPECT_EQ(table.readField(u"补收").toDouble(), 0.1);

    QSqlQuery stored(QSqlDatabase::database(database().connectionName()));
    ASSERT_TRUE(stored.exec(QStringLiteral("SELECT 床位费, 补收 FROM MZY")) && stored.next());
    EXPECT_EQ(stored.value(0).toDouble(), static_cast<double>(0.1F)) << "narrowed before writing";
    EXPECT_EQ(stored.value(1).toDouble(), 0.1);
    stored.finish();
    ASSERT_TRUE(stored.exec(QStringLiteral("UPDATE MZY SET 诊金 = 0.1")));
    table.goFirst();
    EXPECT_EQ(table.readField(u"诊金").toDouble(), static_cast<double>(0.1F))
        << "narrowed when read";
}

TEST_F(ReceiptValues, DateTimesSurviveTheRoundTrip) {
    const QDateTime admitted(QDate(1999, 12, 31), QTime(23, 59, 58));
    const QDateTime discharged(QDate(2024, 2, 29), QTime(0, 0));
    QVariantList values = receipt(QStringLiteral("1"), QStringLiteral("甲"));
    values[2] = admitted;
    values[3] = discharged;
    appendReceipts({values});
    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable));
    const QDateTime readAdmitted = table.readField(u"入院日期").toDateTime();
    EXPECT_EQ(readAdmitted, admitted);
    EXPECT_EQ(readAdmitted.timeSpec(), Qt::LocalTime);
    EXPECT_EQ(table.readField(u"出院日期").toDateTime(), discharged);

    QSqlQuery stored(QSqlDatabase::database(database().connectionName()));
    ASSERT_TRUE(stored.exec(QStringLiteral("SELECT 入院日期 FROM MZY")) && stored.next());
    EXPECT_EQ(stored.value(0).toString(), QStringLiteral("1999-12-31 23:59:58"));
}

TEST_F(ReceiptValues, NumbersStoredAsIntegersOrTextStillReadAsNumbers) {
    QSqlQuery insert(QSqlDatabase::database(database().connectionName()));
    ASSERT_TRUE(
        insert.exec(QStringLiteral("INSERT INTO MZY (住院号, 床位费, 合计, 出院日期) VALUES ('7', "
                                   "5, 12, '2024-03-05T08:30:00')")));
    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable));
    const QVariant fee = table.readField(u"床位费");
    EXPECT_EQ(fee.metaType(), QMetaType::fromType<double>());
    EXPECT_EQ(fee.toDouble(), 5.0);
    EXPECT_EQ(table.readField(u"合计").toDouble(), 12.0);
    EXPECT_EQ(table.readField(u"诊金").toDouble(), 0.0) << "an absent amount reads as 0";
    EXPECT_EQ(table.readField(u"出院日期").toDateTime(),
              QDateTime(QDate(2024, 3, 5), QTime(8, 30)));
    EXPECT_FALSE(table.readField(u"入院日期").toDateTime().isValid());
}

TEST_F(ReceiptValues, RewriteKeepsThePlaceAndCopiesTheOldRecordToTheHistory) {
    appendReceipts({receipt(QStringLiteral("1"), QStringLiteral("甲")),
                    receipt(QStringLiteral("2"), QStringLiteral("乙"), 20.0F),
                    receipt(QStringLiteral("3"), QStringLiteral("丙"))});
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    {
        Table table(database());
        ASSERT_TRUE(table.open(kReceiptTable));
        ASSERT_TRUE(findByInpatientNumber(table, QStringLiteral("2")));
        ASSERT_TRUE(
            table.rewriteRecord(receipt(QStringLiteral("2"), QStringLiteral("乙改"), 25.0F)))
            << table.lastError().toStdString();
        EXPECT_EQ(table.readField(u"姓名"), QVariant(QStringLiteral("乙改")));
        EXPECT_EQ(table.readField(u"床位费").toDouble(), 25.0);
        EXPECT_EQ(table.readField(u"备用"), QVariant(0.0));
        table.skip();
        EXPECT_EQ(table.readField(u"姓名"), QVariant(QStringLiteral("丙")));
    }
    EXPECT_EQ(walkTexts(kReceiptTable, QStringLiteral("姓名")),
              (QStringList{QStringLiteral("甲"), QStringLiteral("乙改"), QStringLiteral("丙")}));

    Table history(database());
    ASSERT_TRUE(history.open(QStringLiteral("MZY_history")));
    ASSERT_FALSE(history.pastLast());
    EXPECT_EQ(history.readField(u"姓名"), QVariant(QStringLiteral("乙")));
    EXPECT_EQ(history.readField(u"床位费").toDouble(), 20.0);
    const QDateTime changedAt = history.readField(u"修改时间").toDateTime();
    EXPECT_GE(changedAt, before);
    EXPECT_LE(changedAt, QDateTime::currentDateTime().addSecs(1));
    history.skip();
    EXPECT_TRUE(history.pastLast());
}

}  // namespace
