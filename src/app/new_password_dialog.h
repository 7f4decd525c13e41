#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;

namespace widgets {
class MessageBoxes;
}
namespace store {
class Database;
}

namespace app {

// Asked after a login with the initial password, before the billing window opens: the cashier
// types a new password twice. 确定 stores it, hashed as the cashier command stores it; 取消 (or
// Esc) keeps the old one and the cashier is not logged in. A password that may not be used is
// told under the boxes, and a failed write in a message box; nothing closes then.
class NewPasswordDialog final : public QDialog {
    Q_OBJECT

public:
    NewPasswordDialog(store::Database& database, widgets::MessageBoxes& messageBoxes,
                      const QString& cashier, QWidget* parent = nullptr);

private:
    void storePassword();

    store::Database& m_database;
    widgets::MessageBoxes& m_messageBoxes;
    QString m_cashier;
    QLineEdit* m_first;
    QLineEdit* m_second;
    QLabel* m_problem;
};

// Whether the cashier set a new password; false when he gave up or it could not be stored.
bool askNewPassword(store::Database& database, widgets::MessageBoxes& messageBoxes,
                    const QString& cashier, QWidget* parent);

}  // namespace app
