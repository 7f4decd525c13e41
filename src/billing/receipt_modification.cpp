#include "billing/receipt_modification.h"

#include "billing/deposit_deduction.h"
#include "billing/main_window.h"
#include "common/text.h"
#include "receipt/fee_category.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/table.h"

namespace billing {

namespace {

ReceiptEntry readReceiptEntry(const store::Table& table) {
    ReceiptEntry entry;
    entry.patientName = table.readField(store::kPatientNameField).toString();
    entry.admission = table.readField(store::kAdmissionDateField).toDateTime();
    entry.discharge = table.readField(store::kDischargeDateField).toDateTime();
    for (std::size_t index = 0; index < receipt::kFeeCategories.size(); ++index) {
        entry.fees[index] =
            table.readField(receipt::kFeeCategories[index].fieldName).value<common::Money>();
    }
    entry.prepaid = table.readField(store::kPrepaidField).value<common::Money>();
    entry.supplement = table.readField(store::kSupplementField).value<common::Money>();
    return entry;
}

// Every field, to tell at the save whether the receipt is still as it was loaded.
QVariantList readRecord(const store::Table& table) {
    QVariantList values;
    for (int field = 0; field < store::receiptSchema().columns.size(); ++field) {
        values.append(table.readField(field));
    }
    return values;
}

}  // namespace

ReceiptModification::ReceiptModification(MainWindow& window, store::Database& database,
                                         const OpenDialogs& openDialogs, DepositDeduction& deposits)
    : m_window(window), m_database(database), m_openDialogs(openDialogs), m_deposits(deposits) {}

const store::LoadedReceipt* ReceiptModification::loadedReceipt() const {
    return m_loaded ? &*m_loaded : nullptr;
}

void ReceiptModification::startModification() {
    m_loaded.reset();
    m_window.focusInpatientNumberForTyping();
    m_window.setStatusLine(QStringLiteral("请输入要修改收据的住院号，并按'Tab'键。"));
    m_window.receipt().isModifyMode = 1;
    m_window.setCalculateAndPrintEnabled(false);
}

void ReceiptModification::inpatientNumberLeft() {
    if (m_openDialogs.login || m_openDialogs.statistics) {
        return;
    }
    if (m_window.receipt().isModifyMode != 0) {
        loadReceiptForModification();
    } else {
        m_deposits.readForNewReceipt();
    }
}

void ReceiptModification::loadReceiptForModification() {
    const QString inpatientNumber = m_window.inpatientNumber();
    if (common::isBlank(inpatientNumber)) {
        refuse(QStringLiteral("住院号为空！"));
        return;
    }
    store::Table table(m_database);
    if (!table.open(store::kReceiptTable)) {
        refuse(QStringLiteral("无法读取收据表：") + table.lastError());
        return;
    }
    table.goFirst();
    if (!store::findByInpatientNumber(table, inpatientNumber)) {
        refuse(QStringLiteral("没有找到这张收据！"));
        return;
    }
    const QString issuer = table.readField(store::kCashierField).toString();
    if (!common::textEquals(issuer, m_window.receipt().currentCashier)) {
        refuse(QStringLiteral("这张收据的收费员为") + issuer + QStringLiteral("，请重新登录！"));
        return;
    }
    m_window.showReceiptEntry(readReceiptEntry(table));
    m_loaded = store::LoadedReceipt{table.recordId(), readRecord(table)};
    table.close();

    m_window.recalculateTotal();
    m_window.focusPatientName();
    m_window.setStatusLine(QString());
    m_deposits.readForCorrection();
    m_window.setCalculateAndPrintEnabled(true);
}

void ReceiptModification::refuse(const QString& statusText) {
    m_loaded.reset();
    m_window.setStatusLine(statusText);
    m_window.setCalculateAndPrintEnabled(false);
}

}  // namespace billing
