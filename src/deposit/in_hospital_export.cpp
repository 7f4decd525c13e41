#include "deposit/in_hospital_export.h"

#include <QDate>
#include <QDir>
#include <memory>

#include "common/private_files.h"
#include "register/sheet_opening.h"
#include "store/patients_in_hospital.h"

namespace deposit {

namespace {

// Pages of this size keep the queries few.
constexpr int kPagePatients = 2000;

bool writePatients(store::Database& database, receipt_register::SheetWriter& sheet, qint64* written,
                   QString* error) {
    sheet.header({QStringLiteral("住院号"), QStringLiteral("姓名"), QStringLiteral("笔数"),
                  QStringLiteral("预交金额")});
    std::optional<QString> after;
    for (;;) {
        QList<store::PatientInHospital> page;
        if (!store::readPatientsInHospital(database, after, kPagePatients, &page, error)) {
            return false;
        }
        for (const store::PatientInHospital& patient : page) {
            sheet.text(patient.inpatientNumber);
            sheet.text(patient.patientName);
            sheet.text(QString::number(patient.deposits));
            sheet.amount(patient.sum);
            if (!sheet.endRow(error)) {
                return false;
            }
        }
        *written += page.size();
        if (page.size() < kPagePatients) {
            return sheet.finish(error);
        }
        after = page.constLast().inpatientNumber;
    }
}

}  // namespace

qint64 exportPatientsInHospital(store::Database& database, const QString& path, QString* error) {
    const std::optional<receipt_register::ExportFormat> format =
        receipt_register::exportFormatOf(path);
    if (!format) {
        *error = QStringLiteral("只能导出为 .xlsx 或 .csv 文件。");
        return -1;
    }
    common::FileReplacement file(path);
    if (!file.open(error)) {
        return -1;
    }
    const std::unique_ptr<receipt_register::SheetWriter> sheet =
        receipt_register::openSheet(*format, file.device(), error);
    qint64 written = 0;
    if (!sheet || !writePatients(database, *sheet, &written, error) || !file.commit(error)) {
        return -1;
    }
    return written;
}

QString inHospitalFileName(const QDate& day) {
    return QStringLiteral("在院-%1.xlsx").arg(day.toString(QStringLiteral("yyyyMMdd")));
}

}  // namespace deposit
