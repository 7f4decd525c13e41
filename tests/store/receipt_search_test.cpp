#include "store/receipt_search.h"

#include <gtest/gtest.h>

#include "register/generated_receipts.h"
#include "store_fixture.h"
#include "support/qt_printers.h"

namespace {

using store::ReceiptSearch;

class ReceiptSearchTest : public GeneratedReceipts {
protected:
    // Every receipt the search finds, read in pages of the given size.
    QList<store::FoundReceipt> readAll(ReceiptSearch& search, int pageSize) {
        QList<store::FoundReceipt> found;
        QString error;
        while (!search.atEnd()) {
            const qsizetype before = found.size();
            EXPECT_TRUE(search.next(pageSize, &found, &error)) << error.toStdString();
            if (found.size() - before > pageSize || !error.isEmpty()) {
                ADD_FAILURE() << "a page of more than " << pageSize;
                break;
            }
        }
        return found;
    }
};

// Pages of odd sizes end in the middle of a day's receipts, where only the stored order tells the
// next one apart.
TEST_P(ReceiptSearchTest, EveryFilterFindsWhatAWalkOfAllReceiptsFinds) {
    const int number = store::receiptSchema().indexOf(store::kInpatientNumberField);
    for (const FilterCase& filterCase : filterCases(firstDay(), lastDay())) {
        SCOPED_TRACE(filterCase.label);
        const QList<Walked> wanted = expected(filterCase.filter);
        for (const int pageSize : {7, 500}) {
            ReceiptSearch search(database(), filterCase.filter, {number});
            QStringList numbers;
            QStringList corrected;
            for (const store::FoundReceipt& receipt : readAll(search, pageSize)) {
                numbers.append(receipt.values.value(0).toString());
                if (receipt.status == store::ReceiptStatus::Corrected) {
                    corrected.append(numbers.constLast());
                }
            }
            EXPECT_EQ(numbers, numbersOf(wanted)) << "pages of " << pageSize;
            QStringList correctedWanted;
            for (const Walked& receipt : wanted) {
                if (receipt.corrected) {
                    correctedWanted.append(receipt.field(store::kInpatientNumberField).toString());
                }
            }
            EXPECT_EQ(corrected, correctedWanted);
        }
        store::ReceiptTotals totals;
        QString error;
        ASSERT_TRUE(ReceiptSearch(database(), filterCase.filter, {}).totals(&totals, &error));
        const store::ReceiptTotals wantedTotals = totalsOf(wanted);
        EXPECT_EQ(totals.count, wantedTotals.count);
        EXPECT_EQ(totals.total, wantedTotals.total);
        EXPECT_EQ(totals.supplement, wantedTotals.supplement);
        EXPECT_EQ(totals.refund, wantedTotals.refund);
        EXPECT_EQ(totals.arrears, wantedTotals.arrears);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, ReceiptSearchTest,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

// The same search over two tables, as voided receipts will be searched beside the live ones, and
// over records that another program stored without a discharge date.
class RecordSearchTest : public store_test::StoreTest {};

TEST_P(RecordSearchTest, TablesAreMergedByDateThenTableThenLatestStoredAndUndatedComeLast) {
    using store_test::day;
    const store::TableSchema& receipts = store::receiptSchema();
    const store::TableSchema& history = store::receiptHistorySchema();
    QList<QVariantList> live;
    for (const auto& [number, discharge, fen] :
         {std::tuple{"1", 5, 100}, {"2", 7, 250}, {"3", 5, 1}, {"4", 6, 99999}}) {
        QVariantList record = store_test::receipt(QString::fromLatin1(number), QStringLiteral("甲"),
                                                  common::Money::fromFen(fen));
        record[receipts.indexOf(store::kDischargeDateField)] = day(2024, 3, discharge);
        record[receipts.indexOf(store::kTotalField)] =
            QVariant::fromValue(common::Money::fromFen(fen));
        live.append(record);
    }
    appendReceipts(live);
    appendRecords(history.name, {live[0] + QVariantList{day(2024, 4, 1)},
                                 live[1] + QVariantList{day(2024, 4, 1)}});
    runSql(QStringLiteral(R"(UPDATE "MZY" SET "出院日期" = NULL WHERE "住院号" = '4')"));

    storage::RecordSearch search;
    search.tables = {&receipts, &history};
    search.dateField = receipts.indexOf(store::kDischargeDateField);
    search.fields = {receipts.indexOf(store::kInpatientNumberField)};
    search.amountFields = {receipts.indexOf(store::kTotalField)};
    QStringList order;
    std::optional<storage::SearchPosition> after;
    for (int pages = 0; pages < 10; ++pages) {
        QList<storage::FoundRecord> page;
        QString reason;
        ASSERT_TRUE(database().engine().search(search, after, 2, &page, &reason))
            << reason.toStdString();
        for (const storage::FoundRecord& found : page) {
            order.append(QStringLiteral("%1:%2")
                             .arg(found.position.table)
                             .arg(found.values.value(0).toString()));
        }
        if (page.size() < 2) {
            break;
        }
        after = page.constLast().position;
    }
    EXPECT_EQ(order.join(u' '), QStringLiteral("0:2 1:2 0:3 0:1 1:1 0:4"));

    storage::SearchTotals totals;
    QString reason;
    ASSERT_TRUE(database().engine().searchTotals(search, &totals, &reason)) << reason.toStdString();
    EXPECT_EQ(totals.count, 6);
    EXPECT_EQ(totals.sums,
              QList<common::Money>{common::Money::fromFen(100 + 250 + 1 + 99999 + 100 + 250)});
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordSearchTest,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

}  // namespace
