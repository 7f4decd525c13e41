#include "printing/stored_printout.h"
#include "store/receipt_saving.h"
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
    printing::printStoredReceipt(database(), printer, saved.recordId, printing::Printing::Issue);

    ASSERT_TRUE(corrected);
    QStringList printed;
    for (const auto& placed : printer.placedTexts()) {
        printed << placed.text;
    }
    EXPECT_TRUE(printed.contains(QStringLiteral("钱八"))) << printed.join(u' ').toStdString();
    EXPECT_FALSE(printed.contains(QStringLiteral("赵五")));
}

}  // namespace
