#pragma once

#include <QAbstractTableModel>
#include <QList>

#include "store/patients_in_hospital.h"

namespace store {
class Database;
}

namespace deposit {

// The inpatient numbers with deposits still to be deducted, one a row: 住院号, 姓名, 笔数, 金额,
// by number. Rows are fetched a page at a time as a view scrolls down to them, each page one
// short query that starts after the last number fetched.
class InHospitalModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kPageRows = 200;

    explicit InHospitalModel(store::Database& database, QObject* parent = nullptr);

    // Starts over from the first number. False, with a message for the cashier in *error and no
    // rows, when the ledger cannot be read.
    bool reload(QString* error);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // A page could not be read: the list ends where it is, and error tells the cashier why.
    void fetchFailed(const QString& error);

private:
    bool readPage(QList<store::PatientInHospital>* page, QString* error);

    store::Database& m_database;
    QList<store::PatientInHospital> m_rows;
    bool m_atEnd = true;
    bool m_failed = false;
};

}  // namespace deposit
