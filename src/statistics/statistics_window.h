#pragma once

#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;

namespace platform {
class Clock;
}
namespace widgets {
class MessageBoxes;
}

namespace store {
class Database;
}

namespace statistics {

// Sums the receipts of a discharge-date range and shows the report in a message box. Stays
// open after a run so that another range can be summed.
class StatisticsWindow final : public QDialog {
    Q_OBJECT

public:
    StatisticsWindow(widgets::MessageBoxes& messageBoxes, const platform::Clock& clock,
                     store::Database& database, QWidget* parent = nullptr);

private:
    void checkRange(QDateEdit& changed, const QDateEdit& other);
    void runStatistics();

    widgets::MessageBoxes& m_messageBoxes;
    store::Database& m_database;
    QLabel* 标签1;
    QDateEdit* 日期框1;
    QLabel* 标签2;
    QDateEdit* 日期框2;
    QLabel* 标签3;
    QPushButton* 按钮1;
};

}  // namespace statistics
