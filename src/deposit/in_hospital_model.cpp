#include "deposit/in_hospital_model.h"

#include <QStringList>

#include "common/money_text.h"

namespace deposit {

namespace {

enum Column { kNumber, kName, kCount, kSum, kColumnCount };

}  // namespace

InHospitalModel::InHospitalModel(store::Database& database, QObject* parent)
    : QAbstractTableModel(parent), m_database(database) {}

bool InHospitalModel::reload(QString* error) {
    beginResetModel();
    m_rows.clear();
    m_failed = false;
    const bool read = readPage(&m_rows, error);
    endResetModel();
    return read;
}

bool InHospitalModel::readPage(QList<store::PatientInHospital>* page, QString* error) {
    const std::optional<QString> after =
        m_rows.isEmpty() ? std::nullopt : std::optional(m_rows.constLast().inpatientNumber);
    const qsizetype before = page->size();
    if (!store::readPatientsInHospital(m_database, after, kPageRows, page, error)) {
        m_failed = true;
        m_atEnd = true;
        return false;
    }
    m_atEnd = page->size() - before < kPageRows;
    return true;
}

int InHospitalModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int InHospitalModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant InHospitalModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return {};
    }
    const store::PatientInHospital& patient = m_rows[index.row()];
    if (role == Qt::TextAlignmentRole) {
        return index.column() >= kCount ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
        case kNumber:
            return patient.inpatientNumber;
        case kName:
            return patient.patientName;
        case kCount:
            return QString::number(patient.deposits);
        case kSum:
            return common::moneyText(patient.sum);
        default:
            return {};
    }
}

QVariant InHospitalModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const QStringList headers{QStringLiteral("住院号"), QStringLiteral("姓名"),
                                     QStringLiteral("笔数"), QStringLiteral("预交金额")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    return headers.value(section);
}

bool InHospitalModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !m_atEnd && !m_failed;
}

void InHospitalModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) {
        return;
    }
    QList<store::PatientInHospital> page;
    QString error;
    if (!readPage(&page, &error)) {
        emit fetchFailed(error);
        return;
    }
    if (page.isEmpty()) {
        return;
    }
    const auto first = static_cast<int>(m_rows.size());
    beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
    m_rows.append(std::move(page));
    endInsertRows();
}

}  // namespace deposit
