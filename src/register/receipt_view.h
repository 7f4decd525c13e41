#pragma once

#include <QDialog>
#include <QList>
#include <QVariantList>

#include "storage/storage_engine.h"
#include "store/receipt_history.h"

class QHBoxLayout;
class QPushButton;

namespace platform {
struct Services;
}
namespace store {
class Database;
}

namespace receipt_register {

// A stored receipt, read-only: its page as it was printed, on the desk's picture of the blank
// form as the print setup's preview draws it, and its corrections, each with when it was made and
// what it changed. Under them a row of buttons: 补打 and 关闭.
class ReceiptView final : public QDialog {
    Q_OBJECT

public:
    // values holds every field of the receipt; corrections come oldest first.
    ReceiptView(const platform::Services& services, store::Database& database, storage::RecordId id,
                const QVariantList& values, const QList<store::Correction>& corrections,
                QWidget* parent = nullptr);

    // One more button in the row, before 关闭, named and read out by its caption.
    QPushButton* addButton(const QString& caption);

private:
    QWidget* makePage(const platform::Services& services, const QVariantList& values);
    QWidget* makeHistory(const QList<store::Correction>& corrections);

    QHBoxLayout* m_buttonRow = nullptr;
    QPushButton* m_closeButton = nullptr;
};

// Shows the stored receipt with this identity in a ReceiptView, modally; tells the cashier when it
// cannot be read or is no longer stored.
void showReceipt(QWidget* parent, const platform::Services& services, store::Database& database,
                 storage::RecordId id);

}  // namespace receipt_register
