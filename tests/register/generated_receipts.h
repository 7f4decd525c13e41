#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <QSet>
#include <algorithm>
#include <random>

#include "common/number_text.h"
#include "receipt/fee_category.h"
#include "receipt/receipt_state.h"
#include "storage/storage_engine.h"
#include "store/database.h"
#include "store/receipt_record.h"
#include "store/receipt_search.h"
#include "store/schema.h"
#include "store/table.h"
#include "support/database_test.h"

// A few thousand generated receipts, on each engine in turn, and what the register should find
// among them, worked out by a walk over all of them. Numbers, names and cashiers hold the
// characters that LIKE and GLOB read as patterns, and letters that differ only in case.
class GeneratedReceipts : public EngineTest {
protected:
    static constexpr int kReceiptCount = 2400;
    static constexpr int kReceiptsPerDay = 30;

    struct Walked {
        storage::RecordId id;
        QVariantList values;
        bool corrected;

        QVariant field(QStringView name) const {
            return values.value(store::receiptSchema().indexOf(name));
        }
    };

    void SetUp() override {
        EngineTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        appendRecords(store::kCashierTable, {{QStringLiteral("王"), QStringLiteral("1")},
                                             {QStringLiteral("李"), QStringLiteral("2")},
                                             {QStringLiteral("Wang"), QStringLiteral("3")},
                                             {QStringLiteral("wang"), QStringLiteral("4")}});
        fill();
        walkAll();
    }

    // The receipts the filter should find, newest discharge first, then the latest stored.
    QList<Walked> expected(const store::ReceiptFilter& filter) const {
        QList<Walked> found;
        for (const Walked& receipt : m_all) {
            const QDate discharge = receipt.field(store::kDischargeDateField).toDateTime().date();
            if (receipt.field(store::kInpatientNumberField)
                    .toString()
                    .startsWith(filter.numberPrefix) &&
                receipt.field(store::kPatientNameField).toString().contains(filter.namePart) &&
                (filter.cashier.isEmpty() ||
                 receipt.field(store::kCashierField).toString() == filter.cashier) &&
                (filter.firstDischarge.isNull() || discharge >= filter.firstDischarge) &&
                (filter.lastDischarge.isNull() || discharge <= filter.lastDischarge)) {
                found.append(receipt);
            }
        }
        std::sort(found.begin(), found.end(), [](const Walked& a, const Walked& b) {
            const QDateTime first = a.field(store::kDischargeDateField).toDateTime();
            const QDateTime second = b.field(store::kDischargeDateField).toDateTime();
            return first != second ? first > second : a.id > b.id;
        });
        return found;
    }

    static QStringList numbersOf(const QList<Walked>& receipts) {
        QStringList numbers;
        for (const Walked& receipt : receipts) {
            numbers.append(receipt.field(store::kInpatientNumberField).toString());
        }
        return numbers;
    }

    static store::ReceiptTotals totalsOf(const QList<Walked>& receipts) {
        store::ReceiptTotals totals{receipts.size(), 0, {}, {}, {}, {}};
        for (const Walked& receipt : receipts) {
            totals.total += receipt.field(store::kTotalField).value<common::Money>();
            totals.supplement += receipt.field(store::kSupplementField).value<common::Money>();
            totals.refund += receipt.field(store::kRefundField).value<common::Money>();
            totals.arrears += receipt.field(store::kArrearsField).value<common::Money>();
        }
        return totals;
    }

