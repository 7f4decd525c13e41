#include "platform/page_output.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>

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
    common::FileReplacement file(path);
    if (!file.open(error)) {
        return false;
    }
    if (file.device().write(data) != data.size()) {
        *error = QStringLiteral("无法写入“%1”：%2")
                     .arg(QDir::toNativeSeparators(path), file.device().errorString());
        return false;
    }
    return file.commit(error);
}

bool writePdfFile(const QString& path, const QByteArray& pdf, QString* error) {
    static const QByteArray kPdfStart("%PDF-");
    QFile existing(path);
    // The program's own files (the database, its journal and lock) are never PDF documents.
    if (QFileInfo::exists(path) &&
        !(existing.open(QIODevice::ReadOnly) && existing.read(kPdfStart.size()) == kPdfStart)) {
        *error = QStringLiteral("“%1”已经存在，而且不是 PDF 文件，不会覆盖它；请换一个文件名")
                     .arg(QDir::toNativeSeparators(path));
        return false;
    }
    return writeWholeFile(path, pdf, error);
}

}  // namespace platform
