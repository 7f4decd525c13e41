#pragma once

#include <QWidget>

class QLabel;
class QTableView;

namespace platform {
struct Services;
}
namespace store {
class Database;
}

namespace deposit {

class InHospitalModel;

// 在院: the inpatient numbers with deposits still to be deducted, one a row with the name, how
// many deposits and their sum, by number; more rows are read as the list scrolls down. A line
// below sums every open deposit; 导出 writes the whole list to .xlsx or .csv. Read again each
// time the page is shown.
class InHospitalPage final : public QWidget {
    Q_OBJECT

public:
    InHospitalPage(const platform::Services& services, store::Database& database,
                   QWidget* parent = nullptr);

    // Reads the list and its sums from the first number again.
    void reload();
    // Writes the whole list to path and tells the cashier how it went.
    void exportTo(const QString& path);

    const InHospitalModel& model() const { return *m_model; }
    QString sumsText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void exportList();
    void showError(const QString& text);

    const platform::Services& m_services;
    store::Database& m_database;
    InHospitalModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    QLabel* m_sums = nullptr;
};

}  // namespace deposit
