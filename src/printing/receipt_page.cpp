#include "printing/receipt_page.h"

#include "platform/printer.h"

namespace printing {

namespace {

// Keeps what a receipt places, instead of printing it.
class PageCollector final : public platform::Printer {
public:
    void startJob(const QString&) override {}
    void startPlainJob(const QString&) override {}
    void setPrintSetting(int) override {}
    explicit PageCollector(bool withCaptions) : m_withCaptions(withCaptions) {}

    void placeText(int x, int y, const QString& text) override {
        page.texts.push_back({x, y, text});
    }
    void placeCopyText(int x, int y, const QString& text, platform::CopyText kind) override {
        if (kind == platform::CopyText::Mark || m_withCaptions) {
            page.texts.push_back({x, y, text});
        }
    }
    // A receipt is one page of texts.
    void placeLine(QLine) override {}
    void newPage() override {}
    platform::PrintOutcome endJob() override { return {}; }

    platform::PageContent page;

private:
    bool m_withCaptions;
};

}  // namespace

platform::PageContent receiptPage(const FieldReader& readField, const common::OfficeNames& office,
                                  bool withCaptions) {
    PageCollector collector(withCaptions);
    placeReceipt(collector, readField, office);
    return collector.page;
}

}  // namespace printing
