#include "store/deposit_ledger.h"

#include <QRegularExpression>

#include "common/number_text.h"
#include "common/text.h"
#include "receipt/payment_methods.h"
#include "store/database.h"
#include "store/journal.h"
#include "store/receipt_saving.h"
#include "store/receipt_validation.h"
#include "store/schema.h"

namespace store {

namespace {

using storage::RecordWriter;
using storage::TransactionOutcome;

// Deposits take their numbers one after another on every desk.
const QString kDepositNumberLockKey = QStringLiteral("MZY_deposit");

int field(QStringView name) {
    return depositSchema().indexOf(name);
}

storage::RecordSelection numberSelection(const QString& inpatientNumber) {
    const storage::TableSchema& table = depositSchema();
    storage::RecordSelection selection{
        &table, {}, {{field(kInpatientNumberField), inpatientNumber}}, -1, {}, {}};
    for (int column = 0; column < table.columns.size(); ++column) {
        selection.openedFields.append(column);
    }
    return selection;
}

// The journal row of a deposit taken (its amount into 预交, paid in its method) or paid back
// (its amount out of 预交, in the refund's method).
storage::NewRecord depositJournalRow(JournalKind kind, const QString& cashier,
                                     const Deposit& deposit, const QString& method) {
    JournalAmounts change{};
    const bool taken = kind == JournalKind::Deposit;
    change[journalAmountIndex(kPrepaidField)] = taken ? deposit.amount : -deposit.amount;
    return journalRow(kind, cashier, deposit.inpatientNumber, deposit.patientName, change,
                      taken ? EventMethods{method, {}} : EventMethods{{}, method});
}

// After a connection lost while committing: whether the deposit stands as it was to be written
// (*stored), when that could be read at all.
bool readBackDeposit(Database& database, const Deposit& written, bool* stored) {
    QList<Deposit> deposits;
    QString error;
    if (!readPatientDeposits(database, written.inpatientNumber, &deposits, &error)) {
        return false;
    }
    *stored = false;
    for (const Deposit& deposit : deposits) {
        if (deposit.number == written.number && deposit.amount == written.amount &&
            deposit.state == written.state &&
            common::textEquals(deposit.returnedBy, written.returnedBy)) {
            *stored = true;
        }
    }
    return true;
}

DepositResult finish(Database& database, const storage::TransactionResult& transaction,
                     DepositResult result) {
    switch (transaction.outcome) {
        case TransactionOutcome::Committed:
            result.outcome = DepositOutcome::Done;
            return result;
        case TransactionOutcome::Abandoned:
            return result;
        case TransactionOutcome::Unknown: {
            bool stored = false;
            if (!readBackDeposit(database, result.deposit, &stored)) {
                return {DepositOutcome::Uncertain, result.deposit,
                        database.writeFailureMessage(transaction.reason)};
            }
            if (stored) {
                result.outcome = DepositOutcome::Done;
                return result;
            }
            break;
        }
        case TransactionOutcome::Failed:
            break;
    }
    return {DepositOutcome::Failed, result.deposit,
            database.writeFailureMessage(transaction.reason)};
}

}  // namespace

storage::RecordValues depositValues(const Deposit& deposit) {
    return {deposit.number,
            deposit.time,
            deposit.cashier,
            deposit.desk,
            deposit.inpatientNumber,
            deposit.patientName,
            QVariant::fromValue(deposit.amount),
            deposit.method,
            qint64(deposit.enteredLater ? 1 : 0),
            depositStateText(deposit.state),
            deposit.returnedAt,
            deposit.returnedBy,
            deposit.returnMethod,
            deposit.returnReason};
}

Deposit depositOf(storage::RecordId id, const storage::RecordValues& values) {
    const auto value = [&](QStringView name) { return values.value(field(name)); };
    Deposit deposit;
    deposit.id = id;
    deposit.number = value(kDepositNumberField).toLongLong();
    deposit.time = value(kEventTimeField).toDateTime();
    deposit.cashier = value(kCashierField).toString();
    deposit.desk = value(kDeskField).toString();
    deposit.inpatientNumber = value(kInpatientNumberField).toString();
    deposit.patientName = value(kPatientNameField).toString();
    deposit.amount = value(kDepositAmountField).value<common::Money>();
    deposit.method = value(kDepositMethodField).toString();
    deposit.enteredLater = value(kEnteredLaterField).toLongLong() != 0;
    // Only the program writes the ledger; a state it does not know is no deposit to deduct.
    deposit.state =
        depositStateFromText(value(kDepositStateField).toString()).value_or(DepositState::Refunded);
    deposit.returnedAt = value(kReturnedAtField).toDateTime();
    deposit.returnedBy = value(kReturnedByField).toString();
    deposit.returnMethod = value(kReturnMethodField).toString();
    deposit.returnReason = value(kReturnReasonField).toString();
    return deposit;
}

QString depositRefusal(const NewDeposit& deposit, const QDate& today) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,8}$"));
    if (common::isBlank(deposit.inpatientNumber)) {
        return QStringLiteral("住院号为空！");
    }
    if (!digits.match(deposit.inpatientNumber).hasMatch()) {
        return QStringLiteral("住院号只能是1到8位数字！");
    }
    if (common::isBlank(deposit.patientName)) {
        return QStringLiteral("姓名为空！");
    }
    if (deposit.amount <= common::Money()) {
        return QStringLiteral("预交金额必须大于0！");
    }
    if (deposit.amount > kLargestTotal) {
        return QStringLiteral("预交金额不能超过%1元！").arg(common::numberToText(kLargestTotal));
    }
    if (deposit.method.isEmpty()) {
        return QStringLiteral("请选择付款方式！");
    }
    if (!deposit.paidOn.isNull() && deposit.paidOn > today) {
        return QStringLiteral("补录的交款日期不能晚于今天！");
    }
    return {};
}

