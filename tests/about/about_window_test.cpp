#include "about/about_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "support/fixed_clock.h"
#include "support/qt_printers.h"

namespace {

const QDateTime kOpened(QDate(2024, 3, 5), QTime(8, 30, 15));

QLabel* label(const QWidget& window, const char* name) {
    return window.findChild<QLabel*>(QString::fromUtf8(name));
}

TEST(AboutWindow, ShowsTitleLogoAndLinksWhereTheyBelong) {
    FixedClock clock(kOpened);
    about::AboutWindow window(clock, {});

    EXPECT_EQ(window.windowTitle(), QStringLiteral("关于491MX"));
    EXPECT_EQ(window.size(), QSize(229, 249));
    EXPECT_EQ(window.pos(), QPoint(50, 50));

    QLabel* title = label(window, "标签1");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("491MX医院（住院）计费系统"));
    EXPECT_EQ(title->geometry(), QRect(0, 0, 230, 30));
    EXPECT_TRUE(title->font().bold());
    EXPECT_EQ(title->font().pixelSize(), 16);

    QLabel* logo = label(window, "图片框1");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->pixmap().size(), QSize(163, 44));

    const QString guideTarget =
        QUrl::fromLocalFile(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("使用说明.htm")))
            .toString(QUrl::FullyEncoded);
    QLabel* guide = label(window, "超级链接框2");
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->text().contains(guideTarget)) << guide->text().toStdString();
    EXPECT_TRUE(guide->text().contains(QStringLiteral(">使用说明</a>")));
    EXPECT_EQ(guide->geometry(), QRect(-1, 46, 70, 20));

    QLabel* site = label(window, "超级链接框1");
    ASSERT_NE(site, nullptr);
    EXPECT_TRUE(site->text().contains(QStringLiteral(">官方网站 ")));
    EXPECT_TRUE(site->toolTip().contains(QLatin1Char('@')));

    QTimer* timer = window.findChild<QTimer*>(QStringLiteral("时钟1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 100);
}

TEST(AboutWindow, NamesTheOfficeAndTheVersion) {
    FixedClock clock(kOpened);
    about::AboutWindow window(clock, {QStringLiteral("江北县人民医院"), QStringLiteral("骨科")});
    QLabel* office = label(window, "标签4");
    QLabel* version = label(window, "标签5");
    ASSERT_NE(office, nullptr);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(office->text(), QStringLiteral("江北县人民医院　骨科"));
    EXPECT_EQ(version->text(), QStringLiteral("版本 " PRODUCT_VERSION));
    EXPECT_TRUE(window.rect().contains(version->geometry()));
}

TEST(AboutWindow, GuideIsCopiedBesideTheProgram) {
    QFile guide(
        QFileInfo(QStringLiteral(PROGRAM_PATH)).dir().filePath(QStringLiteral("使用说明.htm")));
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(guide.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("charset=\"utf-8\""), Qt::CaseInsensitive));
    EXPECT_TRUE(html.contains(QStringLiteral("统计")));
}

TEST(AboutWindow, ClockRunsWhileTheWindowIsOpen) {
    FixedClock clock(kOpened);
    about::AboutWindow window(clock, {});
    window.show();
    QLabel* clockLine = label(window, "标签3");
    ASSERT_NE(clockLine, nullptr);
    EXPECT_TRUE(clockLine->text().isEmpty());

    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return clockLine->text() == QStringLiteral("2024-03-05 08:30:15"); }, 2000));
    clock.set(kOpened.addSecs(1));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return clockLine->text() == QStringLiteral("2024-03-05 08:30:16"); }, 2000));
}

TEST(AboutWindow, OkAndTheCloseBoxBothCloseIt) {
    FixedClock clock(kOpened);
    {
        about::AboutWindow window(clock, {});
        window.show();
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("按钮1")), Qt::LeftButton);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.result(), QDialog::Accepted);
    }
    {
        about::AboutWindow window(clock, {});
        window.show();
        EXPECT_TRUE(window.close());
        EXPECT_FALSE(window.isVisible());
    }
}

}  // namespace
