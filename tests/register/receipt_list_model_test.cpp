#include "register/receipt_list_model.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "common/dates.h"
#include "register/generated_receipts.h"

namespace {

using receipt_register::ReceiptListModel;

class ReceiptListModelTest : public GeneratedReceipts {
protected:
    QStringList listedNumbers(const ReceiptListModel& model) {
        QStringList numbers;
        for (int row = 0; row < model.rowCount(); ++row) {
            numbers.append(model.index(row, 0).data().toString());
        }
        return numbers;
    }
};

// The model as a view uses it, checked by Qt's own model tester at every change.
TEST_P(ReceiptListModelTest, FetchesThePagesAViewAsksForUntilTheLastOne) {
    ReceiptListModel model(database());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const store::ReceiptFilter filter{{}, {}, firstDay(), lastDay(), {}, false};
    QString error;
    ASSERT_TRUE(model.search(filter, &error)) << error.toStdString();
    EXPECT_EQ(model.rowCount(), ReceiptListModel::kPageRows);
    int pages = 1;
    while (model.canFetchMore({})) {
        model.fetchMore({});
        ++pages;
    }
    EXPECT_EQ(pages, kReceiptCount / ReceiptListModel::kPageRows + 1);
    EXPECT_EQ(listedNumbers(model), numbersOf(expected(filter)));

    const Walked newest = expected(filter).first();
    QStringList shown;
    for (int column = 0; column < model.columnCount(); ++column) {
        shown.append(model.headerData(column, Qt::Horizontal).toString() + u'=' +
                     model.index(0, column).data().toString());
    }
    EXPECT_EQ(shown.join(u' '),
              QStringLiteral("住院号=%1 姓名=%2 入院日期=%3 出院日期=%4 天数=%5 合计=%6 预交=%7 "
                             "补收=%8 退款=%9 欠费=%10 收费员=%11 状态=%12")
                  .arg(newest.field(store::kInpatientNumberField).toString(),
                       newest.field(store::kPatientNameField).toString(),
                       newest.field(store::kAdmissionDateField).toDate().toString(Qt::ISODate),
                       newest.field(store::kDischargeDateField).toDate().toString(Qt::ISODate),
                       QString::number(common::stayLengthInDays(
                           newest.field(store::kAdmissionDateField).toDateTime(),
                           newest.field(store::kDischargeDateField).toDateTime())),
                       twoDecimals(newest.field(store::kTotalField).value<common::Money>()),
                       twoDecimals(newest.field(store::kPrepaidField).value<common::Money>()),
                       twoDecimals(newest.field(store::kSupplementField).value<common::Money>()),
                       twoDecimals(newest.field(store::kRefundField).value<common::Money>()))
                  .arg(twoDecimals(newest.field(store::kArrearsField).value<common::Money>()),
                       newest.field(store::kCashierField).toString(),
                       newest.corrected ? QStringLiteral("已更正") : QStringLiteral("正常")));

    ASSERT_TRUE(model.search({QStringLiteral("不存在"), {}, {}, {}, {}, false}, &error));
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.canFetchMore({}));
}

INSTANTIATE_TEST_SUITE_P(Engines, ReceiptListModelTest,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

class LostServerListTest : public GeneratedReceipts {};

// The list keeps the rows it has, says why no more come, and asks for no more.
TEST_P(LostServerListTest, APageThatCannotBeReadEndsTheListWithTheReason) {
    ReceiptListModel model(database());
    QSignalSpy failures(&model, &ReceiptListModel::fetchFailed);
    QString error;
    ASSERT_TRUE(model.search({}, &error));
    runSql(
        QStringLiteral("SELECT pg_terminate_backend(pid, 5000) FROM pg_stat_activity WHERE "
                       "datname = current_database() AND pid <> pg_backend_pid()"));
    model.fetchMore({});
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(
        failures.first().first().toString().contains(QStringLiteral("与服务器的连接断开了")))
        << failures.first().first().toString().toStdString();
    EXPECT_EQ(model.rowCount(), ReceiptListModel::kPageRows);
    EXPECT_FALSE(model.canFetchMore({}));
}

INSTANTIATE_TEST_SUITE_P(Server, LostServerListTest, ::testing::Values(EngineKind::Postgres),
                         engineName);

}  // namespace
