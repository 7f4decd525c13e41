#include "printing/form_picture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPdfDocument>
#include <algorithm>

namespace printing {

namespace {

constexpr double kPictureDotsPerInch = 150.0;
constexpr double kPointsPerInch = 72.0;
constexpr double kTenthsOfMillimetrePerInch = 254.0;
// A4 at 300 dots per inch: a PDF page claiming a larger size is not rendered beyond it.
constexpr int kLongestRenderedSide = 3508;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Transparent parts become the paper's white; a grey scan stays grey.
QImage opaque(const QImage& picture) {
    if (picture.isNull() || picture.format() == QImage::Format_Grayscale8 ||
        picture.format() == QImage::Format_RGB32) {
        return picture;
    }
    QImage result(picture.size(), QImage::Format_RGB32);
    result.setDotsPerMeterX(picture.dotsPerMeterX());
    result.setDotsPerMeterY(picture.dotsPerMeterY());
    result.fill(Qt::white);
    QPainter painter(&result);
    painter.drawImage(0, 0, picture);
    return result;
}

QImage renderPdfPage(const QString& path, QString* problem) {
    QPdfDocument document;
    if (document.load(path) != QPdfDocument::Error::None) {
        *problem = QStringLiteral("PDF 文件“%1”无法读取（损坏或加密）。").arg(shown(path));
        return {};
    }
    if (document.pageCount() != 1) {
        *problem = QStringLiteral("PDF 文件“%1”有 %2 页，票据图片只能是一页。")
                       .arg(shown(path))
                       .arg(document.pageCount());
        return {};
    }
    QSizeF size = document.pagePointSize(0) * (kPictureDotsPerInch / kPointsPerInch);
    if (std::max(size.width(), size.height()) > kLongestRenderedSide) {
        size.scale(kLongestRenderedSide, kLongestRenderedSide, Qt::KeepAspectRatio);
    }
    const QImage page = document.render(0, size.toSize());
    if (page.isNull()) {
        *problem = QStringLiteral("PDF 文件“%1”的页面无法显示。").arg(shown(path));
    }
    return page;
}

}  // namespace

QImage readFormPicture(const QString& path, QString* problem) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        *problem = QStringLiteral("票据图片“%1”不存在。").arg(shown(path));
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = QStringLiteral("票据图片“%1”无法读取：%2").arg(shown(path), file.errorString());
        return {};
    }
    if (file.peek(5) == "%PDF-") {
        file.close();
        return opaque(renderPdfPage(path, problem));
    }

    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format != "png" && format != "jpeg") {
        *problem = QStringLiteral("“%1”不是 PNG、JPEG 图片或 PDF 文件。").arg(shown(path));
        return {};
    }
    reader.setAutoTransform(true);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        *problem =
            QStringLiteral("票据图片“%1”无法读取：%2").arg(shown(path), reader.errorString());
        return {};
    }
    return opaque(picture);
}

QImage fitFormPicture(const QImage& picture, QRect area) {
    const QSize enough(qRound(area.width() / kTenthsOfMillimetrePerInch * kPictureDotsPerInch),
                       qRound(area.height() / kTenthsOfMillimetrePerInch * kPictureDotsPerInch));
    if (picture.width() <= enough.width() && picture.height() <= enough.height()) {
        return picture;
    }
    // Smooth scaling may bring an alpha channel back.
    return opaque(picture.scaled(enough.boundedTo(picture.size()).expandedTo({1, 1}),
                                 Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

}  // namespace printing
