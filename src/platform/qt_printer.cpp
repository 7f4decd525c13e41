#include "platform/qt_printer.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QStringList>
#include <utility>

#include "platform/clock.h"

namespace platform {

namespace {

constexpr double kTenthsOfMillimetrePerInch = 254.0;
constexpr double kTextPointSize = 10.5;
constexpr int kPdfResolution = 1200;
constexpr qsizetype kLongestNamePart = 100;

// Noto Serif CJK SC stands in for 宋体; where it is missing, 宋体 itself is the next choice.
QFont receiptFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("宋体")});
    font.setPointSizeF(kTextPointSize);
    // Shaped, digits beside Latin letters get glyphs that the PDF's text layer cannot map back
    // ("491MX" reads back as "MX"); plain glyphs keep the copy searchable.
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QPageLayout fullA4Page() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(),
                       QPageLayout::Millimeter);
}

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

QtPrinter::QtPrinter(QString receiptsFolder, const Clock& clock, PrinterLookup findPrinter)
    : m_receiptsFolder(std::move(receiptsFolder)),
      m_clock(clock),
      m_findPrinter(std::move(findPrinter)) {}

void QtPrinter::startJob(const QString& documentName) {
    m_documentName = documentName;
    m_texts.clear();
}

// The receipt form is laid out for A4, which setting 9 selects and which every job uses, so no
// value changes the page.
void QtPrinter::setPrintSetting(int) {}

void QtPrinter::placeText(int x, int y, const QString& text) {
    m_texts.push_back({x, y, text});
}

PrintOutcome QtPrinter::endJob() {
    PrintOutcome outcome;
    QStringList problems;
    QString pdfProblem;
    outcome.pdfPath = writePdfCopy(&pdfProblem);
    if (outcome.pdfPath.isEmpty()) {
        problems << pdfProblem;
    }

    const QPrinterInfo target = m_findPrinter();
    if (target.isNull()) {
        outcome.printed = !outcome.pdfPath.isEmpty();
        if (!outcome.printed) {
            problems.prepend(QStringLiteral("没有找到打印机，收据没有打印。"));
        }
    } else {
        QString printerProblem;
        outcome.printed = printOn(target, &printerProblem);
        if (outcome.printed) {
            outcome.printerName = target.printerName();
        } else {
            problems.prepend(printerProblem);
        }
    }
    outcome.error = problems.join(u'\n');
    m_texts.clear();
    return outcome;
}

bool QtPrinter::paintPage(QPaintDevice& device) const {
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    painter.setFont(receiptFont());
    const double ascent = QFontMetricsF(painter.font(), &device).ascent();
    const double dotsPerUnitX = device.logicalDpiX() / kTenthsOfMillimetrePerInch;
    const double dotsPerUnitY = device.logicalDpiY() / kTenthsOfMillimetrePerInch;
    for (const PlacedText& placed : m_texts) {
        // drawText puts the baseline on the point; the text's top belongs on the position.
        painter.drawText(QPointF(placed.x * dotsPerUnitX, placed.y * dotsPerUnitY + ascent),
                         placed.text);
    }
    return painter.end();
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
    if (!QDir().mkpath(m_receiptsFolder)) {
        *error = QStringLiteral("收据文件夹“%1”无法建立，收据的PDF副本没有保存。")
                     .arg(QDir::toNativeSeparators(m_receiptsFolder));
        return {};
    }

    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(fullA4Page());
        writer.setResolution(kPdfResolution);
        writer.setTitle(m_documentName);
        writer.setCreator(QStringLiteral(PRODUCT_NAME));
        if (!paintPage(writer)) {
            *error = QStringLiteral("收据页面无法生成PDF，收据的PDF副本没有保存。");
            return {};
        }
    }

    const QString path = unusedPdfPath();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size() || !file.commit()) {
        *error = QStringLiteral("收据的PDF副本无法写入“%1”：%2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return {};
    }
    return path;
}

bool QtPrinter::printOn(const QPrinterInfo& target, QString* error) const {
    QPrinter printer(target, QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(fullA4Page());
    printer.setDocName(m_documentName);
    printer.setCreator(QStringLiteral(PRODUCT_NAME));
    if (!printer.isValid() || !paintPage(printer) || printer.printerState() == QPrinter::Error) {
        *error = QStringLiteral("收据没有送到打印机“%1”。").arg(target.printerName());
        return false;
    }
    return true;
}

}  // namespace platform
