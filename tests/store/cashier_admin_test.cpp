#include <gtest/gtest.h>

#include <latch>
#include <set>
#include <thread>

#include "shift_fixture.h"
#include "store/cashier_admin.h"
#include "store/cashier_password.h"
#include "store/journal.h"
#include "store/receipt_record.h"
#include "store/receipt_saving.h"
#include "store/settlement.h"
#include "support/database_test.h"

namespace {

using store::CashierChange;
using Outcome = store::CashierChangeOutcome;

class CashierAdmin : public EngineTest {
protected:
    // Each cashier as its name, with " (plain)" after one whose password is stored as typed and
    // " (unusable)" after one whose entry opens nothing.
    QStringList listing() {
        QList<store::CashierEntry> cashiers;
        QString error;
        EXPECT_TRUE(store::listCashiers(database(), &cashiers, &error)) << error.toStdString();
        QStringList names;
        for (const store::CashierEntry& cashier : cashiers) {
            names.append(cashier.name + (cashier.password == store::StoredPassword::Plain
                                             ? QStringLiteral(" (plain)")
                                         : cashier.password == store::StoredPassword::Unusable
                                             ? QStringLiteral(" (unusable)")
                                             : QString()));
        }
        return names;
    }
    // The records in stored order, as another program reads them.
    QList<QStringList> storedRecords() {
        return runSql(QStringLiteral(R"(SELECT "收费员", "密码" FROM "USER" ORDER BY %1)")
                          .arg(GetParam() == EngineKind::Sqlite ? QStringLiteral("rowid")
                                                                : QStringLiteral(R"("序号")")));
    }
    Outcome add(const QString& name, const QString& password) {
        return store::addCashier(database(), name, password).outcome;
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, CashierAdmin,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(CashierAdmin, AddsChangesAndRemovesCashiersStoredExactlyWithHashedPasswords) {
    const QList<std::pair<QString, QString>> cashiers{
        {QStringLiteral(" 张 三 "), QStringLiteral(" 密 码 ")},
        {QStringLiteral(R"(O'Brien "Bob"; DROP TABLE "USER")"), QStringLiteral(R"('");--)")},
        {QString(1000, u'收'), QString(1000, u'密')},
    };
    for (const auto& [name, password] : cashiers) {
        ASSERT_EQ(add(name, password), Outcome::Done);
    }
    runSql(QStringLiteral(
        R"(INSERT INTO "USER" ("收费员", "密码") VALUES ('旧', '明文'), ('旧', '第二个'), )"
        R"(('空', ''), ('外来', '$2y$10$abcdefghijklmnopqrstuuJ1HqjDGIGc4c0yZBK7mTy9aOlGkN5Vu'))"));
    EXPECT_EQ(listing(), (QStringList{QStringLiteral("491MX"), cashiers[0].first, cashiers[1].first,
                                      cashiers[2].first, QStringLiteral("旧 (plain)"),
                                      QStringLiteral("旧 (plain)"), QStringLiteral("空 (unusable)"),
                                      QStringLiteral("外来 (unusable)")}));
    const QList<QStringList> stored = storedRecords();
    for (int i = 0; i < cashiers.size(); ++i) {
        EXPECT_EQ(stored[i + 1][0], cashiers[i].first);
        EXPECT_TRUE(stored[i + 1][1].startsWith(QStringLiteral("$argon2id$")));
        EXPECT_TRUE(store::passwordOpens(stored[i + 1][1], cashiers[i].second));
    }

    EXPECT_EQ(store::changePassword(database(), QStringLiteral("旧"), QStringLiteral("新")).outcome,
              Outcome::Done);
    EXPECT_EQ(listing().mid(4, 2),
              (QStringList{QStringLiteral("旧"), QStringLiteral("旧 (plain)")}))
        << "only the first namesake, whom the login checks, is changed";
    EXPECT_TRUE(store::passwordOpens(storedRecords()[4][1], QStringLiteral("新")));

    EXPECT_EQ(store::removeCashier(database(), QStringLiteral("旧")).outcome, Outcome::Done);
    EXPECT_EQ(store::removeCashier(database(), cashiers[1].first).outcome, Outcome::Done);
    EXPECT_EQ(listing(),
              (QStringList{QStringLiteral("491MX"), cashiers[0].first, cashiers[2].first,
                           QStringLiteral("空 (unusable)"), QStringLiteral("外来 (unusable)")}));
}

TEST_P(CashierAdmin, RefusalsLeaveTheTableAsItWas) {
    const QList<QStringList> before = storedRecords();
    const QString blank;
    const std::pair<CashierChange, Outcome> refusals[] = {
        {store::addCashier(database(), QStringLiteral("491MX"), QStringLiteral("x")),
         Outcome::NameTaken},
        {store::addCashier(database(), blank, QStringLiteral("x")), Outcome::UnusableName},
        {store::addCashier(database(), QStringLiteral("甲\n乙"), QStringLiteral("x")),
         Outcome::UnusableName},
        {store::addCashier(database(), QStringLiteral("新"), blank), Outcome::EmptyPassword},
        {store::changePassword(database(), QStringLiteral("491MX"), blank), Outcome::EmptyPassword},
        {store::changePassword(database(), QStringLiteral("491mx"), QStringLiteral("x")),
         Outcome::UnknownName},
        {store::removeCashier(database(), QStringLiteral("491MX ")), Outcome::UnknownName},
        {store::removeCashier(database(), QStringLiteral("491MX")), Outcome::LastCashier},
    };
    for (const auto& [change, expected] : refusals) {
        EXPECT_EQ(change.outcome, expected) << change.error.toStdString();
    }
    EXPECT_EQ(storedRecords(), before);
}

// Only the cashier himself settles his open journal rows, at the desk: removed, he could not.
TEST_P(CashierAdmin, ACashierWithAnOpenShiftStaysUntilHeHasSettledIt) {
    const QString name = QStringLiteral("张三");
    ASSERT_EQ(add(name, QStringLiteral("pw")), Outcome::Done);
    // Each receipt takes 150 in and pays 29.50 back: 120.50 in the drawer.
    receipt::ReceiptState state;
    state.bedFee = state.totalAmount = common::yuan(120.5);
    state.supplementAmount = common::yuan(150);
    state.refundAmount = common::yuan(29.5);
    const QDateTime day(QDate(2026, 3, 10), QTime(0, 0));
    for (const auto& [number, cashier] :
         {std::pair{u"1", name}, std::pair{u"2", name}, std::pair{u"3", QStringLiteral("491MX")}}) {
        state.currentCashier = cashier;
        const QVariantList receipt = store::receiptRecordValues(
            QString::fromUtf16(number), QStringLiteral("病人"), day, day, state);
        ASSERT_EQ(store::saveNewReceipt(database(), receipt).outcome, store::SaveOutcome::Saved);
    }

    const CashierChange refused = store::removeCashier(database(), name);
    EXPECT_EQ(refused.outcome, Outcome::OpenShift) << refused.error.toStdString();
    EXPECT_EQ(refused.openShift.events, 2);
    EXPECT_EQ(refused.openShift.cash, common::yuan(241));
    EXPECT_EQ(listing().count(name), 1);

    QList<store::JournalEntry> open;
    QString error;
    ASSERT_TRUE(store::readOpenEntries(database(), name, &open, &error)) << error.toStdString();
    ASSERT_EQ(store::settleShift(database(), name, open, shift_test::exactCount(open)).outcome,
              store::SettleOutcome::Settled);
    EXPECT_EQ(store::removeCashier(database(), name).outcome, Outcome::Done)
        << "another cashier's open rows are his own affair";
    EXPECT_EQ(listing().count(name), 0);
}

// Two administrators, each with a connection of their own, released at the same moment.
template <typename Change>
std::pair<Outcome, Outcome> atOnce(const QString& location, Change change) {
    std::latch start(2);
    Outcome outcomes[2];
    const auto administrator = [&](int which) {
        store::Database database(location);
        start.arrive_and_wait();
        outcomes[which] = change(database, which);
    };
    std::thread other(administrator, 1);
    administrator(0);
    other.join();
    return {outcomes[0], outcomes[1]};
}

TEST_P(CashierAdmin, OfTwoAdministratorsAtOnceOnlyOneGetsWhatBothTogetherWouldBreak) {
    const QString names[] = {QStringLiteral("甲"), QStringLiteral("乙")};
    const auto added = atOnce(databaseLocation(), [&](store::Database& database, int) {
        return store::addCashier(database, names[0], QStringLiteral("pw")).outcome;
    });
    EXPECT_EQ(std::set<Outcome>({added.first, added.second}),
              std::set<Outcome>({Outcome::Done, Outcome::NameTaken}));
    ASSERT_EQ(add(names[1], QStringLiteral("pw")), Outcome::Done);
    ASSERT_EQ(store::removeCashier(database(), QStringLiteral("491MX")).outcome, Outcome::Done);

    for (int round = 0; round < 5; ++round) {
        const auto removed = atOnce(databaseLocation(), [&](store::Database& database, int which) {
            return store::removeCashier(database, names[which]).outcome;
        });
        ASSERT_EQ(std::set<Outcome>({removed.first, removed.second}),
                  std::set<Outcome>({Outcome::Done, Outcome::LastCashier}));
        ASSERT_EQ(listing().size(), 1) << "one of the two is left to log in";
        ASSERT_EQ(add(names[removed.first == Outcome::Done ? 0 : 1], QStringLiteral("pw")),
                  Outcome::Done);
    }
}

}  // namespace
