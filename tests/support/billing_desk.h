#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "app/program_shell.h"
#include "billing/main_window.h"
#include "platform/services.h"
#include "store/database.h"
#include "store/table.h"
#include "support/database_test.h"
#include "support/fixed_clock.h"
#include "support/modal_driver.h"
#include "support/qt_printers.h"
#include "support/recording_printer.h"
#include "support/scripted_message_boxes.h"
#include "support/widget_driver.h"

// The whole program on a fresh database file, with scripted message boxes, a recording printer
// and a fixed clock, before anybody has logged in.
class ProgramTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        shell = std::make_unique<app::ProgramShell>(services, database());
    }

    billing::MainWindow& window() { return shell->mainWindow(); }

    QLineEdit* box(const char16_t* name) {
        auto* found = window().findChild<QLineEdit*>(QString::fromUtf16(name));
        EXPECT_NE(found, nullptr) << QString::fromUtf16(name).toStdString();
        return found;
    }
    QDateEdit* dateBox(const char16_t* name) {
        return window().findChild<QDateEdit*>(QString::fromUtf16(name));
    }
    QPushButton* button(const char16_t* name) {
        return window().findChild<QPushButton*>(QString::fromUtf16(name));
    }
    QString statusLine() { return window().findChild<QLabel*>(QStringLiteral("标签1"))->text(); }

    // Types a receipt as a cashier does: name, number, then fee boxes in the given order.
    void typeReceipt(const QString& number, const QString& name,
                     const QList<std::pair<const char16_t*, QString>>& amounts) {
        widget_driver::typeAndLeave(box(u"编辑框1"), name);
        widget_driver::typeAndLeave(box(u"编辑框26"), number);
        for (const auto& [boxName, amount] : amounts) {
            widget_driver::typeAndLeave(box(boxName), amount);
        }
    }

    // 打印, answering the paper question with the given button.
    void print(widgets::MessageAnswer paperAnswer = widgets::MessageAnswer::Ok) {
        messageBoxes.queueAnswer(paperAnswer);
        button(u"按钮2")->click();
    }

    // Every stored receipt, each as its fields by name, in stored order.
    QList<QVariantMap> storedReceipts(const QStringList& fields) {
        QList<QVariantMap> receipts;
        store::Table table(database());
        EXPECT_TRUE(table.open(store::kReceiptTable));
        for (table.goFirst(); !table.pastLast(); table.skip()) {
            QVariantMap receipt;
            for (const QString& field : fields) {
                receipt.insert(field, table.readField(field));
            }
            receipts << receipt;
        }
        table.close();
        return receipts;
    }

    // Answers the next login window with a name and password, then 确定.
    static void logInWhenAsked(const QString& name, const QString& password) {
        modal_driver::whenModalOpens([name, password](QWidget* login) {
            login->findChild<QComboBox*>(QStringLiteral("组合框1"))->setEditText(name);
            login->findChild<QLineEdit*>(QStringLiteral("编辑框1"))->setText(password);
            login->findChild<QPushButton*>(QStringLiteral("按钮1"))->click();
        });
    }

    // The first cashier with a password of his own, as after his first login: the initial
    // password would ask for a new one first.
    static inline const QString kFirstCashierPassword = QStringLiteral("收费处");
    void giveFirstCashierHisOwnPassword() {
        runSql(QStringLiteral(R"(UPDATE "USER" SET "密码" = '%1' WHERE "收费员" = '491MX')")
                   .arg(kFirstCashierPassword));
    }
    void logInFirstCashierWhenAsked() {
        giveFirstCashierHisOwnPassword();
        logInWhenAsked(QStringLiteral("491MX"), kFirstCashierPassword);
    }

    static QDate today() { return {2026, 3, 10}; }

    ScriptedMessageBoxes messageBoxes;
    support::RecordingPrinter printer;
    FixedClock clock{QDateTime(today(), QTime(9, 15))};
    platform::Services services{messageBoxes, printer, clock};
    std::unique_ptr<app::ProgramShell> shell;
};

// The whole program on each engine in turn.
class EngineProgramTest : public ProgramTest, public ::testing::WithParamInterface<EngineKind> {
protected:
    EngineKind engineKind() const override { return GetParam(); }
};

// The program at work, logged in as the first cashier.
class BillingDeskTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        widget_driver::showActive(window());
        shell->beginWork(QStringLiteral("491MX"));
    }
};
