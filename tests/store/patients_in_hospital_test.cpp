#include <gtest/gtest.h>

#include "store/deposit_ledger.h"
#include "store/patients_in_hospital.h"
#include "store_fixture.h"

namespace {

using common::yuan;
using store::PatientInHospital;

const QString kCashier = QStringLiteral("491MX");

class PatientsInHospital : public store_test::StoreTest {
protected:
    store::Deposit take(const QString& number, const QString& name, common::Money amount) {
        const store::DepositResult taken = store::takeDeposit(
            database(), {number, name, amount, QStringLiteral("现金"), kCashier, {}});
        EXPECT_EQ(taken.outcome, store::DepositOutcome::Done) << taken.error.toStdString();
        return taken.deposit;
    }

    void refund(const store::Deposit& deposit) {
        const store::DepositResult refunded = store::refundDeposit(
            database(), deposit, kCashier, QStringLiteral("现金"), QStringLiteral("转院"));
        ASSERT_EQ(refunded.outcome, store::DepositOutcome::Done) << refunded.error.toStdString();
    }

    // 700 with two open deposits, the later under a corrected name; 701 with one open and one
    // paid back; 702 with only one paid back; 69, which comes before 700 as a text.
    void takeWardDeposits() {
        take(QStringLiteral("700"), QStringLiteral("李四"), yuan(500));
        refund(take(QStringLiteral("702"), QStringLiteral("赵六"), yuan(900)));
        take(QStringLiteral("701"), QStringLiteral("王五"), yuan(200));
        take(QStringLiteral("700"), QStringLiteral("李小四"), common::Money::fromFen(30'001));
        refund(take(QStringLiteral("701"), QStringLiteral("王五"), yuan(1'000)));
        take(QStringLiteral("69"), QStringLiteral("孙七"), yuan(50));
    }

    // Every page of limit numbers, read one after another as the list does.
    QList<QList<PatientInHospital>> pages(int limit) {
        QList<QList<PatientInHospital>> read;
        std::optional<QString> after;
        for (int guard = 0; guard < 10; ++guard) {
            QList<PatientInHospital> page;
            QString error;
            EXPECT_TRUE(store::readPatientsInHospital(database(), after, limit, &page, &error))
                << error.toStdString();
            if (page.isEmpty()) {
                break;
            }
            after = page.constLast().inpatientNumber;
            read.append(page);
        }
        return read;
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, PatientsInHospital,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(PatientsInHospital, EachNumberWithOpenDepositsIsOneRowInEveryPaging) {
    takeWardDeposits();
    const QStringList numbers{QStringLiteral("69"), QStringLiteral("700"), QStringLiteral("701")};
    const QStringList names{QStringLiteral("孙七"), QStringLiteral("李小四"),
                            QStringLiteral("王五")};
    const QList<qint64> counts{1, 2, 1};
    const QList<common::Money> sums{yuan(50), common::Money::fromFen(80'001), yuan(200)};
    for (const int limit : {1, 2, 3, 50}) {
        SCOPED_TRACE(limit);
        const QList<QList<PatientInHospital>> read = pages(limit);
        ASSERT_EQ(read.size(), (3 + limit - 1) / limit);
        QList<PatientInHospital> all;
        for (const QList<PatientInHospital>& page : read) {
            EXPECT_LE(page.size(), limit);
            all.append(page);
        }
        ASSERT_EQ(all.size(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(all[i].inpatientNumber, numbers[i]);
            EXPECT_EQ(all[i].patientName, names[i]);
            EXPECT_EQ(all[i].deposits, counts[i]);
            EXPECT_EQ(all[i].sum, sums[i]);
        }
    }
}

TEST_P(PatientsInHospital, TheTotalsCountOnlyOpenDeposits) {
    store::OpenDepositTotals totals{-1, yuan(1)};
    QString error;
    ASSERT_TRUE(store::readOpenDepositTotals(database(), &totals, &error)) << error.toStdString();
    EXPECT_EQ(totals.deposits, 0);
    EXPECT_EQ(totals.sum, common::Money());

    takeWardDeposits();
    ASSERT_TRUE(store::readOpenDepositTotals(database(), &totals, &error)) << error.toStdString();
    EXPECT_EQ(totals.deposits, 4);
    EXPECT_EQ(totals.sum, common::Money::fromFen(80'001) + yuan(250));
}

}  // namespace
