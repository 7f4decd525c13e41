#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <memory>

#include "store/receipt_search.h"

namespace store {
class Database;
}

namespace receipt_register {

// The receipts a search finds, one a row, as the register lists them: 住院号, 姓名, 入院日期,
// 出院日期, 天数, 合计, 预交, 补收, 退款, 欠费, 收费员, 状态. Rows are fetched a page at a time as
// a view scrolls down to them (canFetchMore/fetchMore), each page one short query; the model
// holds the rows fetched so far and nothing else. Lives on the thread of its database.
class ReceiptListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kPageRows = 200;

    explicit ReceiptListModel(store::Database& database, QObject* parent = nullptr);
    ~ReceiptListModel() override;

    // Starts over with the receipts the filter finds and fetches their first page. False, with a
    // message for the cashier in *error and no rows, when the table cannot be read.
    bool search(const store::ReceiptFilter& filter, QString* error);
    // No search, no rows.
    void clear();

    // The filter of the current search; nullptr when there is none.
    const store::ReceiptFilter* filter() const;
    storage::RecordId recordId(int row) const;
    // The row's receipt as the list shows it, for an action that must find it unchanged.
    store::ShownReceipt shownReceipt(int row) const;
    bool isVoided(int row) const;

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
    QString displayText(const store::FoundReceipt& receipt, int column) const;
    void appendRows(QList<store::FoundReceipt> page);

    store::Database& m_database;
    std::unique_ptr<store::ReceiptSearch> m_search;
    QList<store::FoundReceipt> m_rows;
    bool m_failed = false;
    bool m_appending = false;
};

}  // namespace receipt_register
