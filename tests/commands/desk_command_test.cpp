#include <gtest/gtest.h>

#include "settings/desk_config.h"
#include "support/settings_command.h"

namespace {

class DeskCommandTest : public SettingsCommandTest {
protected:
    Run desk(const QStringList& arguments) { return runCommand(QStringLiteral("desk"), arguments); }
};

TEST_F(DeskCommandTest, SetsTheMethodsAndTheFloatKeepingTheFilesOtherLines) {
    const Run shown = desk({});
    EXPECT_EQ(shown.status, 0) << shown.err.toStdString();
    EXPECT_EQ(shown.out,
              QStringLiteral("payment-methods=现金,银行卡,微信,支付宝\ncash-float=0.00\n"));

    writeConfig("printer=前台\ncash-float=20\n");
    const Run set = desk({QStringLiteral("--payment-methods"), QStringLiteral("银行卡，医保卡"),
                          QStringLiteral("--cash-float"), QStringLiteral("500.5")});
    EXPECT_EQ(set.status, 0) << set.err.toStdString();
    EXPECT_TRUE(set.err.contains(QStringLiteral("现金总是可选的付款方式，已加在最前面。")));
    EXPECT_EQ(set.out, QStringLiteral("payment-methods=现金,银行卡,医保卡\ncash-float=500.50\n"));
    EXPECT_EQ(config(), QStringLiteral("printer=前台\ncash-float=500.50\n"
                                       "payment-methods=现金,银行卡,医保卡\n")
                            .toUtf8());
    const settings::CashSettings read = settings::readDeskConfig(configPath()).cash;
    EXPECT_EQ(read.methods(), QStringList({QStringLiteral("现金"), QStringLiteral("银行卡"),
                                           QStringLiteral("医保卡")}));
    EXPECT_EQ(read.cashFloat, common::yuan(500.5));
}

// A value that cannot be used changes nothing and says why.
TEST_F(DeskCommandTest, AnUnusableValueChangesNothing) {
    ASSERT_EQ(desk({QStringLiteral("--cash-float"), QStringLiteral("100")}).status, 0);
    const QByteArray before = config();
    const struct {
        const char* option;
        const char* value;
        const char* says;
    } refusals[] = {
        {"--cash-float", "-1", "备用金应是 0 到 999999.99 之间的金额"},
        {"--cash-float", "1e3", "备用金应是"},
        {"--cash-float", "1000000", "备用金应是"},
        {"--cash-float", "0.001", "备用金应是"},
        {"--payment-methods", "现金,,微信", "不能为空"},
        {"--payment-methods", "微信,现金,微信", "“微信”写了两次"},
        {"--payment-methods", "一二三四五六七八九十一", "太长"},
    };
    for (const auto& [option, value, says] : refusals) {
        const Run run = desk({QString::fromUtf8(option), QString::fromUtf8(value)});
        EXPECT_EQ(run.status, 1) << value;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(says))) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("设置没有改变。"))) << value;
        EXPECT_EQ(config(), before) << value;
    }
}

}  // namespace
