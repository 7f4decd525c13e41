#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <future>
#include <latch>
#include <thread>
#include <variant>

#include "store/cashier_admin.h"
#include "store/deposit_ledger.h"
#include "store/receipt_saving.h"
#include "store/save_pause.h"
#include "store/schema.h"
#include "store_fixture.h"
#include "support/qt_printers.h"

namespace {

using namespace std::chrono_literals;
using store::Database;
using store::SaveOutcome;
using store::SaveResult;
using store_test::receipt;

// Each engine, and a server whose database defaults to a stricter isolation level, as a DBA or
// an options= in the address may set it.
struct RaceSetting {
    EngineKind engine;
    const char* defaultIsolation;  // empty: the server's own default
};

std::string raceSettingName(const ::testing::TestParamInfo<RaceSetting>& info) {
    std::string name = info.param.engine == EngineKind::Sqlite ? "SQLite" : "PostgreSQL";
    if (*info.param.defaultIsolation != '\0') {
        name += '_';
    }
    for (const char* c = info.param.defaultIsolation; *c != '\0'; ++c) {
        name += std::isalpha(static_cast<unsigned char>(*c)) ? *c : '_';
    }
    return name;
}

void PrintTo(const RaceSetting& setting, std::ostream* os) {
    *os << (setting.engine == EngineKind::Sqlite ? "SQLite" : "PostgreSQL") << ' '
        << (*setting.defaultIsolation != '\0' ? setting.defaultIsolation : "(default)");
}

// Whether the save runs on the desk the test holds.
thread_local bool onHeldDesk = false;

// Two desks, each its own connection to the same database on its own thread: the first is held
// at a moment of its work while the second tries the same, and goes on once the second waits for
// it (or has finished without waiting, which it must not).
class DeskRace : public DatabaseTest, public ::testing::WithParamInterface<RaceSetting> {
protected:
    EngineKind engineKind() const override { return GetParam().engine; }
    void SetUp() override {
        DatabaseTest::SetUp();
        if (*GetParam().defaultIsolation != '\0') {
            runSql(QStringLiteral("DO $$ BEGIN EXECUTE format('ALTER DATABASE %I SET "
                                  "default_transaction_isolation = %L', current_database(), '%1'); "
                                  "END $$")
                       .arg(QLatin1StringView(GetParam().defaultIsolation)));
        }
    }
    void TearDown() override {
        store::setSavePauseForTesting(nullptr);
        DatabaseTest::TearDown();
    }

    template <typename Result>
    struct Race {
        Result held{};
        Result other{};
        bool otherFinishedWhileHeld = false;
    };

    // hold(database, proceed) does the held desk's work and calls proceed() at the moment to hold
    // it; work(database) is the other desk's.
    template <typename Result, typename Hold, typename Work>
    Race<Result> race(Hold hold, Work work) {
        Race<Result> race;
        std::promise<void> reached;
        std::promise<void> released;
        std::shared_future<void> release = released.get_future().share();
        std::thread heldDesk([&] {
            Database database(databaseLocation());
            race.held = hold(database, [&] {
                reached.set_value();
                release.wait();
            });
        });
        const bool held = reached.get_future().wait_for(30s) == std::future_status::ready;
        std::atomic<bool> otherDone = false;
        std::thread otherDesk([&] {
            Database database(databaseLocation());
            race.other = work(database);
            otherDone = true;
        });
        race.otherFinishedWhileHeld = held && waitsOrFinishes(otherDone);
        released.set_value();
        heldDesk.join();
        otherDesk.join();
        EXPECT_TRUE(held) << "the held desk never reached its moment";
        return race;
    }

    // A save held at point; the other desk saves meanwhile.
    template <typename Save>
    Race<SaveResult> raceHeldAt(store::SavePoint point, Save save) {
        store::setSavePauseForTesting([point](store::SavePoint reached) {
            if (onHeldDesk && reached == point) {
                heldHere();
            }
        });
        return race<SaveResult>(
            [&](Database& database, const std::function<void()>& proceed) {
                onHeldDesk = true;
                heldHere = proceed;
                return save(database, 1);
            },
            [&](Database& database) { return save(database, 2); });
    }