DepositResult takeDeposit(Database& database, const NewDeposit& taken) {
    if (const QString refusal = depositRefusal(taken, QDate::currentDate()); !refusal.isEmpty()) {
        return {DepositOutcome::Failed, {}, refusal};
    }
    const bool enteredLater = !taken.paidOn.isNull();
    DepositResult result;
    result.deposit = {0,
                      0,
                      enteredLater ? QDateTime(taken.paidOn, QTime(0, 0)) : QDateTime(),
                      taken.cashier,
                      deskName(),
                      taken.inpatientNumber,
                      taken.patientName,
                      taken.amount,
                      taken.method,
                      enteredLater,
                      DepositState::Open,
                      {},
                      {},
                      {},
                      {}};
    const storage::TableSchema& table = depositSchema();
    const storage::TableSchema& receipts = receiptSchema();
    const storage::TransactionResult transaction = database.engine().transact(
        inpatientNumberLockKey(taken.inpatientNumber), [&](RecordWriter& writer) {
            if (writer.firstWithText(receipts, receipts.indexOf(kInpatientNumberField),
                                     taken.inpatientNumber)) {
                result.outcome = DepositOutcome::Discharged;
                return false;
            }
            const std::optional<qint64> highest =
                writer.holdKey(kDepositNumberLockKey)
                    ? writer.highest(table, field(kDepositNumberField))
                    : std::nullopt;
            if (!highest) {
                return false;
            }
            result.deposit.number = *highest + 1;
            QList<storage::NewRecord> records{{&table, depositValues(result.deposit),
                                               enteredLater ? -1 : field(kEventTimeField)}};
            // A deposit from a paper slip was cash of a shift long settled.
            if (!enteredLater) {
                records.append(depositJournalRow(JournalKind::Deposit, taken.cashier,
                                                 result.deposit, taken.method));
            }
            const std::optional<storage::RecordId> id = insertWithJournalRows(writer, records);
            result.deposit.id = id.value_or(0);
            return id.has_value();
        });
    return finish(database, transaction, result);
}

