#include "platform/qt_printer.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <utility>

#include "common/private_files.h"
#include "platform/clock.h"

namespace platform {

namespace {

constexpr qsizetype kLongestNamePart = 100;

// The document name as part of a file name on any system: characters that Windows or Linux
// reserve become "_", and an empty name becomes 收据.
QString fileNamePart(const QString& documentName) {
    static const QString reserved = QStringLiteral("\\/:*?\"<>|");
    QString part = documentName.left(kLongestNamePart);
    if (!part.isEmpty() && part.back().isHighSurrogate()) {
        part.chop(1);
    }
    for (QChar& character : part) {
        if (character.unicode() < 0x20 || character.unicode() == 0x7f ||
            reserved.contains(character)) {
            character = u'_';
        }
    }
    return part.isEmpty() ? QStringLiteral("收据") : part;
}

}  // namespace

QtPrinter::QtPrinter(QString receiptsFolder, const Clock& clock, DeskPrinting desk,
                     PrinterLookup findPrinter)
    : m_receiptsFolder(std::move(receiptsFolder)),
      m_clock(clock),
      m_desk(std::move(desk)),
      m_findPrinter(std::move(findPrinter)) {}

void QtPrinter::startJob(const QString& documentName) {
    m_documentName = documentName;
    m_pages = {PageContent()};
    m_copyPages = {PageContent()};
    m_onForm = true;
}

void QtPrinter::startPlainJob(const QString& documentName) {
    startJob(documentName);
    m_onForm = false;
}

// The receipt form is laid out for A4, which setting 9 selects and which every job uses, so no
// value changes the page.
void QtPrinter::setPrintSetting(int) {}

void QtPrinter::placeText(int x, int y, const QString& text) {
    m_pages.back().texts.push_back({x, y, text});
    m_copyPages.back().texts.push_back({x, y, text});
}

void QtPrinter::placeCopyText(int x, int y, const QString& text, CopyText kind) {
    const bool formShown = m_onForm && !m_desk.form.image.isNull();
    if (kind == CopyText::Mark || !formShown) {
        m_copyPages.back().texts.push_back({x, y, text});
    }
}

void QtPrinter::placeLine(QLine line) {
    m_pages.back().lines.push_back(line);
    m_copyPages.back().lines.push_back(line);
}

void QtPrinter::newPage() {
    m_pages.emplace_back();
    m_copyPages.emplace_back();
}

PrintOutcome QtPrinter::endJob() {
    PrintOutcome outcome;
    QStringList problems;
    QString pdfProblem;
    outcome.pdfPath = writePdfCopy(&pdfProblem);
    if (outcome.pdfPath.isEmpty()) {
        problems << pdfProblem;
    }

    const QPrinterInfo target = m_findPrinter(m_desk.printerName);
    if (target.isNull() && !m_desk.printerName.isEmpty()) {
        // The paper of another printer holds no blank forms, so the job goes nowhere else.
        problems.prepend(
            QStringLiteral("没有找到打印机“%1”，%2没有打印。").arg(m_desk.printerName, subject()));
    } else if (target.isNull()) {
        outcome.printed = !outcome.pdfPath.isEmpty();
        if (!outcome.printed) {
            problems.prepend(QStringLiteral("没有找到打印机，%1没有打印。").arg(subject()));
        }
    } else if (printPage(target, m_documentName,
                         [this](QPaintDevice& device) { return paintPrinterPage(device); })) {
        outcome.printed = true;
        outcome.printerName = target.printerName();
    } else {
        problems.prepend(
            QStringLiteral("%1没有送到打印机“%2”。").arg(subject(), target.printerName()));
    }
    outcome.error = problems.join(u'\n');
    m_pages = {PageContent()};
    m_copyPages = {PageContent()};
    return outcome;
}

QString QtPrinter::subject() const {
    return m_onForm ? QStringLiteral("收据") : QStringLiteral("报表");
}

bool QtPrinter::paintPrinterPage(QPaintDevice& device) const {
    return paintPages(device, m_pages, m_desk.offset);
}

bool QtPrinter::paintCopyPage(QPaintDevice& device) const {
    return paintPages(device, m_copyPages, {}, m_onForm ? m_desk.form : FormPicture());
}

QString QtPrinter::unusedPdfPath() const {
    const QDir folder(m_receiptsFolder);
    const QString stem = fileNamePart(m_documentName) + u'-' +
                         m_clock.now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    // A reprint within the same second keeps the earlier copy.
    QString path = folder.filePath(stem + QStringLiteral(".pdf"));
    for (int copy = 2; QFileInfo::exists(path); ++copy) {
        path = folder.filePath(stem + u'-' + QString::number(copy) + QStringLiteral(".pdf"));
    }
    return path;
}

QString QtPrinter::writePdfCopy(QString* error) const {
    if (!common::makePrivateFolder(m_receiptsFolder)) {
        *error = QStringLiteral("收据文件夹“%1”无法建立，%2的PDF副本没有保存。")
                     .arg(QDir::toNativeSeparators(m_receiptsFolder), subject());
        return {};
    }

    const QByteArray pdf =
        pdfPage(m_documentName, [this](QPaintDevice& device) { return paintCopyPage(device); });
    if (pdf.isEmpty()) {
        *error = QStringLiteral("%1页面无法生成PDF，%1的PDF副本没有保存。").arg(subject());
        return {};
    }

    const QString path = unusedPdfPath();
    QString problem;
    if (!writeWholeFile(path, pdf, &problem)) {
        *error = QStringLiteral("%1的PDF副本没有保存。").arg(subject()) + problem;
        return {};
    }
    return path;
}

}  // namespace platform
