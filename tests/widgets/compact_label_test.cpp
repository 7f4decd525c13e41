#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "support/qt_printers.h"
#include "widgets/compact_label.h"
#include "widgets/form_style.h"

namespace {

// Whether anything is drawn in the rows from top to bottom (exclusive) of the image.
bool hasInk(const QImage& image, int top, int bottom) {
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background) {
                return true;
            }
        }
    }
    return false;
}

TEST(CompactLabel, FitsOneLineInEveryRowOfTheCharacterHeight) {
    const QString text = QStringLiteral("说明：\r\n一二\r\n三四\r\n\r\n按“退出”按钮则退出系统。");
    widgets::CompactLabel label(text);
    label.setFont(widgets::formFont(13));
    label.setWordWrap(true);
    label.resize(170, 65);
    const QImage image = label.grab().toImage();
    EXPECT_EQ(label.text(), text);
    EXPECT_TRUE(hasInk(image, 0, 13));
    EXPECT_TRUE(hasInk(image, 13, 26));
    EXPECT_TRUE(hasInk(image, 26, 39));
    EXPECT_FALSE(hasInk(image, 40, 51)) << "the empty line stays empty";
    EXPECT_TRUE(hasInk(image, 52, 65)) << "the fifth line is inside the label";
}

TEST(CompactLabel, WrapsALongLineOntoTheNextRow) {
    widgets::CompactLabel label(QStringLiteral("密码错误！请重新输入。密码错误！请重新输入。"));
    label.setFont(widgets::formFont(13));
    label.resize(170, 26);
    const QImage image = label.grab().toImage();
    EXPECT_TRUE(hasInk(image, 14, 26));
}

}  // namespace
