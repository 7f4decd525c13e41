#include "deposit/in_hospital_page.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "common/money_text.h"
#include "deposit/in_hospital_export.h"
#include "deposit/in_hospital_model.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "register/export_path_dialog.h"
#include "store/patients_in_hospital.h"
#include "widgets/message_boxes.h"
#include "widgets/window_controls.h"

namespace deposit {

InHospitalPage::InHospitalPage(const platform::Services& services, store::Database& database,
                               QWidget* parent)
    : QWidget(parent), m_services(services), m_database(database) {
    m_model = new InHospitalModel(database, this);
    m_view = new QTableView;
    m_view->setObjectName(QStringLiteral("在院"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_sums = new QLabel;
    m_sums->setObjectName(QStringLiteral("合计"));
    QPushButton* refreshButton = widgets::makeNamedButton(QStringLiteral("刷新"), this);
    QPushButton* exportButton = widgets::makeNamedButton(QStringLiteral("导出"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_sums, 1);
    buttons->addWidget(refreshButton);
    buttons->addWidget(exportButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);

    connect(refreshButton, &QPushButton::clicked, this, &InHospitalPage::reload);
    connect(exportButton, &QPushButton::clicked, this, &InHospitalPage::exportList);
    connect(m_model, &InHospitalModel::fetchFailed, this, &InHospitalPage::showError);
}

void InHospitalPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    reload();
}

void InHospitalPage::reload() {
    QString error;
    store::OpenDepositTotals totals;
    if (!m_model->reload(&error) || !store::readOpenDepositTotals(m_database, &totals, &error)) {
        m_sums->clear();
        showError(error);
        return;
    }
    m_sums->setText(QStringLiteral("有效预交金共%1笔，合计%2元")
                        .arg(totals.deposits)
                        .arg(common::moneyText(totals.sum)));
}

QString InHospitalPage::sumsText() const {
    return m_sums->text();
}

void InHospitalPage::exportList() {
    const QString path =
        receipt_register::askExportPath(this, inHospitalFileName(m_services.clock.now().date()));
    if (!path.isEmpty()) {
        exportTo(path);
    }
}

void InHospitalPage::exportTo(const QString& path) {
    QString error;
    const qint64 written = exportPatientsInHospital(m_database, path, &error);
    if (written < 0) {
        showError(QStringLiteral("导出没有完成，没有写出文件。\n") + error);
        return;
    }
    m_services.messageBoxes.show(
        this,
        {QStringLiteral("已导出%1个住院号：\n%2").arg(written).arg(QDir::toNativeSeparators(path)),
         QStringLiteral("导出"), widgets::MessageButtons::Ok, widgets::MessageIcon::Information});
}

void InHospitalPage::showError(const QString& text) {
    m_services.messageBoxes.show(this, widgets::errorMessage(text));
}

}  // namespace deposit
