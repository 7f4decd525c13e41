#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace widgets {
class MessageBoxes;
}
namespace store {
class Database;
}

namespace app {

// The cashier login: a name from the cashier table and its password. Only 确定 with a matching
// password or 退出 ends it; the close box and Esc are refused. After exec() the caller takes
// loggedInCashier(), which is empty when the cashier pressed 退出. A cashier table that cannot be
// read, and a stored password that opens nothing (empty, or a hash of a kind the program cannot
// check), are reported in a message box, not as a wrong password. A login with the initial
// password ends only once the cashier has set a new one.
class LoginWindow : public QDialog {
    Q_OBJECT

public:
    LoginWindow(store::Database& database, widgets::MessageBoxes& messageBoxes,
                QWidget* parent = nullptr);

    const QString& loggedInCashier() const { return m_loggedInCashier; }

    // Esc and the close box both end up here; the window stays open.
    void reject() override;

private:
    void createControls();
    void fillCashierList();
    void tryLogin();
    // The outcome of looking the password up; failure is the reason when the table could not be
    // read, and empty otherwise.
    enum class PasswordVerdict { Opens, Wrong, Unusable };
    struct PasswordCheck {
        PasswordVerdict verdict = PasswordVerdict::Wrong;
        QString failure;
    };
    PasswordCheck checkPassword(const QString& cashier, const QString& password);
    void showFailure();
    void showUnreadableTable(const QString& reason);
    void showUnusablePassword(const QString& cashier);
    void blinkFailure();
    void quit();

    store::Database& m_database;
    widgets::MessageBoxes& m_messageBoxes;
    QString m_loggedInCashier;

    QLabel* 标签2 = nullptr;
    QComboBox* 组合框1 = nullptr;
    QLabel* 标签3 = nullptr;
    QLineEdit* 编辑框1 = nullptr;
    QPushButton* 按钮1 = nullptr;
    QPushButton* 按钮2 = nullptr;
    QTimer* 时钟1 = nullptr;
    QLabel* 标签1 = nullptr;
};

}  // namespace app
