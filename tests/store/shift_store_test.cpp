#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <latch>
#include <map>
#include <thread>

#include "shift_fixture.h"
#include "statistics/period_run.h"
#include "store/receipt_history.h"
#include "store/receipt_search.h"
#include "store/receipt_void.h"
#include "store/reprint_journal.h"
#include "store/save_pause.h"
#include "store/settlement.h"
#include "store/shift_figures.h"
#include "support/qt_printers.h"

namespace {

using shift_test::fenOf;
using shift_test::randomReceipt;
using shift_test::shownReceipt;
using store::JournalEntry;
using store::JournalKind;
using store::SettleOutcome;
using store::VoidOutcome;

const QString kCashier = QStringLiteral("491MX");
const QString kOtherCashier = QStringLiteral("张三");

class ShiftStore : public store_test::StoreTest {
protected:
    // Every row of each table, as an upgrade must leave them.
    QList<QList<QStringList>> tableContents(std::initializer_list<const char*> tables) {
        QList<QList<QStringList>> contents;
        for (const char* table : tables) {
            contents.append(
                runSql(QStringLiteral(R"(SELECT * FROM "%1")").arg(QLatin1StringView(table))));
        }
        return contents;
    }
    void save(const QVariantList& receipt) {
        const store::SaveResult saved = store::saveNewReceipt(database(), receipt);
        ASSERT_EQ(saved.outcome, store::SaveOutcome::Saved) << saved.error.toStdString();
    }

    QList<JournalEntry> openEntries(const QString& cashier = kCashier) {
        QList<JournalEntry> entries;
        QString error;
        EXPECT_TRUE(store::readOpenEntries(database(), cashier, &entries, &error))
            << error.toStdString();
        return entries;
    }

    store::Settlement settlement(qint64 number) {
        std::optional<store::Settlement> found;
        QString error;
        EXPECT_TRUE(store::readSettlement(database(), number, &found, &error))
            << error.toStdString();
        EXPECT_TRUE(found.has_value()) << number;
        return found.value_or(store::Settlement{});
    }

    QList<JournalEntry> settledEntries(qint64 number) {
        QList<JournalEntry> entries;
        QString error;
        EXPECT_TRUE(store::readSettledEntries(database(), number, &entries, &error))
            << error.toStdString();
        return entries;
    }

