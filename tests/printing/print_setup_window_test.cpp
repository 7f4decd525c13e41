#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "printing/page_preview.h"
#include "printing/preview_receipt.h"
#include "printing/print_setup_window.h"
#include "support/modal_driver.h"
#include "support/qt_printers.h"
#include "support/scripted_message_boxes.h"
#include "support/widget_driver.h"

namespace {

using printing::PrintSettings;

class PrintSetupWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QImage picture(60, 80, QImage::Format_RGB32);
        picture.fill(Qt::yellow);
        ASSERT_TRUE(picture.save(path(u"form.png")));
        ASSERT_TRUE(picture.save(path(u"other.jpg")));
        QFile text(path(u"notes.png"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("no picture");
    }

    void open(const PrintSettings& settings) {
        window = std::make_unique<printing::PrintSetupWindow>(
            printing::PrintSetupServices{
                messageBoxes,
                {QStringLiteral("前台")},
                [this](const PrintSettings& saving, QString*) {
                    saved.push_back(saving);
                    return true;
                },
                [this](const PrintSettings& printing, const QString&, QString* problem) {
                    testPages.push_back(printing);
                    *problem = QStringLiteral("没有找到打印机，测试页没有打印。");
                    return false;
                }},
            settings);
        widget_driver::showActive(*window);
    }

    QString path(const char16_t* name) const { return dir.filePath(QString::fromUtf16(name)); }
    template <typename Widget>
    Widget* control(const char* name) {
        auto* found = window->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QPoint previewOffset() { return control<printing::PagePreview>("preview")->offset(); }
    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }
    // 选择…, and in the file dialog the file's name typed and Enter.
    void chooseForm(const QString& file) {
        modal_driver::whenModalOpens([file](QWidget* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            widget_driver::typeInto(name, file);
            QTest::keyClick(name, Qt::Key_Return);
        });
        click("chooseFormButton");
    }
    QString lastMessage() const {
        return messageBoxes.shown().empty() ? QString() : messageBoxes.shown().back().text;
    }

    QTemporaryDir dir;
    ScriptedMessageBoxes messageBoxes;
    std::vector<PrintSettings> saved;
    std::vector<PrintSettings> testPages;
    std::unique_ptr<printing::PrintSetupWindow> window;
};

TEST_F(PrintSetupWindowTest, ThePreviewFollowsTheOffsetsAsTheyAreTyped) {
    PrintSettings settings;
    settings.offset = {5, 5};
    open(settings);
    auto* right = control<QLineEdit>("offsetXBox");
    auto* down = control<QLineEdit>("offsetYBox");

    widget_driver::typeInto(right, QStringLiteral("1"));
    EXPECT_EQ(previewOffset(), QPoint(1, 5));
    widget_driver::typeText(right, QStringLiteral("2"));
    EXPECT_EQ(previewOffset(), QPoint(12, 5));
    widget_driver::typeInto(down, QStringLiteral("-8"));
    EXPECT_EQ(previewOffset(), QPoint(12, -8));

    // The test page goes out with the offsets as typed, before they are saved.
    click("testPageButton");
    ASSERT_EQ(testPages.size(), 1u);
    EXPECT_EQ(testPages[0].offset, QPoint(12, -8));
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("没有找到打印机")));

    // Too far: said at once, the preview stays at the last usable value, nothing is saved.
    widget_driver::typeInto(down, QStringLiteral("-300"));
    EXPECT_EQ(previewOffset(), QPoint(12, -30));
    EXPECT_TRUE(control<QLabel>("problemLabel")->isVisible());
    EXPECT_TRUE(
        control<QLabel>("problemLabel")->text().contains(QStringLiteral("垂直偏移 -300 超出范围")));
    click("saveButton");
    EXPECT_TRUE(saved.empty());
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("请先改正")))
        << lastMessage().toStdString();
    EXPECT_TRUE(window->isVisible());

    widget_driver::typeInto(down, QStringLiteral("-8"));
    EXPECT_FALSE(control<QLabel>("problemLabel")->isVisible());
    click("saveButton");
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].offset, QPoint(12, -8));
    EXPECT_EQ(window->result(), QDialog::Accepted);
}

