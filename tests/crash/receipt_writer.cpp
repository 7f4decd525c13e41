// Writes receipts through the store until it is stopped: new ones, and at random one time in
// three a correction of an earlier one, loaded as the cashier's window loads it. For every receipt
// the store reports stored it prints "stored <number> <version>" at once.
//
//   crash_writer DATABASE [FILE_SIZE_LIMIT]
//
// It prints "ready" once the database is prepared. With a limit (in bytes) no file may grow
// beyond it; a save that fails prints "failed <number> <version> <message>" and ends the program.

#include <sys/resource.h>

#include <QCoreApplication>
#include <QRandomGenerator>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <optional>

#include "crash/crash_receipt.h"
#include "store/database.h"
#include "store/receipt_saving.h"
#include "store/schema.h"
#include "store/table.h"

namespace {

using crash_receipt::Key;

enum ExitCode { kUnusable = 1, kSaveFailed = 2, kDamaged = 3 };

void say(const QString& line) {
    std::fputs((line + u'\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

// A write beyond the limit then fails with an error instead of ending the program.
void limitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

QList<int> storedNumbers(store::Database& database) {
    QList<int> numbers;
    store::Table table(database);
    table.open(store::kReceiptTable, {store::kInpatientNumberField.toString()});
    for (; !table.pastLast(); table.skip()) {
        numbers.append(table.readField(store::kInpatientNumberField).toString().toInt());
    }
    return numbers;
}

std::optional<store::LoadedReceipt> load(store::Database& database, int number) {
    store::Table table(database);
    if (!table.open(store::kReceiptTable) ||
        !store::findByInpatientNumber(table, QString::number(number))) {
        return std::nullopt;
    }
    store::LoadedReceipt loaded{table.recordId(), {}};
    for (int field = 0; field < store::kReceiptFieldCount; ++field) {
        loaded.values.append(table.readField(field));
    }
    return loaded;
}

}  // namespace

int main(int argc, char** argv) {
    const QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    store::Database database(arguments.value(1));
    QString error;
    if (!database.prepare(&error)) {
        say(QStringLiteral("unusable ") + error);
        return kUnusable;
    }
    QList<int> numbers = storedNumbers(database);
    int nextNumber = numbers.isEmpty() ? 1 : *std::max_element(numbers.begin(), numbers.end()) + 1;
    if (arguments.size() > 2) {
        limitFileSize(arguments[2].toULongLong());
    }
    say(QStringLiteral("ready"));

    QRandomGenerator& random = *QRandomGenerator::global();
    for (;;) {
        Key key{nextNumber, 0};
        store::SaveResult saved;
        if (!numbers.isEmpty() && random.bounded(3) == 0) {
            key.number = numbers[random.bounded(numbers.size())];
            const std::optional<store::LoadedReceipt> loaded = load(database, key.number);
            const std::optional<Key> loadedKey =
                loaded ? crash_receipt::keyOf(loaded->values) : std::nullopt;
            if (!loadedKey) {
                say(QStringLiteral("damaged %1").arg(key.number));
                return kDamaged;
            }
            key.version = loadedKey->version + 1;
            saved = store::saveCorrection(database, *loaded, crash_receipt::receipt(key));
        } else {
            saved = store::saveNewReceipt(database, crash_receipt::receipt(key));
        }
        if (saved.outcome != store::SaveOutcome::Saved) {
            say(QStringLiteral("failed %1 %2 %3")
                    .arg(key.number)
                    .arg(key.version)
                    .arg(saved.error));
            return kSaveFailed;
        }
        say(QStringLiteral("stored %1 %2").arg(key.number).arg(key.version));
        if (key.version == 0) {
            numbers.append(nextNumber++);
        }
    }
}
