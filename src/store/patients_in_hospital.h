#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "common/money.h"

namespace store {

class Database;

// An inpatient number with deposits still to be deducted: the name on its latest open deposit,
// how many are open and their sum.
struct PatientInHospital {
    QString inpatientNumber;
    QString patientName;
    qint64 deposits = 0;
    common::Money sum;
};

// Up to limit numbers with open deposits after the number `after` (from the first when none),
// by number, appended to *patients. False with a message for the cashier in *error.
bool readPatientsInHospital(Database& database, const std::optional<QString>& after, int limit,
                            QList<PatientInHospital>* patients, QString* error);

// How many deposits are open over all numbers, and their sum.
struct OpenDepositTotals {
    qint64 deposits = 0;
    common::Money sum;
};
bool readOpenDepositTotals(Database& database, OpenDepositTotals* totals, QString* error);

}  // namespace store
