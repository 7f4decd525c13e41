#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "printing/form_picture.h"
#include "support/qt_printers.h"

namespace {

// A PDF of A4 pages as a scanner writes it: each page one picture, here a red corner.
void writeScan(const QString& path, int pages) {
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF());
    writer.setResolution(150);
    QPainter painter(&writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            writer.newPage();
        }
        painter.fillRect(0, 0, 100, 100, Qt::red);
    }
}

TEST(FormPicture, ReadsAnOpaquePictureFromPngJpegOrAOnePagePdf) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage transparent(20, 30, QImage::Format_ARGB32);
    transparent.fill(Qt::transparent);
    QImage white(20, 30, QImage::Format_RGB32);
    white.fill(Qt::white);
    ASSERT_TRUE(transparent.save(dir.filePath(QStringLiteral("form.png"))));
    ASSERT_TRUE(white.save(dir.filePath(QStringLiteral("form.jpeg")), "JPEG"));
    // The content decides, not the name.
    ASSERT_TRUE(transparent.save(dir.filePath(QStringLiteral("form.scan")), "PNG"));
    writeScan(dir.filePath(QStringLiteral("scan.pdf")), 1);

    for (const char16_t* name : {u"form.png", u"form.jpeg", u"form.scan", u"scan.pdf"}) {
        SCOPED_TRACE(QString::fromUtf16(name).toStdString());
        QString problem;
        const QImage picture =
            printing::readFormPicture(dir.filePath(QString::fromUtf16(name)), &problem);
        ASSERT_FALSE(picture.isNull()) << problem.toStdString();
        EXPECT_FALSE(picture.hasAlphaChannel());
        // Transparency becomes the paper's white; the scan keeps its red corner and A4's shape.
        EXPECT_GT(qGray(picture.pixel(picture.width() - 1, picture.height() - 1)), 245);
        if (name == std::u16string_view(u"scan.pdf")) {
            EXPECT_EQ(picture.pixelColor(2, 2), QColor(Qt::red));
            EXPECT_NEAR(picture.height() / double(picture.width()), 297.0 / 210.0, 0.01);
        }
    }
}

TEST(FormPicture, SaysWhyAFileIsNoFormPicture) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeScan(dir.filePath(QStringLiteral("two.pdf")), 2);
    QFile text(dir.filePath(QStringLiteral("form.png")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture\n");
    text.close();
    QFile broken(dir.filePath(QStringLiteral("broken.pdf")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("%PDF-1.4\nnothing more");
    broken.close();

    const struct {
        const char16_t* name;
        const char16_t* says;
    } cases[] = {
        {u"missing.png", u"不存在"},
        {u"form.png", u"不是 PNG、JPEG 图片或 PDF 文件"},
        {u"two.pdf", u"有 2 页，票据图片只能是一页"},
        {u"broken.pdf", u"无法读取"},
        {u"", u"不存在"},
    };
    for (const auto& refused : cases) {
        QString problem;
        const QString path = dir.filePath(QString::fromUtf16(refused.name));
        EXPECT_TRUE(printing::readFormPicture(path, &problem).isNull()) << path.toStdString();
        EXPECT_TRUE(problem.contains(QString::fromUtf16(refused.says))) << problem.toStdString();
    }
}

}  // namespace
