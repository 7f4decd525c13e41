#include "register/page_reader.h"

#include "store/database.h"

namespace receipt_register {

namespace {

// One page is read while another waits to be taken.
constexpr std::size_t kPagesAhead = 2;
}  // namespace

PageReader::PageReader(const QString& databaseLocation, const store::ReceiptFilter& filter,
                       const QList<int>& fields, int pageSize)
    : m_thread([this, databaseLocation, filter, fields, pageSize](std::stop_token stop) {
          read(stop, databaseLocation, filter, fields, pageSize);
      }) {}

PageReader::~PageReader() {
    m_thread.request_stop();
}

bool PageReader::next(QList<store::FoundReceipt>* page, QString* error) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_pages.empty() || m_done; });
    if (m_pages.empty()) {
        *error = m_error;
        return false;
    }
    *page = std::move(m_pages.front());
    m_pages.pop_front();
    m_changed.notify_all();
    return true;
}

void PageReader::read(const std::stop_token& stop, const QString& databaseLocation,
                      const store::ReceiptFilter& filter, const QList<int>& fields, int pageSize) {
    // A connection is used by one thread only.
    store::Database database(databaseLocation);
    store::ReceiptSearch search(database, filter, fields, true);
    while (!search.atEnd()) {
        QList<store::FoundReceipt> page;
        QString error;
        if (!search.next(pageSize, &page, &error)) {
            finish(error);
            return;
        }
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait(lock, stop, [this] { return m_pages.size() < kPagesAhead; })) {
            return;
        }
        if (!page.isEmpty()) {
            m_pages.push_back(std::move(page));
            m_changed.notify_all();
        }
    }
    finish({});
}

void PageReader::finish(const QString& error) {
    const std::lock_guard lock(m_mutex);
    m_done = true;
    m_error = error;
    m_changed.notify_all();
}

}  // namespace receipt_register
