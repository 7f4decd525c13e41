#include <gtest/gtest.h>

#include <QStringList>
#include <vector>

#include "printing/receipt_layout.h"
#include "printing/receipt_page.h"
#include "printing/sample_receipt.h"
#include "support/qt_printers.h"
#include "support/recording_printer.h"

namespace {

using support::RecordingPrinter;
using Placed = RecordingPrinter::PlacedText;

std::vector<Placed> placedTexts(const printing::SampleReceipt& receipt) {
    RecordingPrinter printer;
    printing::placeReceipt(printer, receipt.reader(), {});
    return printer.placedTexts();
}

QStringList textsOfRow(const std::vector<Placed>& placed, int y) {
    QStringList texts;
    for (const Placed& item : placed) {
        if (item.y == y) {
            texts << item.text;
        }
    }
    return texts;
}

QString stayLineOf(const printing::SampleReceipt& receipt) {
    const auto placed = placedTexts(receipt);
    return placed.at(3).text;
}

TEST(ReceiptLayout, PlacesTheFortyNineItemsOfAReceiptInOrder) {
    const std::vector<Placed> expected{
        {375, 10, u" 2008 0315 "_qs}, {885, 10, u"手外科"_qs},
        {375, 70, u"欧阳 明"_qs},     {1125, 70, u"2008-3-5 至 2008-3-9 共计4天"_qs},
        {375, 190, u"1.1"_qs},        {375, 247, u"2.1"_qs},
        {375, 305, u"3.1"_qs},        {375, 365, u"4.1"_qs},
        {675, 190, u"5.1"_qs},        {675, 247, u"6.1"_qs},
        {675, 305, u"7.1"_qs},        {675, 365, u"8.1"_qs},
        {975, 190, u"9.1"_qs},        {975, 247, u"10.1"_qs},
        {975, 305, u"11.1"_qs},       {975, 365, u"12.1"_qs},
        {1275, 190, u"13.1"_qs},      {1155, 247, u"麻醉"_qs},
        {1275, 247, u"14.1"_qs},      {1155, 305, u"材料"_qs},
        {1275, 305, u"15.1"_qs},      {1155, 365, u"陪住"_qs},
        {1275, 365, u"16.1"_qs},      {1555, 190, u"17.1"_qs},
        {1555, 247, u"18.1"_qs},      {1555, 305, u"19.1"_qs},
        {1475, 423, u"1234.56"_qs},   {405, 423, u"零"_qs},
        {525, 423, u"零"_qs},         {645, 423, u"壹"_qs},
        {765, 423, u"贰"_qs},         {885, 423, u"叁"_qs},
        {1015, 423, u"肆"_qs},        {1135, 423, u"伍"_qs},
        {1255, 423, u"陆"_qs},        {1475, 480, u"2000"_qs},
        {405, 480, u"零"_qs},         {525, 480, u"零"_qs},
        {645, 480, u"贰"_qs},         {765, 480, u"零"_qs},
        {885, 480, u"零"_qs},         {1015, 480, u"零"_qs},
        {1135, 480, u"零"_qs},        {1255, 480, u"零"_qs},
        {395, 540, u"0"_qs},          {855, 540, u"765.44"_qs},
        {1305, 540, u"0"_qs},         {415, 610, u"青石市明泽医院"_qs},
        {1405, 610, u"491MX"_qs},
    };
    ASSERT_EQ(expected.size(), 49u);
    EXPECT_EQ(placedTexts(printing::SampleReceipt()), expected);
}

TEST(ReceiptLayout, PrintsTheTotalAndItsBoxes) {
    printing::SampleReceipt receipt;
    receipt.setAmount(u"合计"_qs, common::yuan(120.5));
    EXPECT_EQ(textsOfRow(placedTexts(receipt), 423),
              (QStringList{u"120.5"_qs, u"零"_qs, u"零"_qs, u"零"_qs, u"壹"_qs, u"贰"_qs, u"零"_qs,
                           u"伍"_qs, u"零"_qs}));

    receipt.setAmount(u"合计"_qs, common::yuan(999999.99));
    EXPECT_EQ(textsOfRow(placedTexts(receipt), 423),
              (QStringList{u"999999.99"_qs, u"玖"_qs, u"玖"_qs, u"玖"_qs, u"玖"_qs, u"玖"_qs,
                           u"玖"_qs, u"玖"_qs, u"玖"_qs}));
}

TEST(ReceiptLayout, PrintsTheDepositAndItsBoxes) {
    printing::SampleReceipt receipt;
    receipt.setAmount(u"预交"_qs, common::Money());
    EXPECT_EQ(textsOfRow(placedTexts(receipt), 480),
              (QStringList{u"0"_qs, u"零"_qs, u"零"_qs, u"零"_qs, u"零"_qs, u"零"_qs, u"零"_qs,
                           u"零"_qs, u"零"_qs}));

    receipt.setAmount(u"预交"_qs, common::yuan(0.7));
    EXPECT_EQ(textsOfRow(placedTexts(receipt), 480).mid(6),
              (QStringList{u"零"_qs, u"柒"_qs, u"零"_qs}));
}

TEST(ReceiptLayout, WritesTheStayLineInItsSameDayAndCountedForms) {
    printing::SampleReceipt receipt;
    const auto stay = [&](QDateTime admission, QDateTime discharge) {
        receipt.fields[u"入院日期"_qs] = admission;
        receipt.fields[u"出院日期"_qs] = discharge;
        return stayLineOf(receipt);
    };
    const auto day = [](int year, int month, int dayOfMonth) {
        return QDateTime(QDate(year, month, dayOfMonth), QTime(0, 0));
    };

    EXPECT_EQ(stay(day(2008, 3, 5), day(2008, 3, 5)), u"2008-3-5 至 2008-3-5 共计1天"_qs);
    EXPECT_EQ(stay(day(2008, 3, 5), day(2008, 3, 6)), u"2008-3-5 至 2008-3-6 共计1天"_qs);
    EXPECT_EQ(stay(day(2007, 12, 28), day(2008, 1, 2)), u"2007-12-28 至 2008-1-2 共计5天"_qs);
    EXPECT_EQ(stay(day(2008, 2, 1), day(2008, 11, 30)), u"2008-2-1 至 2008-11-30 共计303天"_qs);
}

TEST(ReceiptLayout, PrintsTheDesksDepartmentAndHospital) {
    RecordingPrinter printer;
    printing::placeReceipt(printer, printing::SampleReceipt().reader(),
                           {QStringLiteral("江北县人民医院"), QStringLiteral("骨科")});
    const auto placed = printer.placedTexts();
    EXPECT_EQ(placed.at(1), (Placed{885, 10, u"骨科"_qs}));
    EXPECT_EQ(placed.at(47), (Placed{415, 610, u"江北县人民医院"_qs}));
}

// A view on screen shows the page as printed, or with the captions of a copy without the form.
TEST(ReceiptLayout, APageOnScreenCarriesTheCaptionsOnlyWhenAsked) {
    const printing::SampleReceipt receipt;
    const auto texts = [&](bool withCaptions) {
        QStringList all;
        for (const auto& placed : printing::receiptPage(receipt.reader(), {}, withCaptions).texts) {
            all << placed.text;
        }
        return all;
    };
    const QStringList printed = texts(false);
    const QStringList captioned = texts(true);
    EXPECT_EQ(printed.size(), 49);
    EXPECT_EQ(captioned.mid(0, 49), printed);
    EXPECT_TRUE(captioned.contains(u"手术费"_qs));
    EXPECT_TRUE(captioned.contains(u"欠费"_qs));
    EXPECT_FALSE(printed.contains(u"欠费"_qs));
}

TEST(ReceiptLayout, PrintsStoredTextsWithTheirSpaces) {
    printing::SampleReceipt receipt;
    receipt.fields[u"住院号"_qs] = u"123 "_qs;
    receipt.fields[u"姓名"_qs] = u" 李 四 "_qs;
    receipt.fields[u"收费员"_qs] = u"王 五"_qs;
    const auto placed = placedTexts(receipt);
    EXPECT_EQ(placed.at(0), (Placed{375, 10, u"123 "_qs}));
    EXPECT_EQ(placed.at(2), (Placed{375, 70, u" 李 四 "_qs}));
    EXPECT_EQ(placed.at(48), (Placed{1405, 610, u"王 五"_qs}));
}

}  // namespace
