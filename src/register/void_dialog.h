#pragma once

#include <QDialog>
#include <QString>
#include <optional>

#include "store/receipt_void.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace widgets {
class MessageBoxes;
}

namespace receipt_register {

// 作废: asks for the reason of voiding one receipt (required, at most 50 characters) and then
// for a confirmation. The box 作废原因, the buttons 作废 and 取消; a reason that may not be given
// is told under the box and nothing closes.
class VoidDialog final : public QDialog {
    Q_OBJECT

public:
    VoidDialog(widgets::MessageBoxes& messageBoxes, const QString& inpatientNumber,
               const QString& patientName, QWidget* parent = nullptr);

    QString reason() const;

private:
    void confirm();

    widgets::MessageBoxes& m_messageBoxes;
    QString m_inpatientNumber;
    QString m_patientName;
    QLineEdit* m_reason;
    QLabel* m_problem;
};

// The reason the cashier gave for voiding the receipt, after confirming; none when the cashier
// gave up.
std::optional<QString> askVoidReason(widgets::MessageBoxes& messageBoxes,
                                     const QString& inpatientNumber, const QString& patientName,
                                     QWidget* parent);

// What the cashier is told when a void did not happen; empty for one that did.
QString voidRefusalMessage(const store::VoidResult& result);

}  // namespace receipt_register
