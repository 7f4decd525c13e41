#pragma once

#include <QList>
#include <QString>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "store/receipt_search.h"

namespace receipt_register {

// Reads the pages of a receipt search on a thread of its own, with a connection of its own to
// the database, a page or two ahead of whoever takes them: reading and writing a long export then
// go on side by side. Pages are taken on one thread; the reader stops when the object goes.
class PageReader {
public:
    // fields are positions in the receipt table; pageSize receipts a page, each with how it was
    // paid.
    PageReader(const QString& databaseLocation, const store::ReceiptFilter& filter,
               const QList<int>& fields, int pageSize);
    ~PageReader();
    PageReader(const PageReader&) = delete;
    PageReader& operator=(const PageReader&) = delete;

    // Waits for the next page: false at the end, and when a page could not be read (with a
    // message for the cashier in *error).
    bool next(QList<store::FoundReceipt>* page, QString* error);

private:
    void read(const std::stop_token& stop, const QString& databaseLocation,
              const store::ReceiptFilter& filter, const QList<int>& fields, int pageSize);
    void finish(const QString& error);

    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::deque<QList<store::FoundReceipt>> m_pages;
    bool m_done = false;
    QString m_error;
    // Last, so that it stops and is joined before the rest goes.
    std::jthread m_thread;
};

}  // namespace receipt_register
