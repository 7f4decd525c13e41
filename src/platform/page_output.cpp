#include "platform/page_output.h"

#include <QBuffer>
#include <QDir>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include "common/private_files.h"

namespace platform {

namespace {

constexpr int kPdfResolution = 1200;

QPageLayout fullA4Page() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(),
                       QPageLayout::Millimeter);
}

}  // namespace

QPrinterInfo findPrinter(const QString& name) {
    return name.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(name);
}

QStringList printerNames() {
    return QPrinterInfo::availablePrinterNames();
}

bool printPage(const QPrinterInfo& target, const QString& documentName, const PagePainting& paint) {
    QPrinter printer(target, QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(fullA4Page());
    printer.setDocName(documentName);
    printer.setCreator(QStringLiteral(PRODUCT_NAME));
    return printer.isValid() && paint(printer) && printer.printerState() != QPrinter::Error;
}

QByteArray pdfPage(const QString& title, const PagePainting& paint) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(fullA4Page());
        writer.setResolution(kPdfResolution);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral(PRODUCT_NAME));
        if (!paint(writer)) {
            return {};
        }
    }
    return pdf;
}

bool writeWholeFile(const QString& path, const QByteArray& data, QString* error) {
    // QSaveFile gives a new file the umask's mode but keeps the mode of one that exists, so a new
    // file is first made, empty and private, and taken away again if the write fails.
    bool created = false;
    common::createPrivateFile(path, &created);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        *error = QStringLiteral("无法写入“%1”：%2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        if (created) {
            QFile::remove(path);
        }
        return false;
    }
    return true;
}

}  // namespace platform