    qint64 countOf(const QString& table) {
        return runSql(QStringLiteral(R"(SELECT count(*) FROM "%1")").arg(table))
            .value(0)
            .value(0)
            .toLongLong();
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, ShiftStore,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(ShiftStore, SettlementOfAGeneratedShiftEqualsItsEventsFenForFen) {
    std::mt19937 random(20260310);
    std::map<QString, QVariantList> live;  // every receipt of the shift as it now stands
    std::map<JournalKind, qint64> counts;
    const auto anyLive = [&] {
        auto receipt = live.begin();
        std::advance(receipt, static_cast<long>(random() % live.size()));
        return receipt->first;
    };
    for (int event = 0; event < 150; ++event) {
        const unsigned choice = random() % 10;
        if (live.empty() || choice < 4) {
            const QString number = QStringLiteral("S%1").arg(event);
            live[number] = randomReceipt(number, kCashier, random);
            save(live[number]);
            ++counts[JournalKind::New];
        } else if (choice < 7) {
            const QString number = anyLive();
            const QVariantList corrected = randomReceipt(number, kCashier, random);
            ASSERT_EQ(store::saveCorrection(database(), shownReceipt(database(), number), corrected)
                          .outcome,
                      store::SaveOutcome::Saved);
            live[number] = corrected;
            ++counts[JournalKind::Correction];
        } else if (choice < 8) {
            const QString number = anyLive();
            ASSERT_EQ(store::voidReceipt(database(), shownReceipt(database(), number), kCashier,
                                         QStringLiteral("开错了"))
                          .outcome,
                      VoidOutcome::Voided);
            live.erase(number);
            ++counts[JournalKind::Void];
        } else {
            ASSERT_TRUE(store::recordReprint(database(), kCashier, live[anyLive()], {}).recorded);
            ++counts[JournalKind::Reprint];
        }
    }
    save(randomReceipt(QStringLiteral("另一班"), kOtherCashier, random));

    // A receipt issued, corrected and voided within the shift leaves nothing; one issued and
    // corrected leaves what it now says. So the shift adds up to the live receipts' own amounts.
    store::JournalAmounts expected{};
    for (const auto& [number, receipt] : live) {
        shift_test::addAmounts(expected, receipt);
    }
    const QList<JournalEntry> shown = openEntries();
    const store::ShiftFigures open = store::sumEntries(shown);
    EXPECT_EQ(fenOf(open.amounts), fenOf(expected));
    const store::SettleResult settled =
        store::settleShift(database(), kCashier, shown, shift_test::exactCount(shown));
    ASSERT_EQ(settled.outcome, SettleOutcome::Settled) << settled.error.toStdString();
    EXPECT_EQ(settled.number, 1);

    const store::Settlement stored = settlement(1);
    EXPECT_EQ(stored.cashier, kCashier);
    EXPECT_EQ(stored.desk, store::deskName());
    EXPECT_EQ(fenOf(stored.figures.amounts), fenOf(expected));
    for (const JournalKind kind : store::kJournalKinds) {
        EXPECT_EQ(stored.figures.eventCount(kind), counts[kind])
            << store::journalKindText(kind).toStdString();
    }
    EXPECT_EQ(open.cashDue(), open.amount(u"补收") - open.amount(u"退款")) << "all of it cash";
    EXPECT_EQ(stored.cashDue, open.cashDue());
    EXPECT_EQ(stored.figures.firstEvent, open.firstEvent);
    EXPECT_EQ(stored.figures.lastEvent, open.lastEvent);
    EXPECT_EQ(settledEntries(1).size(), 150);
    EXPECT_TRUE(openEntries().isEmpty());
    EXPECT_EQ(openEntries(kOtherCashier).size(), 1) << "another cashier's shift stays open";
}

TEST_P(ShiftStore, AVoidedReceiptLeavesTheStatisticsAndFreesItsNumber) {
    std::mt19937 random(7);
    const QVariantList voided = randomReceipt(QStringLiteral("100"), kCashier, random);
    const QVariantList kept = randomReceipt(QStringLiteral("200"), kCashier, random);
    save(randomReceipt(QStringLiteral("100"), kCashier, random));
    ASSERT_EQ(
        store::saveCorrection(database(), shownReceipt(database(), QStringLiteral("100")), voided)
            .outcome,
        store::SaveOutcome::Saved);
    save(kept);

    const store::VoidResult result =
        store::voidReceipt(database(), shownReceipt(database(), QStringLiteral("100")), kCashier,
                           QStringLiteral("重复收费"));
    ASSERT_EQ(result.outcome, VoidOutcome::Voided) << result.error.toStdString();

    const statistics::PeriodRun run =
        statistics::sumPeriod(database(), store_test::day(2000, 1, 1), store_test::day(2099, 1, 1));
    EXPECT_EQ(run.sums.statCount, 1);
    EXPECT_EQ(run.sums.statTotal, kept[24].value<common::Money>());
    store::Table voidedTable(database());
    ASSERT_TRUE(voidedTable.open(QStringLiteral("MZY_voided")));
    for (int field = 0; field < store::kReceiptFieldCount; ++field) {
        EXPECT_EQ(voidedTable.readField(field).toString(), voided[field].toString()) << field;
    }
    EXPECT_EQ(voidedTable.readField(u"作废收费员"), QVariant(kCashier));
    EXPECT_EQ(voidedTable.readField(u"作废原因"), QVariant(QStringLiteral("重复收费")));
    EXPECT_TRUE(voidedTable.readField(u"作废时间").toDateTime().isValid());
    voidedTable.close();

    // The new receipt of the number starts with no corrections; the voided one's went along.
    const QVariantList renewed = randomReceipt(QStringLiteral("100"), kCashier, random);
    save(renewed);
    QList<store::Correction> corrections;
    QString error;
    ASSERT_TRUE(store::receiptCorrections(database(), renewed, &corrections, &error));
    EXPECT_TRUE(corrections.isEmpty());
    EXPECT_EQ(runSql(QStringLiteral(R"(SELECT count(*) FROM "MZY_history")")),
              QList<QStringList>{{QStringLiteral("0")}});
    EXPECT_EQ(runSql(QStringLiteral(R"(SELECT "住院号" FROM "MZY_voided_history")")),
              QList<QStringList>{{QStringLiteral("100")}});

    const QList<JournalEntry> journal = openEntries();
    ASSERT_EQ(journal.size(), 5);
    EXPECT_EQ(journal[3].kind, JournalKind::Void);
    EXPECT_EQ(journal[3].inpatientNumber, QStringLiteral("100"));
    store::JournalAmounts takenBack{};
    shift_test::addAmounts(takenBack, voided, -1);
    EXPECT_EQ(fenOf(journal[3].amounts), fenOf(takenBack));
    EXPECT_EQ(journal[4].kind, JournalKind::New);
}

TEST_P(ShiftStore, AVoidThatMayNotBeMadeChangesNothing) {
    std::mt19937 random(8);
    save(randomReceipt(QStringLiteral("1"), kCashier, random));
    const store::LoadedReceipt shown = shownReceipt(database(), QStringLiteral("1"));
    const struct {
        const char* what;
        QString cashier;
        QString reason;
        VoidOutcome refusal;
    } refusals[] = {
        {"another cashier", kOtherCashier, QStringLiteral("错"), VoidOutcome::NotIssuer},
        {"no reason", kCashier, QStringLiteral(" 　 "), VoidOutcome::NoReason},
        {"51 characters", kCashier, QString(51, QChar(0x9519)), VoidOutcome::ReasonTooLong},
    };
    for (const auto& refused : refusals) {
        const store::VoidResult result =
            store::voidReceipt(database(), shown, refused.cashier, refused.reason);
        EXPECT_EQ(result.outcome, refused.refusal) << refused.what;
    }
    EXPECT_EQ(store::voidReceipt(database(), shown, kOtherCashier, QStringLiteral("错")).issuer,
              kCashier);

    // Another desk corrects the receipt after this one showed it.
    {
        store::Database otherDesk(databaseLocation());
        ASSERT_EQ(store::saveCorrection(otherDesk, shown,
                                        randomReceipt(QStringLiteral("1"), kCashier, random))
                      .outcome,
                  store::SaveOutcome::Saved);
    }
    EXPECT_EQ(store::voidReceipt(database(), shown, kCashier, QStringLiteral("错")).outcome,
              VoidOutcome::ChangedElsewhere);
    EXPECT_EQ(countOf(QStringLiteral("MZY")), 1);
    EXPECT_EQ(countOf(QStringLiteral("MZY_voided")), 0);
    EXPECT_EQ(openEntries().size(), 2) << "the save and the correction, no void";

    const store::LoadedReceipt current = shownReceipt(database(), QStringLiteral("1"));
    EXPECT_EQ(store::voidReceipt(database(), current, kCashier, QString(50, QChar(0x9519))).outcome,
              VoidOutcome::Voided);
    EXPECT_EQ(store::voidReceipt(database(), current, kCashier, QStringLiteral("再来")).outcome,
              VoidOutcome::Removed);
}

TEST_P(ShiftStore, AReprintIsARowOfItsOwnUnderTheCashierWhoPrintedWithNoAmount) {
    std::mt19937 random(9);
    const QVariantList receipt = randomReceipt(QStringLiteral("5"), kCashier, random);
    save(receipt);
    ASSERT_TRUE(store::recordReprint(database(), kOtherCashier, receipt, {}).recorded);

    const QList<JournalEntry> reprints = openEntries(kOtherCashier);
    ASSERT_EQ(reprints.size(), 1);
    EXPECT_EQ(reprints[0].kind, JournalKind::Reprint);
    EXPECT_EQ(reprints[0].inpatientNumber, QStringLiteral("5"));
    EXPECT_EQ(reprints[0].patientName, QStringLiteral("病人5"));
    EXPECT_EQ(reprints[0].desk, store::deskName());
    EXPECT_EQ(fenOf(reprints[0].amounts), fenOf(store::JournalAmounts{}));
    EXPECT_EQ(openEntries().size(), 1);
}

TEST_P(ShiftStore, ASettlementTakesExactlyTheRowsShownAndNoRowTwice) {
    std::mt19937 random(10);
    save(randomReceipt(QStringLiteral("1"), kCashier, random));
    save(randomReceipt(QStringLiteral("2"), kCashier, random));
    const QList<JournalEntry> shown = openEntries();
    save(randomReceipt(QStringLiteral("3"), kCashier, random));

    EXPECT_EQ(store::settleShift(database(), kCashier, {}, shift_test::exactCount({})).outcome,
              SettleOutcome::Empty);
    const store::SettleResult first =
        store::settleShift(database(), kCashier, shown, shift_test::exactCount(shown));
    ASSERT_EQ(first.outcome, SettleOutcome::Settled) << first.error.toStdString();
    EXPECT_EQ(
        store::settleShift(database(), kCashier, shown, shift_test::exactCount(shown)).outcome,
        SettleOutcome::TakenElsewhere);
    ASSERT_EQ(openEntries().size(), 1);
    EXPECT_EQ(openEntries()[0].inpatientNumber, QStringLiteral("3"));
    EXPECT_EQ(settlement(first.number).figures,
              shift_test::withoutMethods(store::sumEntries(shown)));

    const store::SettleResult second = store::settleShift(database(), kCashier, openEntries(),
                                                          shift_test::exactCount(openEntries()));
    EXPECT_EQ(second.number, first.number + 1);
    EXPECT_EQ(countOf(QStringLiteral("MZY_settlement")), 2);

    const QDate today = QDate::currentDate();
    const struct {
        const char* what;
        store::SettlementFilter filter;
        qsizetype found;
    } filters[] = {
        {"every settlement", {}, 2},
        {"the cashier's today", {kCashier, today, today}, 2},
        {"another cashier's", {kOtherCashier, {}, {}}, 0},
        {"yesterday's", {{}, today.addDays(-1), today.addDays(-1)}, 0},
    };
    for (const auto& [what, filter, found] : filters) {
        QList<store::Settlement> settlements;
        QString error;
        ASSERT_TRUE(store::readSettlements(database(), filter, &settlements, &error));
        EXPECT_EQ(settlements.size(), found) << what;
    }
}

// Two desks save receipts of the cashier and stop, their journal rows written but not committed,
// while two desks settle the cashier's open shift as both showed it.
TEST_P(ShiftStore, SavesRacingSettlementsLoseNoRowAndCountNoneTwice) {
    std::mt19937 random(11);
    store::JournalAmounts journalSums{};
    int saved = 0;
    const auto nextReceipt = [&] {
        const QVariantList receipt = randomReceipt(QString::number(++saved), kCashier, random);
        shift_test::addAmounts(journalSums, receipt);
        return receipt;
    };
    for (int round = 0; round < 5; ++round) {
        save(nextReceipt());
        const QVariantList racing[2] = {nextReceipt(), nextReceipt()};
        std::atomic<int> paused = 0;
        std::latch release(1);
        store::setSavePauseForTesting([&](store::SavePoint point) {
            if (point == store::SavePoint::JournalWritten) {
                ++paused;
                release.wait();
            }
        });
        std::vector<std::thread> desks;
        for (const QVariantList& receipt : racing) {
            desks.emplace_back([&, receipt] {
                store::Database desk(databaseLocation());
                EXPECT_EQ(store::saveNewReceipt(desk, receipt).outcome, store::SaveOutcome::Saved);
            });
        }
        // On a file the second save waits for the first; on a server both stop at the row.
        for (int waited = 0; paused < 2 && waited < 100; ++waited) {
            QThread::msleep(10);
        }
        const QList<JournalEntry> shown = openEntries();
        store::SettleResult results[2];
        std::vector<std::thread> settling;
        for (store::SettleResult& result : results) {
            settling.emplace_back([&] {
                store::Database desk(databaseLocation());
                result = store::settleShift(desk, kCashier, shown, shift_test::exactCount(shown));
            });
        }
        QThread::msleep(50);
        release.count_down();
        for (std::thread& thread : desks) {
            thread.join();
        }
        for (std::thread& thread : settling) {
            thread.join();
        }
        store::setSavePauseForTesting(nullptr);
        const int settledCount = (results[0].outcome == SettleOutcome::Settled) +
                                 (results[1].outcome == SettleOutcome::Settled);
        EXPECT_EQ(settledCount, 1)
            << results[0].error.toStdString() << results[1].error.toStdString();
        EXPECT_TRUE(results[0].outcome == SettleOutcome::TakenElsewhere ||
                    results[1].outcome == SettleOutcome::TakenElsewhere);
    }

    QList<store::Settlement> settlements;
    QString error;
    ASSERT_TRUE(store::readSettlements(database(), {}, &settlements, &error));
    store::ShiftFigures accounted = store::sumEntries(openEntries());
    qint64 rows = openEntries().size();
    for (const store::Settlement& made : settlements) {
        const QList<JournalEntry> taken = settledEntries(made.number);
        EXPECT_EQ(made.figures, shift_test::withoutMethods(store::sumEntries(taken)))
            << "settlement " << made.number;
        rows += taken.size();
        for (const JournalEntry& entry : taken) {
            accounted.add(entry);
        }
    }
    EXPECT_EQ(rows, countOf(QStringLiteral("MZY_journal")));
    EXPECT_EQ(rows, saved);
    EXPECT_EQ(fenOf(accounted.amounts), fenOf(journalSums));
}

// A receipt of kCashier whose 补收 and 退款 are these.
QVariantList paidReceipt(const QString& number, common::Money supplement, common::Money refund) {
    receipt::ReceiptState state;
    state.bedFee = state.totalAmount = supplement + common::yuan(1);
    state.prepaidAmount = refund + common::yuan(1);
    state.supplementAmount = supplement;
    state.refundAmount = refund;
    state.currentCashier = kCashier;
    return store::receiptRecordValues(number, QStringLiteral("病人") + number,
                                      store_test::day(2026, 3, 1), store_test::day(2026, 3, 9),
                                      state);
}

// Cash, card and WeChat 补收, a cash and a card 退款, a correction paying its difference another
// way and voids taking each part back the way it was paid: each method's totals and 应交现金 to the
// fen, and a settlement that keeps the counted drawer with its short of 0.10.
TEST_P(ShiftStore, EachMethodIsSummedApartAndOnlyCashIsHandedOver) {
    using common::yuan;
    const QString cash = QStringLiteral("现金");
    const QString card = QStringLiteral("银行卡");
    const QString weChat = QStringLiteral("微信");
    const auto issue = [&](const char* number, common::Money supplement, common::Money refund,
                           const store::EventMethods& methods) {
        const store::SaveResult saved = store::saveNewReceipt(
            database(), paidReceipt(QString::fromUtf8(number), supplement, refund), methods);
        ASSERT_EQ(saved.outcome, store::SaveOutcome::Saved) << saved.error.toStdString();
    };
    issue("A", yuan(100), {}, {});  // 现金 when no method is given
    issue("B", yuan(200), {}, {card, {}});
    issue("C", yuan(50.5), {}, {weChat, {}});
    issue("D", {}, yuan(30), {{}, cash});
    issue("E", {}, yuan(80), {{}, card});
    ASSERT_EQ(store::saveCorrection(database(), shownReceipt(database(), QStringLiteral("B")),
                                    paidReceipt(QStringLiteral("B"), yuan(250), {}), {weChat, {}})
                  .outcome,
              store::SaveOutcome::Saved);
    const QList<JournalEntry> beforeVoids = openEntries();
    ASSERT_EQ(beforeVoids.size(), 6);
    EXPECT_EQ(beforeVoids[5].methods, (store::EventMethods{weChat, {}}))
        << "a correction keeps the method of its difference";
    EXPECT_EQ(beforeVoids[0].methods, (store::EventMethods{cash, {}}));
    EXPECT_EQ(beforeVoids[3].methods, (store::EventMethods{{}, cash})) << "no 补收, no method";
    for (const char* number : {"B", "A"}) {
        ASSERT_EQ(
            store::voidReceipt(database(), shownReceipt(database(), QString::fromUtf8(number)),
                               kCashier, QStringLiteral("收费项目错"))
                .outcome,
            store::VoidOutcome::Voided);
    }

    QList<int> fields;
    for (int field = 0; field < store::kReceiptFieldCount; ++field) {
        fields.append(field);
    }
    store::ReceiptSearch search(database(), {QStringLiteral("B"), {}, {}, {}, {}, true}, fields,
                                true);
    QList<store::FoundReceipt> found;
    QString error;
    ASSERT_TRUE(search.next(10, &found, &error)) << error.toStdString();
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].payment.supplement,
              (QList<store::MethodPart>{{card, yuan(200)}, {weChat, yuan(50)}}))
        << "what the void took back, each part the way it was paid";