    // An amount with two decimals and a date as the files hold them, worked out apart from the
    // program's own writers.
    static QString twoDecimals(common::Money amount) {
        const qint64 magnitude = std::abs(amount.fen());
        return QStringLiteral("%1%2.%3")
            .arg(amount.isNegative() ? QStringLiteral("-") : QString())
            .arg(magnitude / 100)
            .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    }
    static QString exportedDate(const QDateTime& value) {
        return value.toString(value.time() == QTime(0, 0) ? QStringLiteral("yyyy-MM-dd")
                                                          : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }

    // Every field but the spare one as an export writes it, then the status, the void's reason
    // (none is voided) and how it was paid.
    static QStringList exportedRow(const Walked& receipt) {
        QStringList cells;
        for (int field = 0; field < store::receiptSchema().columns.size(); ++field) {
            if (field == store::receiptSchema().indexOf(store::kSpareField)) {
                continue;
            }
            const QVariant& value = receipt.values[field];
            switch (store::receiptSchema().columns[field].kind) {
                case storage::FieldKind::Text:
                case storage::FieldKind::Integer:
                    cells.append(value.toString());
                    break;
                case storage::FieldKind::DateTime:
                    cells.append(exportedDate(value.toDateTime()));
                    break;
                case storage::FieldKind::Amount:
                    cells.append(twoDecimals(value.value<common::Money>()));
                    break;
            }
        }
        cells.append(receipt.corrected ? QStringLiteral("已更正") : QStringLiteral("正常"));
        cells.append(QString());
        // Every generated amount changed hands in cash.
        const bool handed =
            !receipt.field(store::kSupplementField).value<common::Money>().isZero() ||
            !receipt.field(store::kRefundField).value<common::Money>().isZero();
        cells.append(handed ? QStringLiteral("现金") : QString());
        return cells;
    }

    // The last row of an export: 合计, the count, and each amount column's sum.
    static QStringList exportedSumsRow(const QList<Walked>& receipts) {
        QStringList cells{QStringLiteral("合计"), QStringLiteral("共%1张").arg(receipts.size())};
        for (int field = 2; field < store::receiptSchema().columns.size(); ++field) {
            const storage::Column& column = store::receiptSchema().columns[field];
            if (column.name == store::kSpareField) {
                continue;
            }
            common::Money sum;
            for (const Walked& receipt : receipts) {
                sum += receipt.values[field].value<common::Money>();
            }
            cells.append(column.kind == storage::FieldKind::Amount ? twoDecimals(sum) : QString());
        }
        return cells << QString() << QString() << QString();
    }

    static QDate firstDay() { return {2026, 1, 1}; }
    static QDate lastDay() { return firstDay().addDays(kReceiptCount / kReceiptsPerDay - 1); }

    QList<Walked> m_all;

private:
    // One receipt in fifty carries a number that a pattern would confuse with others.
    static QString numberOf(int i) {
        static const QStringList special{
            QStringLiteral("A%01"), QStringLiteral("AB01"),  QStringLiteral("A_01"),
            QStringLiteral("AX01"), QStringLiteral("A\\01"), QStringLiteral("a%01"),
            QStringLiteral("A*01"), QStringLiteral("A[1]"),  QStringLiteral("A?1")};
        if (i % 50 == 7) {
            return special[(i / 50) % special.size()] + QString::number(i);
        }
        return QStringLiteral("ZY%1").arg(i, 5, 10, QLatin1Char('0'));
    }

    static QVariantList generated(int i, std::mt19937& random) {
        static const QStringList names{
            QStringLiteral("张三"),  QStringLiteral("李四"),  QStringLiteral("王小五"),
            QStringLiteral("孙%丽"), QStringLiteral("周_涛"), QStringLiteral("吴\\芳"),
            QStringLiteral("Ab"),    QStringLiteral("ab"),    QStringLiteral("钱*七"),
            QStringLiteral("[郑]"),  QStringLiteral(" 冯九"), QStringLiteral("欧阳小明")};
        static const QStringList cashiers{QStringLiteral("491MX"), QStringLiteral("王"),
                                          QStringLiteral("李"), QStringLiteral("Wang"),
                                          QStringLiteral("wang")};
        std::uniform_int_distribution<int> fen(0, 300'000);
        receipt::ReceiptState state;
        for (const receipt::FeeCategory& fee : receipt::kFeeCategories) {
            state.*fee.variable =
                random() % 3 == 0 ? common::Money::fromFen(fen(random)) : common::Money();
            state.totalAmount += state.*fee.variable;
        }
        state.prepaidAmount = common::Money::fromFen(50'000 * (random() % 5));
        state.supplementAmount = common::Money::fromFen(random() % 4 == 0 ? fen(random) : 0);
        const common::Money balance =
            state.prepaidAmount + state.supplementAmount - state.totalAmount;
        state.refundAmount = balance.isNegative() ? common::Money() : balance;
        state.arrearsAmount = balance.isNegative() ? -balance : common::Money();
        state.currentCashier = cashiers[random() % cashiers.size()];
        // A few discharges carry a time of day, as another program may have stored them.
        const QDateTime discharge(firstDay().addDays(i / kReceiptsPerDay),
                                  i % 97 == 5 ? QTime(18, 30) : QTime(0, 0));
        return store::receiptRecordValues(numberOf(i), names[random() % names.size()],
                                          discharge.addDays(-(random() % 20)), discharge, state);
    }

    // In one transaction; one receipt in thirty has been corrected once.
    void fill() {
        const storage::TransactionResult filled =
            database().engine().transact({}, [](storage::RecordWriter& writer) {
                std::mt19937 random(20260301);
                for (int i = 0; i < kReceiptCount; ++i) {
                    QVariantList values = generated(i, random);
                    if (!writer.insert(store::receiptSchema(), values)) {
                        return false;
                    }
                    if (i % 30 == 11) {
                        values.append(QDateTime(QDate(2026, 3, 9), QTime(10, 0)));
                        if (!writer.insert(store::receiptHistorySchema(), values)) {
                            return false;
                        }
                    }
                }
                return true;
            });
        ASSERT_EQ(filled.outcome, storage::TransactionOutcome::Committed)
            << qPrintable(filled.reason);
    }

    void walkAll() {
        QSet<QString> corrected;
        store::Table history(database());
        ASSERT_TRUE(history.open(store::receiptHistorySchema().name));
        for (; !history.pastLast(); history.skip()) {
            corrected.insert(history.readField(store::kInpatientNumberField).toString());
        }
        store::Table receipts(database());
        ASSERT_TRUE(receipts.open(store::kReceiptTable));
        for (; !receipts.pastLast(); receipts.skip()) {
            QVariantList values;
            for (int field = 0; field < store::kReceiptFieldCount; ++field) {
                values.append(receipts.readField(field));
            }
            const QString number = values.value(0).toString();
            m_all.append({receipts.recordId(), values, corrected.contains(number)});
        }
        ASSERT_EQ(m_all.size(), kReceiptCount);
    }
};

// Filters that each catch a different way of getting the search wrong.
struct FilterCase {
    const char* label;
    store::ReceiptFilter filter;
};

inline std::vector<FilterCase> filterCases(QDate first, QDate last) {
    const QDate month(2026, 2, 1);
    const auto filter = [&](QString number, QString name, QString cashier, QDate from, QDate to) {
        return store::ReceiptFilter{number, name, from, to, cashier, false};
    };
    return {
        {"every date", filter({}, {}, {}, first, last)},
        {"number prefix", filter(QStringLiteral("ZY001"), {}, {}, first, last)},
        {"percent in a number", filter(QStringLiteral("A%"), {}, {}, first, last)},
        {"underscore in a number", filter(QStringLiteral("A_"), {}, {}, first, last)},
        {"backslash in a number", filter(QStringLiteral("A\\"), {}, {}, first, last)},
        {"glob characters in a number", filter(QStringLiteral("A*"), {}, {}, first, last)},
        {"bracket in a number", filter(QStringLiteral("A["), {}, {}, first, last)},
        {"lower case number", filter(QStringLiteral("a"), {}, {}, first, last)},
        {"name part", filter({}, QStringLiteral("小"), {}, first, last)},
        {"percent in a name", filter({}, QStringLiteral("%"), {}, first, last)},
        {"underscore in a name", filter({}, QStringLiteral("_"), {}, first, last)},
        {"backslash in a name", filter({}, QStringLiteral("\\"), {}, first, last)},
        {"case of a name", filter({}, QStringLiteral("A"), {}, first, last)},
        {"leading space in a name", filter({}, QStringLiteral(" 冯"), {}, first, last)},
        {"cashier", filter({}, {}, QStringLiteral("王"), first, last)},
        {"case of a cashier", filter({}, {}, QStringLiteral("wang"), first, last)},
        {"one month", filter({}, {}, {}, month, month.addMonths(1).addDays(-1))},
        {"one day with a time of day", filter({}, {}, {}, QDate(2026, 1, 14), QDate(2026, 1, 14))},
        {"all together", filter(QStringLiteral("ZY0"), QStringLiteral("小"), QStringLiteral("李"),
                                month, month.addMonths(1).addDays(-1))},
        {"nothing", filter({}, QStringLiteral("不存在"), {}, first, last)},
    };
}
