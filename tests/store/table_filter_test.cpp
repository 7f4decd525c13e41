#include <gtest/gtest.h>

#include <QSqlQuery>

#include "store/record_filter.h"
#include "store/schema.h"
#include "store_fixture.h"
#include "support/qt_printers.h"

namespace {

using store::findByInpatientNumber;
using store::kReceiptTable;
using store::RecordFilter;
using store::Table;
using store_test::day;
using store_test::receipt;
using store_test::StoreTest;

QVariantList dischargedReceipt(const QString& number, const QDateTime& discharge,
                               common::Money bedFee) {
    QVariantList values = receipt(number, QStringLiteral("病人") + number, bedFee);
    values[3] = discharge;
    return values;
}

// Discharged on the 1st to the 6th of March, out of order; the bed fee is the day of the month.
class TableFilter : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        QList<QVariantList> receipts;
        for (const int dayOfMonth : {4, 1, 6, 3, 5, 2}) {
            receipts.append(dischargedReceipt(QString::number(dayOfMonth), day(2024, 3, dayOfMonth),
                                              common::Money::fromFen(100 * dayOfMonth)));
        }
        appendReceipts(receipts);
    }

    // Discharged from the 2nd to the 4th.
    static RecordFilter secondToFourth() {
        return {QStringLiteral("出院日期"), [](const QVariant& value) {
                    const QDateTime discharge = value.toDateTime();
                    return discharge >= day(2024, 3, 2) && discharge <= day(2024, 3, 4);
                }};
    }

    QStringList walkNumbers(Table& table) {
        QStringList numbers;
        for (table.goFirst(); !table.pastLast(); table.skip()) {
            numbers.append(table.readField(u"住院号").toString());
        }
        return numbers;
    }
};

TEST_F(TableFilter, WalkShowsOnlyTheRecordsThatPassInStoredOrder) {
    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable, {QStringLiteral("住院号"), QStringLiteral("床位费")},
                           secondToFourth()))
        << table.lastError().toStdString();
    EXPECT_EQ(table.readField(u"住院号"), QVariant(QStringLiteral("4")));
    EXPECT_EQ(table.readAmount(table.fieldIndex(u"床位费")), common::yuan(4));
    EXPECT_EQ(walkNumbers(table),
              (QStringList{QStringLiteral("4"), QStringLiteral("3"), QStringLiteral("2")}));
    EXPECT_EQ(walkNumbers(table),
              (QStringList{QStringLiteral("4"), QStringLiteral("3"), QStringLiteral("2")}))
        << "a second walk from the first record tests again";
    EXPECT_FALSE(table.readField(u"出院日期").isValid()) << "the filter's field is not opened";

    Table none(database());
    ASSERT_TRUE(none.open(kReceiptTable, {QStringLiteral("住院号")},
                          {QStringLiteral("住院号"), [](const QVariant&) { return false; }}));
    EXPECT_TRUE(none.pastLast());
}

TEST_F(TableFilter, TheTestSeesEachValueAsReadFieldGivesIt) {
    QSqlQuery insert(QSqlDatabase::database(database().connectionName()));
    ASSERT_TRUE(insert.exec(
        QStringLiteral("INSERT INTO MZY (住院号, 出院日期) VALUES ('T', '2024-03-05T08:30:00'), "
                       "('N', NULL), ('X', 'not a date')")));
    QList<QVariant> read;
    {
        Table whole(database());
        ASSERT_TRUE(whole.open(kReceiptTable));
        for (; !whole.pastLast(); whole.skip()) {
            read.append(whole.readField(u"出院日期"));
        }
    }
    ASSERT_EQ(read.size(), 9);
    EXPECT_EQ(read[6], QVariant(QDateTime(QDate(2024, 3, 5), QTime(8, 30))));
    EXPECT_EQ(read[7], QVariant(QDateTime()));

    QList<QVariant> tested;
    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable, {},
                           {QStringLiteral("出院日期"), [&tested](const QVariant& value) {
                                tested.append(value);
                                return true;
                            }}));
    int records = 0;
    for (; !table.pastLast(); table.skip()) {
        ++records;
    }
    EXPECT_EQ(records, 9);
    EXPECT_EQ(tested, read);
}

TEST_F(TableFilter, LookupsAndWritesAreRefusedAndChangeNothing) {
    Table table(database());
    ASSERT_TRUE(table.open(kReceiptTable, {QStringLiteral("姓名")}, secondToFourth()));
    table.skip();
    EXPECT_FALSE(findByInpatientNumber(table, QStringLiteral("4")));
    EXPECT_TRUE(table.lastError().contains(u"住院号")) << table.lastError().toStdString();
    EXPECT_EQ(table.readField(u"姓名"), QVariant(QStringLiteral("病人3"))) << "the walk stays";
    EXPECT_FALSE(table.rewriteRecord(receipt(QStringLiteral("3"), QStringLiteral("改"))));
    EXPECT_FALSE(table.lastError().isEmpty());
    EXPECT_FALSE(table.appendRecord(receipt(QStringLiteral("7"), QStringLiteral("新"))));
    table.close();
    EXPECT_EQ(
        walkTexts(kReceiptTable, QStringLiteral("姓名")),
        (QStringList{QStringLiteral("病人4"), QStringLiteral("病人1"), QStringLiteral("病人6"),
                     QStringLiteral("病人3"), QStringLiteral("病人5"), QStringLiteral("病人2")}));

    EXPECT_FALSE(table.open(kReceiptTable, {}, {QStringLiteral("出院"), secondToFourth().passes}));
    EXPECT_TRUE(table.lastError().contains(u"出院")) << table.lastError().toStdString();
}

}  // namespace