TEST_F(PrintSetupWindowTest, TheOfficeNamesAreTypedCheckedAndSaved) {
    open({});
    auto* hospital = control<QLineEdit>("hospitalBox");
    EXPECT_EQ(hospital->text(), QStringLiteral("青石市明泽医院"));

    widget_driver::typeInto(hospital, QStringLiteral("江北县人民医院"));
    widget_driver::typeInto(control<QLineEdit>("departmentBox"), QString(11, u'科'));
    EXPECT_TRUE(control<QLabel>("problemLabel")->text().contains(QStringLiteral("科室名称")));
    click("saveButton");
    EXPECT_TRUE(saved.empty());

    widget_driver::typeInto(control<QLineEdit>("departmentBox"), QStringLiteral("骨科"));
    click("saveButton");
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].office,
              (common::OfficeNames{QStringLiteral("江北县人民医院"), QStringLiteral("骨科")}));
}

TEST_F(PrintSetupWindowTest, APictureThatIsNoFormLeavesTheFormerOne) {
    PrintSettings settings;
    settings.formPicture = path(u"form.png");
    open(settings);
    auto* preview = control<printing::PagePreview>("preview");
    ASSERT_TRUE(preview->showsForm());

    chooseForm(path(u"notes.png"));
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("不是 PNG"))) << lastMessage().toStdString();
    EXPECT_EQ(window->settings().formPicture, path(u"form.png"));
    EXPECT_TRUE(preview->showsForm());

    chooseForm(path(u"other.jpg"));
    EXPECT_EQ(window->settings().formPicture, path(u"other.jpg"));
    EXPECT_EQ(control<QLineEdit>("formPathBox")->text(), path(u"other.jpg"));

    click("dropFormButton");
    EXPECT_EQ(window->settings().formPicture, QString());
    EXPECT_FALSE(preview->showsForm());
}

TEST_F(PrintSetupWindowTest, TheDesksPrinterIsShownUsedAndSavedEvenWhenItIsAway) {
    const std::pair<QString, QString> printers[] = {
        {QStringLiteral("前台"), QStringLiteral("前台")},
        {QStringLiteral("后台"), QStringLiteral("后台（未找到）")},
        {QString(), QStringLiteral("（系统默认打印机）")},
    };
    for (const auto& [name, shown] : printers) {
        SCOPED_TRACE(shown.toStdString());
        PrintSettings settings;
        settings.printerName = name;
        open(settings);
        EXPECT_EQ(control<QComboBox>("printerBox")->currentText(), shown);
        click("testPageButton");
        ASSERT_FALSE(testPages.empty());
        EXPECT_EQ(testPages.back().printerName, name);
        click("saveButton");
        ASSERT_FALSE(saved.empty());
        EXPECT_EQ(saved.back().printerName, name);
    }
}

TEST_F(PrintSetupWindowTest, ASavedPictureThatCannotBeReadIsShownAndKeptUntilDropped) {
    PrintSettings settings;
    settings.formPicture = path(u"moved-away.png");
    open(settings);
    EXPECT_EQ(control<QLineEdit>("formPathBox")->text(), path(u"moved-away.png"));
    const QString note = control<QLabel>("formNote")->text();
    EXPECT_TRUE(note.contains(QStringLiteral("不存在"))) << note.toStdString();
    EXPECT_TRUE(control<QLabel>("formNote")->isVisible());
    EXPECT_FALSE(control<printing::PagePreview>("preview")->showsForm());
    click("saveButton");
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved.back().formPicture, path(u"moved-away.png"));

    open(settings);
    click("dropFormButton");
    EXPECT_EQ(control<QLineEdit>("formPathBox")->text(), QString());
    EXPECT_FALSE(control<QLabel>("formNote")->isVisible());
    click("saveButton");
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved.back().formPicture, QString());
}

TEST(PreviewReceipt, ShowsTheSamplesAmountsInFiguresAndCapitals) {
    QStringList texts;
    for (const platform::PlacedText& placed : printing::previewReceipt({}).texts) {
        texts << placed.text;
    }
    for (const QString& expected :
         {QStringLiteral("1235"), QStringLiteral("2000"), QStringLiteral("765"),
          QStringLiteral("65"), QStringLiteral("壹"), QStringLiteral("贰")}) {
        EXPECT_TRUE(texts.contains(expected))
            << expected.toStdString() << " in " << texts.join(u' ').toStdString();
    }
}

}  // namespace
