#include <gtest/gtest.h>

#include <QSqlQuery>

#include "receipt/fee_category.h"
#include "store/schema.h"
#include "store_fixture.h"
#include "support/qt_printers.h"

namespace {

using common::Money;
using common::yuan;
using store::findByInpatientNumber;
using store::kReceiptTable;
using store::Table;
using store_test::day;
using store_test::receipt;
using store_test::StoreTest;

using ReceiptValues = StoreTest;

INSTANTIATE_TEST_SUITE_P(Engines, ReceiptValues,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

// What other programs may have left in an SQLite file.
using SqliteReceiptValues = DatabaseTest;

TEST_P(ReceiptValues, EveryAmountReadsBackUnderItsOwnFieldName) {
    receipt::ReceiptState state;
    std::int64_t fen = 1;
    for (const receipt::FeeCategory& fee : receipt::kFeeCategories) {
        state.*fee.variable = Money::fromFen(fen++);
    }
    state.totalAmount = yuan(190.25);
    state.prepaidAmount = yuan(300);
    state.supplementAmount = yuan(12.5);
    state.refundAmount = yuan(109.75);
    state.arrearsAmount = yuan(3);
    state.currentCashier = QStringLiteral("李四");
    const QVariantList values = store::receiptRecordValues(
        QStringLiteral("Z1"), QStringLiteral("王五"), day(2024, 1, 2), day(2024, 1, 9), state);
    ASSERT_EQ(values.size(), store::kReceiptFieldCount);
    appendReceipts({values});

    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable));
    fen = 1;
    for (const receipt::FeeCategory& fee : receipt::kFeeCategories) {
        EXPECT_EQ(table.readField(fee.fieldName).value<Money>(), Money::fromFen(fen++))
            << fee.fieldName.toString().toStdString();
    }
    EXPECT_EQ(table.readField(u"备用").value<Money>(), Money());
    EXPECT_EQ(table.readField(u"合计").value<Money>(), yuan(190.25));
    EXPECT_EQ(table.readField(u"预交").value<Money>(), yuan(300));
    EXPECT_EQ(table.readField(u"补收").value<Money>(), yuan(12.5));
    EXPECT_EQ(table.readField(u"退款").value<Money>(), yuan(109.75));
    EXPECT_EQ(table.readField(u"欠费").value<Money>(), yuan(3));
    EXPECT_EQ(table.readField(u"收费员"), QVariant(QStringLiteral("李四")));
    EXPECT_EQ(table.readField(u"住院号"), QVariant(QStringLiteral("Z1")));
    EXPECT_EQ(table.readField(u"姓名"), QVariant(QStringLiteral("王五")));
    EXPECT_EQ(table.readField(u"入院日期").toDateTime(), day(2024, 1, 2));
    EXPECT_EQ(table.readField(u"出院日期").toDateTime(), day(2024, 1, 9));
}

TEST_F(SqliteReceiptValues,
       AmountsAreStoredAsTheirDecimalValueAndOldSinglePrecisionOnesReadAsTyped) {
    QVariantList values = receipt(QStringLiteral("1"), QStringLiteral("甲"), yuan(150000.1));
    values[26] = QVariant::fromValue(yuan(99999999.99));  // 补收
    appendRecords(kReceiptTable, {values});

    const QStringList stored = runSql(QStringLiteral("SELECT 床位费, 补收 FROM MZY")).value(0);
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored[0].toDouble(), 150000.1);
    EXPECT_EQ(stored[1].toDouble(), 99999999.99);
    // What an older program that kept fees in single precision wrote for 0.1, 150000.1 and
    // 12345.67; and a double sum of such fees.
    runSql(QStringLiteral("UPDATE MZY SET 诊金 = %1, 治疗费 = %2, 护理费 = %3, 合计 = %4")
               .arg(static_cast<double>(0.1F), 0, 'g', 17)
               .arg(static_cast<double>(150000.1F), 0, 'g', 17)
               .arg(static_cast<double>(12345.67F), 0, 'g', 17)
               .arg(static_cast<double>(0.1F) + static_cast<double>(0.2F), 0, 'g', 17));

    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable));
    const QVariant fee = table.readField(u"床位费");
    EXPECT_EQ(fee.metaType(), QMetaType::fromType<Money>());
    EXPECT_EQ(fee.value<Money>(), yuan(150000.1));
    EXPECT_EQ(table.readField(u"补收").value<Money>(), yuan(99999999.99));
    EXPECT_EQ(table.readField(u"诊金").value<Money>(), yuan(0.1));
    EXPECT_EQ(table.readField(u"治疗费").value<Money>(), yuan(150000.1));
    EXPECT_EQ(table.readField(u"护理费").value<Money>(), yuan(12345.67));
    EXPECT_EQ(table.readField(u"合计").value<Money>(), yuan(0.3));
}