    // The held desk's work is held at point while the other desk does its own.
    template <typename Result, typename Held, typename Work>
    Race<Result> raceAt(store::SavePoint point, Held held, Work work) {
        store::setSavePauseForTesting([point](store::SavePoint reached) {
            if (onHeldDesk && reached == point) {
                heldHere();
            }
        });
        return race<Result>(
            [&](Database& database, const std::function<void()>& proceed) {
                onHeldDesk = true;
                heldHere = proceed;
                return held(database);
            },
            work);
    }

    QStringList storedNames(const QString& table = store::kReceiptTable) {
        QStringList names;
        store::Table records(database());
        EXPECT_TRUE(records.open(table));
        for (; !records.pastLast(); records.skip()) {
            names.append(
                records.readField(table == store::kCashierTable ? u"收费员" : u"姓名").toString());
        }
        return names;
    }

    static inline thread_local std::function<void()> heldHere;

private:
    // Until the other desk waits for a lock on the server, or has finished. A file's lock shows no
    // sign of a waiter, so there the other desk is given a moment to try.
    bool waitsOrFinishes(const std::atomic<bool>& done) {
        const auto until = std::chrono::steady_clock::now() +
                           (GetParam().engine == EngineKind::Sqlite ? 300ms : 4s);
        while (!done && std::chrono::steady_clock::now() < until) {
            if (GetParam().engine == EngineKind::Postgres &&
                runSql(QStringLiteral("SELECT 1 FROM pg_stat_activity WHERE datname = "
                                      "current_database() AND wait_event_type = 'Lock'"))
                        .size() > 0) {
                return false;
            }
            std::this_thread::sleep_for(20ms);
        }
        return done;
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, DeskRace,
                         ::testing::Values(RaceSetting{EngineKind::Sqlite, ""},
                                           RaceSetting{EngineKind::Postgres, ""},
                                           RaceSetting{EngineKind::Postgres, "repeatable read"},
                                           RaceSetting{EngineKind::Postgres, "serializable"}),
                         raceSettingName);

TEST_P(DeskRace, OfTwoSavesOfOneNumberExactlyOneIsStored) {
    const auto saves =
        raceHeldAt(store::SavePoint::NumberChecked, [](Database& database, int desk) {
            return store::saveNewReceipt(
                database, receipt(QStringLiteral("7"), QStringLiteral("病人%1").arg(desk)));
        });
    EXPECT_FALSE(saves.otherFinishedWhileHeld) << "the other desk did not wait for the number";
    EXPECT_EQ(saves.held.outcome, SaveOutcome::Saved) << saves.held.error.toStdString();
    EXPECT_EQ(saves.other.outcome, SaveOutcome::AlreadyStored) << saves.other.error.toStdString();
    EXPECT_EQ(storedNames(), QStringList{QStringLiteral("病人1")});
}

TEST_P(DeskRace, OfTwoCorrectionsOfOneReceiptTheFirstIsKeptAndTheSecondRefused) {
    appendRecords(store::kReceiptTable, {receipt(QStringLiteral("7"), QStringLiteral("原名"))});
    const std::optional<store::LoadedReceipt> loaded =
        store_test::loadedReceipt(database(), QStringLiteral("7"));
    ASSERT_TRUE(loaded);

    const auto corrections =
        raceHeldAt(store::SavePoint::CorrectionCompared, [&](Database& database, int desk) {
            return store::saveCorrection(
                database, *loaded,
                receipt(QStringLiteral("7"), QStringLiteral("改名%1").arg(desk)));
        });
    EXPECT_FALSE(corrections.otherFinishedWhileHeld) << "the other desk did not wait";
    EXPECT_EQ(corrections.held.outcome, SaveOutcome::Saved) << corrections.held.error.toStdString();
    EXPECT_EQ(corrections.other.outcome, SaveOutcome::ChangedElsewhere)
        << corrections.other.error.toStdString();
    EXPECT_EQ(storedNames(), QStringList{QStringLiteral("改名1")});
    EXPECT_EQ(storedNames(QStringLiteral("MZY_history")), QStringList{QStringLiteral("原名")})
        << "one correction, one history row";
}

// Another administrator's transaction adds the name and is held open while cashier add runs.
TEST_P(DeskRace, ACashierAddedWhileAnotherAddsTheSameNameIsRefused) {
    const QString name = QStringLiteral("王小明");
    const auto adds = race<store::CashierChangeOutcome>(
        [&](Database& database, const std::function<void()>& proceed) {
            const auto added = database.engine().transact(
                store::kCashierTable, [&](storage::RecordWriter& writer) {
                    const bool inserted =
                        writer.insert(store::cashierSchema(), {name, QStringLiteral("pw")})
                            .has_value();
                    proceed();
                    return inserted;
                });
            return added.outcome == storage::TransactionOutcome::Committed
                       ? store::CashierChangeOutcome::Done
                       : store::CashierChangeOutcome::Failed;
        },
        [&](Database& database) {
            return store::addCashier(database, name, QStringLiteral("pw")).outcome;
        });
    EXPECT_FALSE(adds.otherFinishedWhileHeld) << "cashier add did not wait for the other";
    EXPECT_EQ(adds.held, store::CashierChangeOutcome::Done);
    EXPECT_EQ(adds.other, store::CashierChangeOutcome::NameTaken);
    EXPECT_EQ(storedNames(store::kCashierTable).count(name), 1);
}

// A receipt of the cashier is being saved, its journal row written but not committed, when an
// administrator removes him: the removal waits for it and finds his shift open.
TEST_P(DeskRace, ACashierWhoseReceiptIsBeingSavedIsNotRemoved) {
    const QString name = QStringLiteral("张三");
    ASSERT_EQ(store::addCashier(database(), name, QStringLiteral("pw")).outcome,
              store::CashierChangeOutcome::Done);
    QVariantList issued = receipt(QStringLiteral("7"), QStringLiteral("病人"));
    issued[store::receiptSchema().indexOf(store::kCashierField)] = name;
    store::setSavePauseForTesting([](store::SavePoint reached) {
        if (onHeldDesk && reached == store::SavePoint::JournalWritten) {
            heldHere();
        }
    });
    // The held desk's save reads as Done once it is stored.
    const auto removal = race<store::CashierChangeOutcome>(
        [&](Database& database, const std::function<void()>& proceed) {
            onHeldDesk = true;
            heldHere = proceed;
            return store::saveNewReceipt(database, issued).outcome == SaveOutcome::Saved
                       ? store::CashierChangeOutcome::Done
                       : store::CashierChangeOutcome::Failed;
        },
        [&](Database& database) { return store::removeCashier(database, name).outcome; });
    EXPECT_FALSE(removal.otherFinishedWhileHeld) << "the removal did not wait for the save";
    EXPECT_EQ(removal.held, store::CashierChangeOutcome::Done);
    EXPECT_EQ(removal.other, store::CashierChangeOutcome::OpenShift);
    EXPECT_EQ(storedNames(store::kCashierTable).count(name), 1);
}

TEST_P(DeskRace, TwoDesksStartingOnAnEmptyDatabaseBothStart) {
    ScratchDatabase empty(GetParam().engine);
    QString errors[2];
    {
        std::latch start(2);
        const auto desk = [&](QString* error) {
            Database database(empty.location());
            start.arrive_and_wait();
            database.prepare(error);
        };
        std::thread other(desk, &errors[1]);
        desk(&errors[0]);
        other.join();
    }
    EXPECT_EQ(errors[0], QString());
    EXPECT_EQ(errors[1], QString());
    EXPECT_EQ(empty.runSql(QStringLiteral(R"(SELECT count(*) FROM "USER")")),
              QList<QStringList>{{QStringLiteral("1")}});
    EXPECT_EQ(empty.runSql(QStringLiteral("SELECT count(*) FROM schema_version")),
              QList<QStringList>{{QStringLiteral("1")}});
}

// What a desk's deposit or discharge bill came to.
using DeskOutcome = std::variant<SaveOutcome, store::DepositOutcome>;

store::DepositResult takeDeposit(Database& database, const QString& number) {
    return store::takeDeposit(database, {number,
                                         QStringLiteral("病人"),
                                         common::yuan(100),
                                         QStringLiteral("现金"),
                                         QStringLiteral("491MX"),
                                         {}});
}

QList<store::Deposit> depositsOf(Database& database, const QString& number) {
    QList<store::Deposit> deposits;
    QString error;
    EXPECT_TRUE(store::readPatientDeposits(database, number, &deposits, &error));
    return deposits;
}

// Whichever of a deposit and the discharge bill of its number holds the number first, the other
// sees it: the deposit is in the bill or the bill is refused; never left out unseen.
TEST_P(DeskRace, ADepositTakenWhileTheBillIsSavedIsInItOrRefused) {
    const QString number = QStringLiteral("7");
    const auto depositLate = raceAt<DeskOutcome>(
        store::SavePoint::NumberChecked,
        [&](Database& database) -> DeskOutcome {
            return store::saveNewReceipt(database, receipt(number, QStringLiteral("病人"))).outcome;
        },
        [&](Database& database) -> DeskOutcome { return takeDeposit(database, number).outcome; });
    EXPECT_FALSE(depositLate.otherFinishedWhileHeld) << "the deposit did not wait for the bill";
    EXPECT_EQ(depositLate.held, DeskOutcome(SaveOutcome::Saved));
    EXPECT_EQ(depositLate.other, DeskOutcome(store::DepositOutcome::Discharged));
    EXPECT_TRUE(depositsOf(database(), number).isEmpty());

    const QString second = QStringLiteral("8");
    const auto billLate = raceAt<DeskOutcome>(
        store::SavePoint::JournalWritten,
        [&](Database& database) -> DeskOutcome { return takeDeposit(database, second).outcome; },
        [&](Database& database) -> DeskOutcome {
            return store::saveNewReceipt(database, receipt(second, QStringLiteral("病人"))).outcome;
        });
    EXPECT_FALSE(billLate.otherFinishedWhileHeld) << "the bill did not wait for the deposit";
    EXPECT_EQ(billLate.held, DeskOutcome(store::DepositOutcome::Done));
    EXPECT_EQ(billLate.other, DeskOutcome(SaveOutcome::DepositsChanged));
    EXPECT_EQ(store::openDeposits(depositsOf(database(), second)).size(), 1);
}

TEST_P(DeskRace, ADepositRefundedWhileTheBillIsSavedRefusesTheBill) {
    const QString number = QStringLiteral("7");
    const store::DepositResult taken = takeDeposit(database(), number);
    ASSERT_EQ(taken.outcome, store::DepositOutcome::Done);
    QVariantList bill = receipt(number, QStringLiteral("病人"));
    bill[store::receiptSchema().indexOf(store::kPrepaidField)] =
        QVariant::fromValue(taken.deposit.amount);
    const auto race = raceAt<DeskOutcome>(
        store::SavePoint::JournalWritten,
        [&](Database& database) -> DeskOutcome {
            return store::refundDeposit(database, taken.deposit, QStringLiteral("491MX"),
                                        QStringLiteral("现金"), QStringLiteral("转院"))
                .outcome;
        },
        [&](Database& database) -> DeskOutcome {
            return store::saveNewReceipt(database, bill, {}, {taken.deposit.id}).outcome;
        });
    EXPECT_FALSE(race.otherFinishedWhileHeld) << "the bill did not wait for the refund";
    EXPECT_EQ(race.held, DeskOutcome(store::DepositOutcome::Done));
    EXPECT_EQ(race.other, DeskOutcome(SaveOutcome::DepositsChanged));
    EXPECT_EQ(depositsOf(database(), number).value(0).state, store::DepositState::Refunded);
}

// Deposits of one patient, and of two, taken at two desks at once: both kept, each its own number.
TEST_P(DeskRace, TwoDesksTakingDepositsAtOnceGetDistinctNumbers) {
    for (const QString& otherNumber : {QStringLiteral("7"), QStringLiteral("8")}) {
        const auto takes = raceAt<store::DepositResult>(
            store::SavePoint::JournalWritten,
            [&](Database& database) { return takeDeposit(database, QStringLiteral("7")); },
            [&](Database& database) { return takeDeposit(database, otherNumber); });
        EXPECT_FALSE(takes.otherFinishedWhileHeld) << "the numbers were not taken in turn";
        ASSERT_EQ(takes.held.outcome, store::DepositOutcome::Done)
            << takes.held.error.toStdString();
        ASSERT_EQ(takes.other.outcome, store::DepositOutcome::Done)
            << takes.other.error.toStdString();
        EXPECT_EQ(takes.other.deposit.number, takes.held.deposit.number + 1);
    }
}

}  // namespace
