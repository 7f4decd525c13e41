#pragma once

#include <QDialog>
#include <QList>
#include <QVariantList>

#include "storage/storage_engine.h"
#include "store/receipt_history.h"
#include "store/receipt_search.h"

class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class QPushButton;

namespace platform {
struct Services;
}
namespace store {
class Database;
}

namespace receipt_register {

// A receipt, read-only: its page as it was printed, on the desk's picture of the blank form as
// the print setup's preview draws it, and for a stored receipt its corrections, each with when it
// was made and what it changed. Under them a row of buttons that ends with 关闭.
class ReceiptView final : public QDialog {
    Q_OBJECT

public:
    // values holds every field of the receipt.
    ReceiptView(const platform::Services& services, const QVariantList& values,
                QWidget* parent = nullptr);

    // One more button in the row, before 关闭, named and read out by its caption.
    QPushButton* addButton(const QString& caption);
    // A line under the page, such as how the receipt was voided.
    void setNote(const QString& text);
    // The corrections under the page, oldest first.
    void showCorrections(const QList<store::Correction>& corrections);

private:
    QWidget* makePage(const platform::Services& services, const QVariantList& values);
    QWidget* makeHistory(const QList<store::Correction>& corrections);

    QVBoxLayout* m_layout = nullptr;
    QLabel* m_note = nullptr;
    QHBoxLayout* m_buttonRow = nullptr;
    QPushButton* m_closeButton = nullptr;
};

// Shows the stored receipt listed in a ReceiptView, modally, with 补打 and 作废 for cashier; tells
// the cashier when it cannot be read, is no longer stored or is no longer as listed. True when the
// receipt was voided there.
bool showReceipt(QWidget* parent, const platform::Services& services, store::Database& database,
                 const QString& cashier, const store::ShownReceipt& listed);

// Shows the voided receipt with this identity, with when, by whom and why it was voided; it can
// only be looked at. Its corrections stay in MZY_voided_history.
void showVoidedReceipt(QWidget* parent, const platform::Services& services,
                       store::Database& database, storage::RecordId id);

}  // namespace receipt_register
