#pragma once

#include <QDate>
#include <QString>

namespace store {
class Database;
}

namespace deposit {

// Writes every inpatient number with open deposits into the file at path (.xlsx or .csv, as its
// name asks): 住院号, 姓名, 笔数, 预交金额, by number. The file appears only whole. How many
// numbers were written, or -1 with a message for the cashier in *error.
qint64 exportPatientsInHospital(store::Database& database, const QString& path, QString* error);

// 在院-20261211.xlsx: the name the export offers for the day.
QString inHospitalFileName(const QDate& day);

}  // namespace deposit
