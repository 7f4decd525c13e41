// What hashed cashier passwords cost: one login check against a hashed password (the time a
// guesser pays for every guess, meant to lie between 50 and 500 ms), the same check against a
// plain password as the floor, and hashing a new password as the cashier command does.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "common/text.h"
#include "platform/password_hash.h"
#include "store/cashier_password.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/table.h"

namespace {

const QString kPassword = QStringLiteral("收费员的密码");

// The steps of the Login window's 确定: the first record of the name, then its password.
bool logIn(store::Database& database, const QString& cashier, const QString& password) {
    store::Table cashiers(database);
    cashiers.open(store::kCashierTable);
    const bool found = cashiers.find([&](const store::Table& record) {
        return common::textEquals(record.readField(store::kCashierField).toString(), cashier);
    });
    return found &&
           store::passwordOpens(cashiers.readField(store::kPasswordField).toString(), password);
}

void runLogins(benchmark::State& state, const QString& storedPassword) {
    QTemporaryDir folder;
    store::Database database(folder.filePath(QStringLiteral("billing.sqlite")));
    QString error;
    store::Table cashiers(database);
    if (!database.prepare(&error) || !cashiers.open(store::kCashierTable) ||
        !cashiers.appendRecord({QStringLiteral("张三"), storedPassword})) {
        state.SkipWithError("no database");
        return;
    }
    cashiers.close();
    for (auto _ : state) {
        if (!logIn(database, QStringLiteral("张三"), kPassword)) {
            state.SkipWithError("the login failed");
            return;
        }
    }
}

void BM_LoginWithHashedPassword(benchmark::State& state) {
    runLogins(state, platform::hashPassword(kPassword).value_or(QString()));
}
BENCHMARK(BM_LoginWithHashedPassword)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_LoginWithPlainPassword(benchmark::State& state) {
    runLogins(state, kPassword);
}
BENCHMARK(BM_LoginWithPlainPassword)->Unit(benchmark::kMillisecond);

void BM_HashPassword(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(platform::hashPassword(kPassword));
    }
}
BENCHMARK(BM_HashPassword)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
