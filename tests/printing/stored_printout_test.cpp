#include "printing/stored_printout.h"
#include "store/journal.h"
#include "store/receipt_saving.h"
#include "store/receipt_void.h"
#include "store/save_pause.h"
#include "store/store_fixture.h"
#include "support/recording_printer.h"

namespace {

// The printout reads the record this desk stored, by its identity: another desk that gives an
// earlier receipt this number meanwhile cannot put its patient on this desk's paper.
class PrintoutOnEachEngine : public EngineTest {
protected:
    void TearDown() override {
        store::setSavePauseForTesting(nullptr);
        EngineTest::TearDown();
    }

    support::RecordingPrinter printer;
};

INSTANTIATE_TEST_SUITE_P(Engines, PrintoutOnEachEngine,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(PrintoutOnEachEngine, IsOfTheRecordJustStoredWhateverAnotherDeskDidMeanwhile) {
    appendRecords(store::kReceiptTable,
                  {store_test::receipt(QStringLiteral("5"), QStringLiteral("赵五"))});
    bool corrected = false;
    store::setSavePauseForTesting([&](store::SavePoint point) {
        if (point != store::SavePoint::Committed || corrected) {
            return;
        }
        corrected = true;
        store::Database otherDesk(databaseLocation());
        const std::optional<store::LoadedReceipt> loaded =
            store_test::loadedReceipt(otherDesk, QStringLiteral("5"));
        ASSERT_TRUE(loaded);
        ASSERT_EQ(
            store::saveCorrection(otherDesk, *loaded,
                                  store_test::receipt(QStringLiteral("8"), QStringLiteral("赵五")))
                .outcome,
            store::SaveOutcome::Saved);
    });
    const store::SaveResult saved = store::saveNewReceipt(
        database(), store_test::receipt(QStringLiteral("8"), QStringLiteral("钱八")));
    ASSERT_EQ(saved.outcome, store::SaveOutcome::Saved);
    printing::printStoredReceipt(database(), printer, saved.recordId, printing::Printing::Issue,
                                 {});

    ASSERT_TRUE(corrected);
    QStringList printed;
    for (const auto& placed : printer.placedTexts()) {
        printed << placed.text;
    }
    EXPECT_TRUE(printed.contains(QStringLiteral("钱八"))) << printed.join(u' ').toStdString();
    EXPECT_FALSE(printed.contains(QStringLiteral("赵五")));
}

// new 1001, new 1002, void 1002, new 1003: on SQLite 1003 takes the identity 1002 had. A reprint of
// 1002 as the register listed it prints nothing and writes no reprint into the journal.
TEST_P(PrintoutOnEachEngine, AReprintOfAReceiptNoLongerAsListedPrintsNothing) {
    const auto save = [&](const QString& number, const QString& name) {
        const store::SaveResult saved =
            store::saveNewReceipt(database(), store_test::receipt(number, name));
        EXPECT_EQ(saved.outcome, store::SaveOutcome::Saved);
        return saved.recordId;
    };
    save(QStringLiteral("1001"), QStringLiteral("张三"));
    const storage::RecordId listed = save(QStringLiteral("1002"), QStringLiteral("李四"));
    const std::optional<store::LoadedReceipt> shown =
        store_test::loadedReceipt(database(), QStringLiteral("1002"));
    ASSERT_TRUE(shown);
    ASSERT_EQ(
        store::voidReceipt(database(), *shown, QStringLiteral("491MX"), QStringLiteral("重复"))
            .outcome,
        store::VoidOutcome::Voided);
    save(QStringLiteral("1003"), QStringLiteral("王五"));
    const int numberField = store::receiptSchema().indexOf(store::kInpatientNumberField);
    const int nameField = store::receiptSchema().indexOf(store::kPatientNameField);

    const printing::StoredPrintout printout = printing::reprintReceipt(
        database(), printer,
        {listed, {numberField, nameField}, {QStringLiteral("1002"), QStringLiteral("李四")}},
        {QStringLiteral("491MX"), {}, {}}, {});

    EXPECT_FALSE(printout.outcome.printed);
    EXPECT_TRUE(printer.calls.empty());
    QList<store::JournalEntry> open;
    QString error;
    ASSERT_TRUE(store::readOpenEntries(database(), QStringLiteral("491MX"), &open, &error));
    EXPECT_TRUE(std::none_of(open.begin(), open.end(), [](const store::JournalEntry& entry) {
        return entry.kind == store::JournalKind::Reprint;
    }));
}

}  // namespace