    const QList<JournalEntry> shown = openEntries();
    ASSERT_EQ(shown.size(), 9) << "B's void takes back its card and its WeChat part in a row each";
    const store::ShiftFigures figures = store::sumEntries(shown);
    EXPECT_EQ(figures.eventCount(JournalKind::Void), 2);
    EXPECT_EQ(figures.method(cash), (store::MethodTotal{cash, {}, yuan(30), {}, {}}));
    EXPECT_EQ(figures.method(card), (store::MethodTotal{card, {}, yuan(80), {}, {}}));
    EXPECT_EQ(figures.method(weChat), (store::MethodTotal{weChat, yuan(50.5), {}, {}, {}}));
    EXPECT_EQ(figures.amount(store::kSupplementField), yuan(50.5));
    EXPECT_EQ(figures.cashDue(), yuan(-30));

    store::DrawerCount count{yuan(500), {}, yuan(469.90), {}};
    const store::SettleResult unexplained = store::settleShift(database(), kCashier, shown, count);
    EXPECT_EQ(unexplained.outcome, SettleOutcome::BadCount);
    EXPECT_EQ(unexplained.problem, store::CountProblem::NoRemark);
    EXPECT_EQ(openEntries().size(), 9) << "nothing settled";
    count.remark = QStringLiteral("  找零少收一角 ");
    const store::SettleResult settled = store::settleShift(database(), kCashier, shown, count);
    ASSERT_EQ(settled.outcome, SettleOutcome::Settled) << settled.error.toStdString();
    const store::Settlement stored = settlement(settled.number);
    EXPECT_EQ(stored.cashDue, yuan(-30));
    EXPECT_EQ(stored.drawer,
              (store::DrawerBalance{yuan(500), yuan(-30), yuan(470), yuan(469.90), yuan(-0.10),
                                    QStringLiteral("找零少收一角"), QStringLiteral("合计")}));
}

// A database of the version before methods were kept: every earlier row reads as 现金, an earlier
// settlement has no count, and nothing else changes.
TEST_P(ShiftStore, RowsWrittenBeforeMethodsWereKeptReadAsCash) {
    std::mt19937 random(14);
    save(randomReceipt(QStringLiteral("1"), kCashier, random));
    ASSERT_EQ(store::settleShift(database(), kCashier, openEntries(),
                                 shift_test::exactCount(openEntries()))
                  .outcome,
              SettleOutcome::Settled);
    save(randomReceipt(QStringLiteral("2"), kCashier, random));
    database().closeAll();
    for (const char* column : {"补收方式", "退款方式"}) {
        runSql(QStringLiteral(R"(ALTER TABLE "MZY_journal" DROP COLUMN "%1")")
                   .arg(QString::fromUtf8(column)));
    }
    for (const char* column :
         {"备用金", "应有现金", "实点现金", "长短款", "长短款说明", "点钞明细"}) {
        runSql(QStringLiteral(R"(ALTER TABLE "MZY_settlement" DROP COLUMN "%1")")
                   .arg(QString::fromUtf8(column)));
    }
    runSql(QStringLiteral("UPDATE schema_version SET version = 3"));
    const auto contents = [this] {
        return tableContents({"MZY", "MZY_history", "USER", "MZY_voided"});
    };
    const QList<QList<QStringList>> before = contents();

    store::Database upgraded(databaseLocation());
    QString error;
    ASSERT_TRUE(upgraded.prepare(&error)) << error.toStdString();
    EXPECT_EQ(contents(), before);
    EXPECT_EQ(runSql(QStringLiteral("SELECT version FROM schema_version ORDER BY version")),
              (QList<QStringList>{{QStringLiteral("3")}, {QStringLiteral("5")}}));
    QList<JournalEntry> open;
    ASSERT_TRUE(store::readOpenEntries(upgraded, kCashier, &open, &error)) << error.toStdString();
    ASSERT_EQ(open.size(), 1);
    EXPECT_EQ(open[0].methods,
              (store::EventMethods{QStringLiteral("现金"), QStringLiteral("现金")}));
    EXPECT_EQ(store::sumEntries(open).cashDue(),
              store::sumEntries(open).amount(store::kSupplementField) -
                  store::sumEntries(open).amount(store::kRefundField));
    std::optional<store::Settlement> earlier;
    ASSERT_TRUE(store::readSettlement(upgraded, 1, &earlier, &error) && earlier);
    EXPECT_FALSE(earlier->drawer.has_value());
}

// A database of the version before reprints kept a reason gains the column; its reprints read as
// given none, and a new one keeps its reason.
TEST_P(ShiftStore, ReprintsBeforeReasonsWereKeptReadAsGivingNone) {
    std::mt19937 random(15);
    const QVariantList receipt = randomReceipt(QStringLiteral("1"), kCashier, random);
    save(receipt);
    ASSERT_TRUE(store::recordReprint(database(), kCashier, receipt, {}).recorded);
    database().closeAll();
    runSql(QStringLiteral(R"(ALTER TABLE "MZY_journal" DROP COLUMN "补打原因")"));
    runSql(QStringLiteral("UPDATE schema_version SET version = 4"));

    store::Database upgraded(databaseLocation());
    QString error;
    ASSERT_TRUE(upgraded.prepare(&error)) << error.toStdString();
    ASSERT_TRUE(
        store::recordReprint(upgraded, kCashier, receipt, QStringLiteral("票据污损")).recorded);
    QList<JournalEntry> open;
    ASSERT_TRUE(store::readOpenEntries(upgraded, kCashier, &open, &error)) << error.toStdString();
    QStringList reasons;
    for (const JournalEntry& entry : open) {
        if (entry.kind == JournalKind::Reprint) {
            reasons << entry.reprintReason;
        }
    }
    EXPECT_EQ(reasons, (QStringList{QString(), QStringLiteral("票据污损")}));
    EXPECT_EQ(runSql(QStringLiteral("SELECT version FROM schema_version ORDER BY version")),
              (QList<QStringList>{{QStringLiteral("4")}, {QStringLiteral("5")}}));
}

TEST_P(ShiftStore, AnOlderDatabaseIsBroughtUpWithItsRecordsUntouched) {
    std::mt19937 random(12);
    save(randomReceipt(QStringLiteral("1"), kCashier, random));
    ASSERT_EQ(store::saveCorrection(database(), shownReceipt(database(), QStringLiteral("1")),
                                    randomReceipt(QStringLiteral("1"), kCashier, random))
                  .outcome,
              store::SaveOutcome::Saved);
    database().closeAll();
    // The database as the program before the journal left it.
    for (const char* table : {"MZY_journal", "MZY_voided", "MZY_settlement"}) {
        runSql(QStringLiteral(R"(DROP TABLE "%1")").arg(QLatin1StringView(table)));
    }
    runSql(QStringLiteral("UPDATE schema_version SET version = 1"));
    const auto contents = [this] { return tableContents({"MZY", "MZY_history", "USER"}); };
    const QList<QList<QStringList>> before = contents();

    store::Database upgraded(databaseLocation());
    QString error;
    ASSERT_TRUE(upgraded.prepare(&error)) << error.toStdString();

    EXPECT_EQ(contents(), before);
    EXPECT_EQ(runSql(QStringLiteral("SELECT version FROM schema_version ORDER BY version")),
              (QList<QStringList>{{QStringLiteral("1")}, {QStringLiteral("5")}}));
    for (const char* table : {"MZY_journal", "MZY_voided", "MZY_settlement"}) {
        EXPECT_FALSE(scratch().columnsOf(QLatin1StringView(table)).isEmpty()) << table;
    }
    const store::SaveResult saved =
        store::saveNewReceipt(upgraded, randomReceipt(QStringLiteral("2"), kCashier, random));
    EXPECT_EQ(saved.outcome, store::SaveOutcome::Saved) << saved.error.toStdString();
}

// 101 receipts each with the largest deposit a receipt stores sum to more than one receipt's
// column holds; the settlement keeps the sums whole, on a database made by the program before
// the columns were widened too.
TEST_P(ShiftStore, ASettlementOfTheLargestDepositsIsKeptWholeAlsoAfterAnUpgrade) {
    if (GetParam() == EngineKind::Postgres) {
        database().closeAll();
        for (const char* table : {"MZY_journal", "MZY_settlement"}) {
            for (const QString& column : scratch().columnsOf(QLatin1StringView(table))) {
                if (column != QStringLiteral("结算号") && column != QStringLiteral("序号") &&
                    runSql(QStringLiteral("SELECT data_type FROM information_schema.columns "
                                          "WHERE table_name = '%1' AND column_name = '%2'")
                               .arg(QLatin1StringView(table), column))
                            .value(0)
                            .value(0) == QStringLiteral("numeric")) {
                    runSql(
                        QStringLiteral(R"(ALTER TABLE "%1" ALTER COLUMN "%2" TYPE numeric(12,2))")
                            .arg(QLatin1StringView(table), column));
                }
            }
        }
        runSql(QStringLiteral("DELETE FROM schema_version WHERE version > 2"));
        store::Database upgraded(databaseLocation());
        QString error;
        ASSERT_TRUE(upgraded.prepare(&error)) << error.toStdString();
    }
    const common::Money largest = common::yuan(99'999'999);
    receipt::ReceiptState state;
    state.bedFee = state.totalAmount = common::yuan(100);
    state.prepaidAmount = largest;
    state.refundAmount = largest - state.totalAmount;
    state.currentCashier = kCashier;
    for (int number = 1; number <= 101; ++number) {
        save(store::receiptRecordValues(QString::number(number), QStringLiteral("病人"),
                                        store_test::day(2026, 3, 1), store_test::day(2026, 3, 9),
                                        state));
    }
    const store::SettleResult settled = store::settleShift(database(), kCashier, openEntries(),
                                                           shift_test::exactCount(openEntries()));
    ASSERT_EQ(settled.outcome, SettleOutcome::Settled) << settled.error.toStdString();
    const store::ShiftFigures figures = settlement(settled.number).figures;
    EXPECT_EQ(figures.amount(store::kPrepaidField), common::Money::fromFen(101 * largest.fen()));
    EXPECT_EQ(figures.amount(store::kRefundField),
              common::Money::fromFen(101 * state.refundAmount.fen()));
}

}  // namespace
