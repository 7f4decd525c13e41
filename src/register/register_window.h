#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace platform {
struct Services;
}
namespace store {
class Database;
struct ReceiptFilter;
}  // namespace store

namespace receipt_register {

class ReceiptListModel;

// 查询: finds stored receipts by any of 住院号 (its beginning), 姓名 (any part), a range of
// discharge days, the cashier, and lists them newest discharge first, a page at a time as the
// table scrolls, with the number found and their sums under the table. A listed receipt can be
// looked at (查看, a double click or Enter), printed again (补打), voided from its view, and the
// whole list written to a spreadsheet file (导出). With 含作废 the voided receipts are listed too,
// to be looked at only.
class RegisterWindow final : public QDialog {
    Q_OBJECT

public:
    // cashier is the one logged in: the one who reprints and who may void.
    RegisterWindow(const platform::Services& services, store::Database& database,
                   const QString& cashier, QWidget* parent = nullptr);
    ~RegisterWindow() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    // The list and the sums line below it across the window's width and height.
    void placeListAndSums();
    void fillCashiers();
    void checkRange();
    store::ReceiptFilter typedFilter() const;
    void find();
    void updateButtons();
    // The listed receipt the cashier has chosen; -1 for none.
    int chosenRow() const;
    void viewChosen();
    void reprintChosen();
    void exportFound();
    void showError(const QString& text);

    const platform::Services& m_services;
    store::Database& m_database;
    QString m_cashier;
    ReceiptListModel* m_model = nullptr;
    qint64 m_foundCount = 0;

    QLabel* 标签1 = nullptr;
    QLineEdit* 编辑框1 = nullptr;  // 住院号
    QLabel* 标签2 = nullptr;
    QLineEdit* 编辑框2 = nullptr;  // 姓名
    QLabel* 标签3 = nullptr;
    QDateEdit* 日期框1 = nullptr;  // 出院日期从
    QLabel* 标签4 = nullptr;
    QDateEdit* 日期框2 = nullptr;  // 出院日期至
    QLabel* 标签5 = nullptr;
    QComboBox* 组合框1 = nullptr;  // 收费员
    QCheckBox* 复选框1 = nullptr;  // 含作废
    QLabel* 标签6 = nullptr;       // the date error
    QPushButton* 按钮1 = nullptr;  // 查找
    QPushButton* 按钮2 = nullptr;  // 查看
    QPushButton* 按钮3 = nullptr;  // 补打
    QPushButton* 按钮4 = nullptr;  // 导出
    QTableView* 表格1 = nullptr;   // 收据
    QLabel* 标签7 = nullptr;       // the number found and their sums
};

}  // namespace receipt_register