DepositResult refundDeposit(Database& database, const Deposit& shown, const QString& cashier,
                            const QString& method, const QString& reason) {
    if (common::isBlank(reason)) {
        return {DepositOutcome::Failed, shown, QStringLiteral("请填写退还原因！")};
    }
    if (reason.trimmed().size() > kLongestRefundReason) {
        return {DepositOutcome::Failed, shown,
                QStringLiteral("退还原因不能超过%1个字！").arg(kLongestRefundReason)};
    }
    DepositResult result{DepositOutcome::Failed, shown, {}};
    result.deposit.state = DepositState::Refunded;
    result.deposit.returnedAt = QDateTime::currentDateTime();
    result.deposit.returnedBy = cashier;
    result.deposit.returnMethod = method.isEmpty() ? receipt::kCashMethod.toString() : method;
    result.deposit.returnReason = reason.trimmed();
    const storage::TableSchema& table = depositSchema();
    const storage::TransactionResult transaction = database.engine().transact(
        inpatientNumberLockKey(shown.inpatientNumber), [&](RecordWriter& writer) {
            const std::optional<storage::RecordValues> current = writer.read(table, shown.id);
            if (!current) {
                return false;
            }
            const Deposit stored = depositOf(shown.id, *current);
            if (stored.state != DepositState::Open || stored.number != shown.number ||
                stored.amount != shown.amount) {
                result.outcome = DepositOutcome::ChangedElsewhere;
                return false;
            }
            // Only the refund's fields change: the rest is written back as stored, not as shown
            // (a deposit just taken is shown without the time the database gave it).
            Deposit refunded = stored;
            refunded.state = DepositState::Refunded;
            refunded.returnedAt = result.deposit.returnedAt;
            refunded.returnedBy = result.deposit.returnedBy;
            refunded.returnMethod = result.deposit.returnMethod;
            refunded.returnReason = result.deposit.returnReason;
            result.deposit = refunded;
            return writer.update(table, shown.id, depositValues(result.deposit)) &&
                   insertWithJournalRows(
                       writer, {depositJournalRow(JournalKind::DepositRefund, cashier,
                                                  result.deposit, result.deposit.returnMethod)});
        });
    return finish(database, transaction, result);
}

bool readPatientDeposits(Database& database, const QString& inpatientNumber,
                         QList<Deposit>* deposits, QString* error) {
    QList<Deposit> read;
    QString reason;
    if (!database.engine().select(
            numberSelection(inpatientNumber),
            [&](storage::RecordId id, const storage::RecordValues& values) {
                read.append(depositOf(id, values));
            },
            &reason)) {
        deposits->clear();
        *error = database.unusableMessage(reason);
        return false;
    }
    *deposits = std::move(read);
    return true;
}

QList<Deposit> openDeposits(const QList<Deposit>& deposits) {
    QList<Deposit> open;
    for (const Deposit& deposit : deposits) {
        if (deposit.state == DepositState::Open) {
            open.append(deposit);
        }
    }
    return open;
}

common::Money depositSum(const QList<Deposit>& deposits) {
    common::Money sum;
    for (const Deposit& deposit : deposits) {
        sum += deposit.amount;
    }
    return sum;
}

bool readNumberDeposits(RecordWriter& writer, const QString& inpatientNumber, DepositState state,
                        QList<Deposit>* deposits) {
    storage::RecordSelection selection = numberSelection(inpatientNumber);
    selection.equalFields.append({field(kDepositStateField), depositStateText(state)});
    return writer.select(selection, [&](storage::RecordId id, const storage::RecordValues& values) {
        deposits->append(depositOf(id, values));
    });
}

bool setDepositStates(RecordWriter& writer, const QList<Deposit>& deposits, DepositState state) {
    for (Deposit deposit : deposits) {
        deposit.state = state;
        if (!writer.update(depositSchema(), deposit.id, depositValues(deposit))) {
            return false;
        }
    }
    return true;
}

QString depositSummary(const QList<Deposit>& deposits) {
    return QStringLiteral("预交金%1笔，共%2元")
        .arg(deposits.size())
        .arg(common::numberToText(depositSum(deposits)));
}

}  // namespace store
