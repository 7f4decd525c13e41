#include "store/cashier_admin.h"

#include <algorithm>

#include "common/text.h"
#include "platform/password_hash.h"
#include "storage/storage_engine.h"
#include "store/cashier_password.h"
#include "store/database.h"
#include "store/journal.h"
#include "store/schema.h"
#include "store/shift_figures.h"
#include "store/shift_tables.h"
#include "store/table.h"

namespace store {

namespace {

using Outcome = CashierChangeOutcome;
using storage::RecordId;
using storage::RecordWriter;
using storage::TransactionOutcome;

// A removal looks again when another administrator removed the cashiers it counted on meanwhile.
constexpr int kRemovalAttempts = 3;

int nameField() {
    return cashierSchema().indexOf(kCashierField);
}

CashierChange finish(Database& database, const storage::TransactionResult& transaction,
                     Outcome refusal) {
    switch (transaction.outcome) {
        case TransactionOutcome::Committed:
            return {Outcome::Done, {}};
        case TransactionOutcome::Abandoned:
            return {refusal, {}};
        case TransactionOutcome::Unknown:
            return {Outcome::Uncertain,
                    database.writeFailureMessage(transaction.reason) +
                        QStringLiteral("这次修改可能已经生效，也可能没有，请列出收费员查看。")};
        case TransactionOutcome::Failed:
            break;
    }
    return {Outcome::Failed, database.writeFailureMessage(transaction.reason)};
}

// Runs a change that writes this password, hashed before the table is locked.
CashierChange withHash(const QString& password,
                       const std::function<CashierChange(const QString& hash)>& change) {
    if (password.isEmpty()) {
        return {Outcome::EmptyPassword, {}};
    }
    const std::optional<QString> hash = platform::hashPassword(password);
    if (!hash) {
        return {Outcome::Failed, platform::kPasswordHashFailure + QStringLiteral("。")};
    }
    return change(*hash);
}

// The cashiers of another name, as a walk outside the lock sees them.
bool otherCashiers(Database& database, const QString& name, QList<RecordId>* others,
                   QString* error) {
    Table cashiers(database);
    if (!cashiers.open(kCashierTable, {kCashierField.toString()})) {
        *error = cashiers.lastError();
        return false;
    }
    for (; !cashiers.pastLast(); cashiers.skip()) {
        if (!common::textEquals(cashiers.readField(kCashierField).toString(), name)) {
            others->append(cashiers.recordId());
        }
    }
    *error = cashiers.lastError();
    return error->isEmpty();
}

// Whether one of those others is still there under the lock: someone else can log in.
bool anyStillThere(RecordWriter& writer, const QList<RecordId>& others, const QString& name) {
    return std::any_of(others.begin(), others.end(), [&](RecordId id) {
        const std::optional<storage::RecordValues> values = writer.read(cashierSchema(), id);
        return values && !common::textEquals(values->value(nameField()).toString(), name);
    });
}

// The figures of the cashier's open journal rows, read once no save can add one until the
// transaction ends.
bool openShiftOf(RecordWriter& writer, const QString& name, ShiftFigures* figures) {
    QList<JournalEntry> open;
    if (!writer.holdTable(journalSchema()) || !readOpenEntries(writer, name, &open)) {
        return false;
    }
    *figures = sumEntries(open);
    return true;
}

}  // namespace

bool isUsableCashierName(const QString& name) {
    return !name.isEmpty() && std::none_of(name.begin(), name.end(), [](QChar character) {
        return character.category() == QChar::Other_Control;
    });
}

bool listCashiers(Database& database, QList<CashierEntry>* cashiers, QString* error) {
    Table table(database);
    if (!table.open(kCashierTable)) {
        *error = table.lastError();
        return false;
    }
    for (; !table.pastLast(); table.skip()) {
        cashiers->append({table.readField(kCashierField).toString(),
                          storedPasswordKind(table.readField(kPasswordField).toString())});
    }
    *error = table.lastError();
    return error->isEmpty();
}

std::optional<bool> hasCashier(Database& database, const QString& name, QString* error) {
    QString reason;
    const std::optional<RecordId> found =
        database.engine().firstWithText(cashierSchema(), nameField(), name, &reason);
    if (!reason.isEmpty()) {
        *error = database.unusableMessage(reason);
        return std::nullopt;
    }
    return found.has_value();
}

std::optional<bool> isKnownCashier(Database& database, const QString& name, bool voidedToo,
                                   QString* error) {
    QList<const TableSchema*> tables{&cashierSchema(), &receiptSchema()};
    if (voidedToo) {
        tables.append(&voidedReceiptSchema());
    }
    for (const TableSchema* table : tables) {
        QString reason;
        const std::optional<RecordId> found =
            database.engine().firstWithText(*table, table->indexOf(kCashierField), name, &reason);
        if (!reason.isEmpty()) {
            *error = database.unusableMessage(reason);
            return std::nullopt;
        }
        if (found) {
            return true;
        }
    }
    return false;
}

CashierChange addCashier(Database& database, const QString& name, const QString& password) {
    if (!isUsableCashierName(name)) {
        return {Outcome::UnusableName, {}};
    }
    return withHash(password, [&](const QString& hash) {
        const storage::TransactionResult transaction =
            database.engine().transact(kCashierTable, [&](RecordWriter& writer) {
                return !writer.firstWithText(cashierSchema(), nameField(), name) &&
                       writer.insert(cashierSchema(), {name, hash}).has_value();
            });
        return finish(database, transaction, Outcome::NameTaken);
    });
}

CashierChange changePassword(Database& database, const QString& name, const QString& password) {
    return withHash(password, [&](const QString& hash) {
        const storage::TransactionResult transaction =
            database.engine().transact(kCashierTable, [&](RecordWriter& writer) {
                const std::optional<RecordId> id =
                    writer.firstWithText(cashierSchema(), nameField(), name);
                return id && writer.update(cashierSchema(), *id, {name, hash});
            });
        return finish(database, transaction, Outcome::UnknownName);
    });
}

CashierChange removeCashier(Database& database, const QString& name) {
    const TableSchema& table = cashierSchema();
    for (int attempt = 0; attempt < kRemovalAttempts; ++attempt) {
        QList<RecordId> others;
        QString error;
        if (!otherCashiers(database, name, &others, &error)) {
            return {Outcome::Failed, error};
        }
        Outcome refusal = Outcome::UnknownName;
        bool othersGone = false;
        ShiftFigures openShift;
        const storage::TransactionResult transaction =
            database.engine().transact(kCashierTable, [&](RecordWriter& writer) {
                std::optional<RecordId> id = writer.firstWithText(table, nameField(), name);
                if (!id) {
                    return false;
                }
                if (!anyStillThere(writer, others, name)) {
                    refusal = Outcome::LastCashier;
                    othersGone = !others.isEmpty();
                    return false;
                }
                if (!openShiftOf(writer, name, &openShift)) {
                    return false;
                }
                if (openShift.totalEvents() > 0) {
                    refusal = Outcome::OpenShift;
                    return false;
                }
                for (; id; id = writer.firstWithText(table, nameField(), name)) {
                    if (!writer.remove(table, *id)) {
                        return false;
                    }
                }
                return true;
            });
        if (!othersGone) {
            CashierChange change = finish(database, transaction, refusal);
            change.openShift = {openShift.totalEvents(), openShift.cashDue()};
            return change;
        }
    }
    return {Outcome::Failed,
            database.writeFailureMessage(QStringLiteral("收费员表正在别处被同时修改，请再试一次"))};
}

}  // namespace store
