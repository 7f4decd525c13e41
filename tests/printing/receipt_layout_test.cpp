#include <gtest/gtest.h>

#include <QDateTime>
#include <QHash>
#include <QStringList>
#include <vector>

#include "printing/receipt_layout.h"
#include "support/qt_printers.h"
#include "support/recording_printer.h"

namespace {

using support::RecordingPrinter;
using Placed = RecordingPrinter::PlacedText;

// A stored receipt with a distinct value in every field, so that any value at a wrong place shows.
struct Receipt {
    QHash<QString, QVariant> fields;

    Receipt() {
        fields[u"住院号"_qs] = u" 2008 0315 "_qs;
        fields[u"姓名"_qs] = u"欧阳 明"_qs;
        fields[u"入院日期"_qs] = QDateTime(QDate(2008, 3, 5), QTime(0, 0));
        fields[u"出院日期"_qs] = QDateTime(QDate(2008, 3, 9), QTime(0, 0));
        const QStringList fees{u"床位费"_qs,   u"诊金"_qs,       u"治疗费"_qs,   u"护理费"_qs,
                               u"检查费"_qs,   u"CT"_qs,         u"MRI"_qs,      u"手术费"_qs,
                               u"化验费"_qs,   u"西药费"_qs,     u"中成药费"_qs, u"中草药费"_qs,
                               u"其它"_qs,     u"麻醉"_qs,       u"材料"_qs,     u"陪住"_qs,
                               u"自费药品"_qs, u"特需服务费"_qs, u"杂费"_qs};
        for (int i = 0; i < fees.size(); ++i) {
            setFloat(fees[i], static_cast<float>(i + 1) + 0.1f);
        }
        fields[u"合计"_qs] = 1234.56;
        setFloat(u"预交"_qs, 2000.0f);
        fields[u"补收"_qs] = 0.0;
        setFloat(u"退款"_qs, 765.44f);
        setFloat(u"欠费"_qs, 0.0f);
        fields[u"收费员"_qs] = u"491MX"_qs;
    }

    // Single-precision fields come back from the store as the widened float.
    void setFloat(const QString& name, float value) { fields[name] = static_cast<double>(value); }

    printing::FieldReader reader() const {
        return [this](const QString& name) {
            EXPECT_TRUE(fields.contains(name)) << "no receipt field " << name.toStdString();
            return fields.value(name);
        };
    }

    std::vector<Placed> print() const {
        RecordingPrinter printer;
        printing::placeReceipt(printer, reader());
        return printer.placedTexts();
    }
};

QStringList textsOfRow(const std::vector<Placed>& placed, int y) {
    QStringList texts;
    for (const Placed& item : placed) {
        if (item.y == y) {
            texts << item.text;
        }
    }
    return texts;
}

QString stayLineOf(const Receipt& receipt) {
    const auto placed = receipt.print();
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
    EXPECT_EQ(Receipt().print(), expected);
}

TEST(ReceiptLayout, PrintsTheTotalAndItsBoxes) {
    Receipt receipt;
    receipt.fields[u"合计"_qs] = 120.50;
    EXPECT_EQ(textsOfRow(receipt.print(), 423),
              (QStringList{u"120.5"_qs, u"零"_qs, u"零"_qs, u"零"_qs, u"壹"_qs, u"贰"_qs, u"零"_qs,
                           u"伍"_qs, u"零"_qs}));

    receipt.fields[u"合计"_qs] = 999999.99;
    EXPECT_EQ(textsOfRow(receipt.print(), 423),
              (QStringList{u"999999.99"_qs, u"玖"_qs, u"玖"_qs, u"玖"_qs, u"玖"_qs, u"玖"_qs,
                           u"玖"_qs, u"玖"_qs, u"玖"_qs}));

    // 0.29 is stored just below 0.29; the boxes still carry its own digits.
    receipt.fields[u"合计"_qs] = 0.29;
    EXPECT_EQ(textsOfRow(receipt.print(), 423).mid(7), (QStringList{u"贰"_qs, u"玖"_qs}));
}

TEST(ReceiptLayout, PrintsTheDepositAndItsBoxes) {
    Receipt receipt;
    receipt.setFloat(u"预交"_qs, 0.0f);
    EXPECT_EQ(textsOfRow(receipt.print(), 480),
              (QStringList{u"0"_qs, u"零"_qs, u"零"_qs, u"零"_qs, u"零"_qs, u"零"_qs, u"零"_qs,
                           u"零"_qs, u"零"_qs}));

    receipt.setFloat(u"预交"_qs, 0.7f);
    EXPECT_EQ(textsOfRow(receipt.print(), 480).mid(6), (QStringList{u"零"_qs, u"柒"_qs, u"零"_qs}));
}

TEST(ReceiptLayout, WritesTheStayLineInItsSameDayAndCountedForms) {
    Receipt receipt;
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

TEST(ReceiptLayout, PrintsStoredTextsWithTheirSpaces) {
    Receipt receipt;
    receipt.fields[u"住院号"_qs] = u"123 "_qs;
    receipt.fields[u"姓名"_qs] = u" 李 四 "_qs;
    receipt.fields[u"收费员"_qs] = u"王 五"_qs;
    const auto placed = receipt.print();
    EXPECT_EQ(placed.at(0), (Placed{375, 10, u"123 "_qs}));
    EXPECT_EQ(placed.at(2), (Placed{375, 70, u" 李 四 "_qs}));
    EXPECT_EQ(placed.at(48), (Placed{1405, 610, u"王 五"_qs}));
}

}  // namespace
