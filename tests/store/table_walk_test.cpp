#include <gtest/gtest.h>

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

const QString kNumber = QStringLiteral("住院号");
const QString kName = QStringLiteral("姓名");

using TableWalk = StoreTest;

INSTANTIATE_TEST_SUITE_P(Engines, TableWalk,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(TableWalk, EmptyTableIsPastLastAtOnceAndFindsNothing) {
    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable));
    EXPECT_TRUE(table.pastLast());
    EXPECT_FALSE(table.find([](const Table&) { return true; }));
    EXPECT_FALSE(findByInpatientNumber(table, QStringLiteral("1")));
    EXPECT_FALSE(table.readField(kNumber).isValid());
}

TEST_P(TableWalk, WalksRecordsInTheOrderTheyWereAppended) {
    appendReceipts({receipt(QStringLiteral("3"), QStringLiteral("丙")),
                    receipt(QStringLiteral("1"), QStringLiteral("甲")),
                    receipt(QStringLiteral("2"), QStringLiteral("乙"))});
    EXPECT_EQ(walkTexts(kReceiptTable, kNumber),
              (QStringList{QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2")}));

    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable));
    table.skip();
    table.skip();
    table.skip();
    EXPECT_TRUE(table.pastLast());
    table.goFirst();
    EXPECT_EQ(table.readField(kName), QVariant(QStringLiteral("丙")));
}

TEST_P(TableWalk, LookupFindsTheFirstOfTwoAndTheWalkContinuesFromThere) {
    appendReceipts({receipt(QStringLiteral("8"), QStringLiteral("前")),
                    receipt(QStringLiteral("9"), QStringLiteral("第一")),
                    receipt(QStringLiteral("7"), QStringLiteral("中")),
                    receipt(QStringLiteral("9"), QStringLiteral("第二"))});
    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable));
    table.skip();
    table.skip();
    table.skip();  // the lookup starts from the first record wherever the walk stands
    ASSERT_TRUE(findByInpatientNumber(table, QStringLiteral("9")));
    EXPECT_EQ(table.readField(kName), QVariant(QStringLiteral("第一")));
    table.skip();
    EXPECT_EQ(table.readField(kName), QVariant(QStringLiteral("中")));

    // find tests the current record first, then the following ones.
    ASSERT_TRUE(table.find(
        [](const Table& t) { return t.readField(kNumber).toString() == QStringLiteral("9"); }));
    EXPECT_EQ(table.readField(kName), QVariant(QStringLiteral("第二")));
    ASSERT_TRUE(table.find(
        [](const Table& t) { return t.readField(kNumber).toString() == QStringLiteral("9"); }));
    EXPECT_EQ(table.readField(kName), QVariant(QStringLiteral("第二")));
    table.skip();
    EXPECT_FALSE(table.find([](const Table&) { return true; }));
    EXPECT_TRUE(table.pastLast());
}

TEST_P(TableWalk, InpatientNumbersAreComparedExactly) {
    appendReceipts({receipt(QStringLiteral("123"), QStringLiteral("无空格")),
                    receipt(QStringLiteral("123 "), QStringLiteral("带空格"))});
    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable));
    ASSERT_TRUE(findByInpatientNumber(table, QStringLiteral("123 ")));
    EXPECT_EQ(table.readField(kName), QVariant(QStringLiteral("带空格")));
    ASSERT_TRUE(findByInpatientNumber(table, QStringLiteral("123")));
    EXPECT_EQ(table.readField(kName), QVariant(QStringLiteral("无空格")));
    EXPECT_FALSE(findByInpatientNumber(table, QStringLiteral(" 123")));
    EXPECT_FALSE(findByInpatientNumber(table, QStringLiteral("0123")));
    EXPECT_FALSE(findByInpatientNumber(table, QString()));
    EXPECT_TRUE(table.pastLast());
}

TEST_P(TableWalk, AwkwardTextsAreStoredAndFoundExactly) {
    const QStringList numbers{QStringLiteral("A 1"), QStringLiteral("it's \"2\""),
                              QStringLiteral("三号'); DROP TABLE MZY; --"), QStringLiteral("%_*"),
                              QString()};
    for (const QString& number : numbers) {
        appendReceipts({receipt(number, QStringLiteral("张 三 ") + number)});
    }
    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable));
    for (const QString& number : numbers) {
        ASSERT_TRUE(findByInpatientNumber(table, number)) << number.toStdString();
        EXPECT_EQ(table.readField(kNumber).toString(), number);
        EXPECT_EQ(table.readField(kName).toString(), QStringLiteral("张 三 ") + number);
    }
    EXPECT_FALSE(findByInpatientNumber(table, QStringLiteral("%")));
    EXPECT_FALSE(findByInpatientNumber(table, QStringLiteral("a 1")));
}

TEST_P(TableWalk, CashiersKeepTableOrderWithDuplicatesAndEmptyNames) {
    Table table(database());
    ASSERT_TRUE(table.open(store::kCashierTable));
    for (const QString& name : {QStringLiteral("王五"), QString(), QStringLiteral("王五")}) {
        ASSERT_TRUE(table.appendRecord({name, QStringLiteral("密")}));
    }
    table.close();
    EXPECT_EQ(walkTexts(store::kCashierTable, QStringLiteral("收费员")),
              (QStringList{QStringLiteral("491MX"), QStringLiteral("王五"), QString(),
                           QStringLiteral("王五")}));
}

TEST_P(TableWalk, UnknownTablesAndFieldsAreRefused) {
    Table table(database());
    EXPECT_FALSE(table.open(QStringLiteral("sqlite_master")));
    EXPECT_FALSE(table.lastError().isEmpty());
    EXPECT_FALSE(table.appendRecord({}));
    ASSERT_TRUE(table.open(kReceiptTable));
    EXPECT_FALSE(table.appendRecord({QStringLiteral("1")}));
    EXPECT_FALSE(table.rewriteRecord(receipt(QStringLiteral("1"), QStringLiteral("甲"))));
    EXPECT_TRUE(table.pastLast()) << "a refused record is not stored";
    EXPECT_EQ(table.fieldIndex(u"no such field"), -1);
}

TEST_P(TableWalk, CloseAllClosesOpenTablesAndLaterOpensReconnect) {
    appendReceipts({receipt(QStringLiteral("1"), QStringLiteral("甲"))});
    Table receipts(database());
    Table cashiers(database());
    ASSERT_TRUE(receipts.open(kReceiptTable));
    ASSERT_TRUE(cashiers.open(store::kCashierTable));
    database().closeAll();
    EXPECT_FALSE(receipts.isOpen());
    EXPECT_FALSE(cashiers.isOpen());
    ASSERT_TRUE(receipts.open(kReceiptTable));
    EXPECT_EQ(receipts.readField(kName), QVariant(QStringLiteral("甲")));
}

}  // namespace