TEST_P(ReceiptValues, DateTimesSurviveTheRoundTrip) {
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

    EXPECT_EQ(runSql(QStringLiteral(R"(SELECT "入院日期" FROM "MZY")")),
              (QList<QStringList>{{QStringLiteral("1999-12-31 23:59:58")}}));
}

TEST_F(SqliteReceiptValues, AmountsStoredAsIntegersStillReadAsAmounts) {
    runSql(
        QStringLiteral("INSERT INTO MZY (住院号, 床位费, 合计, 出院日期) VALUES ('7', 5, 12, "
                       "'2024-03-05T08:30:00')"));
    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable));
    EXPECT_EQ(table.readField(u"床位费").value<Money>(), yuan(5));
    EXPECT_EQ(table.readField(u"合计").value<Money>(), yuan(12));
    EXPECT_EQ(table.readField(u"诊金").value<Money>(), Money()) << "an absent amount reads as 0";
    EXPECT_EQ(table.readField(u"出院日期").toDateTime(),
              QDateTime(QDate(2024, 3, 5), QTime(8, 30)));
    EXPECT_FALSE(table.readField(u"入院日期").toDateTime().isValid());
}

TEST_P(ReceiptValues, RewriteKeepsThePlaceAndCopiesTheOldRecordToTheHistory) {
    appendReceipts({receipt(QStringLiteral("1"), QStringLiteral("甲")),
                    receipt(QStringLiteral("2"), QStringLiteral("乙"), yuan(20)),
                    receipt(QStringLiteral("3"), QStringLiteral("丙"))});
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    {
        Table table(database());
        ASSERT_TRUE(table.open(kReceiptTable));
        ASSERT_TRUE(findByInpatientNumber(table, QStringLiteral("2")));
        ASSERT_TRUE(
            table.rewriteRecord(receipt(QStringLiteral("2"), QStringLiteral("乙改"), yuan(25))))
            << table.lastError().toStdString();
        EXPECT_EQ(table.readField(u"姓名"), QVariant(QStringLiteral("乙改")));
        EXPECT_EQ(table.readField(u"床位费").value<Money>(), yuan(25));
        EXPECT_EQ(table.readField(u"备用").value<Money>(), Money());
        table.skip();
        EXPECT_EQ(table.readField(u"姓名"), QVariant(QStringLiteral("丙")));
    }
    EXPECT_EQ(walkTexts(kReceiptTable, QStringLiteral("姓名")),
              (QStringList{QStringLiteral("甲"), QStringLiteral("乙改"), QStringLiteral("丙")}));

    Table history(database());
    ASSERT_TRUE(history.open(QStringLiteral("MZY_history")));
    ASSERT_FALSE(history.pastLast());
    EXPECT_EQ(history.readField(u"姓名"), QVariant(QStringLiteral("乙")));
    EXPECT_EQ(history.readField(u"床位费").value<Money>(), yuan(20));
    const QDateTime changedAt = history.readField(u"修改时间").toDateTime();
    EXPECT_GE(changedAt, before);
    EXPECT_LE(changedAt, QDateTime::currentDateTime().addSecs(1));
    history.skip();
    EXPECT_TRUE(history.pastLast());
}

}  // namespace
