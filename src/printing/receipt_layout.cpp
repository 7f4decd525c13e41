#include "printing/receipt_layout.h"

#include <QDateTime>
#include <QStringView>
#include <algorithm>
#include <array>
#include <utility>

#include "common/dates.h"
#include "common/number_text.h"
#include "platform/page_painter.h"
#include "platform/printer.h"
#include "printing/capital_boxes.h"
#include "receipt/fee_category.h"

namespace printing {

namespace {

enum class Form {
    Text,          // a text field, exactly as stored
    Number,        // an amount field in number-to-text form
    Fixed,         // the content itself
    Department,    // the desk's department
    Hospital,      // the desk's hospital
    StayLine,      // admission to discharge and the day count
    CapitalBoxes,  // an amount field as eight capital figures in the form's boxes
};

struct LayoutItem {
    int x;  // of the first box for CapitalBoxes
    int y;
    Form form;
    QStringView content;  // field name, or the text of a Fixed item
};

// Positions in tenths of a millimetre on the pre-printed form, in print order.
constexpr auto kReceiptLayout = std::to_array<LayoutItem>({
    {375, 10, Form::Text, u"住院号"},         {885, 10, Form::Department, {}},
    {375, 70, Form::Text, u"姓名"},           {1125, 70, Form::StayLine, {}},
    {375, 190, Form::Number, u"床位费"},      {375, 247, Form::Number, u"诊金"},
    {375, 305, Form::Number, u"治疗费"},      {375, 365, Form::Number, u"护理费"},
    {675, 190, Form::Number, u"检查费"},      {675, 247, Form::Number, u"CT"},
    {675, 305, Form::Number, u"MRI"},         {675, 365, Form::Number, u"手术费"},
    {975, 190, Form::Number, u"化验费"},      {975, 247, Form::Number, u"西药费"},
    {975, 305, Form::Number, u"中成药费"},    {975, 365, Form::Number, u"中草药费"},
    {1275, 190, Form::Number, u"其它"},       {1155, 247, Form::Fixed, u"麻醉"},
    {1275, 247, Form::Number, u"麻醉"},       {1155, 305, Form::Fixed, u"材料"},
    {1275, 305, Form::Number, u"材料"},       {1155, 365, Form::Fixed, u"陪住"},
    {1275, 365, Form::Number, u"陪住"},       {1555, 190, Form::Number, u"自费药品"},
    {1555, 247, Form::Number, u"特需服务费"}, {1555, 305, Form::Number, u"杂费"},
    {1475, 423, Form::Number, u"合计"},       {405, 423, Form::CapitalBoxes, u"合计"},
    {1475, 480, Form::Number, u"预交"},       {405, 480, Form::CapitalBoxes, u"预交"},
    {395, 540, Form::Number, u"补收"},        {855, 540, Form::Number, u"退款"},
    {1305, 540, Form::Number, u"欠费"},       {415, 610, Form::Hospital, {}},
    {1405, 610, Form::Text, u"收费员"},
});

// Offsets of the eight boxes from the first; the units box sits 10 further right than the step.
constexpr std::array<int, kCapitalBoxCount> kBoxOffsets{0, 120, 240, 360, 480, 610, 730, 850};

// The billing window's captions of the values that are not fees.
constexpr std::pair<QStringView, QStringView> kValueCaptions[] = {
    {u"住院号", u"住院号"}, {u"姓名", u"姓　名"},   {u"合计", u"合　　计"}, {u"预交", u"预　　收"},
    {u"补收", u"补　　收"}, {u"退款", u"退　　款"}, {u"欠费", u"欠　　费"},
};
// Between a caption's end and its value.
constexpr int kCaptionGap = 15;

bool formPrintsCaptionOf(QStringView field) {
    return std::any_of(kReceiptLayout.cbegin(), kReceiptLayout.cend(),
                       [field](const LayoutItem& item) {
                           return item.form == Form::Fixed && item.content == field;
                       });
}

// The billing window's caption of a field, without the spaces that line it up there, so that a
// search of the copy finds it; empty for a field the page captions itself.
QString captionOf(QStringView field) {
    if (formPrintsCaptionOf(field)) {
        return {};
    }
    QStringView caption;
    for (const receipt::FeeCategory& category : receipt::kFeeCategories) {
        if (category.fieldName == field) {
            caption = category.screenLabel;
        }
    }
    for (const auto& [name, valueCaption] : kValueCaptions) {
        if (name == field) {
            caption = valueCaption;
        }
    }
    return caption.toString().remove(QChar(0x3000));
}

// Each caption just left of its value, for the copies that show no picture of the form.
void placeCaptions(platform::Printer& printer) {
    for (const LayoutItem& item : kReceiptLayout) {
        if (item.form != Form::Text && item.form != Form::Number) {
            continue;
        }
        const QString caption = captionOf(item.content);
        if (!caption.isEmpty()) {
            printer.placeCopyText(item.x - platform::textAdvance(caption) - kCaptionGap, item.y,
                                  caption, platform::CopyText::Caption);
        }
    }
}

QString stayLine(const FieldReader& readField) {
    const QDateTime admission = readField(QStringLiteral("入院日期")).toDateTime();
    const QDateTime discharge = readField(QStringLiteral("出院日期")).toDateTime();
    return common::yearMonthDayText(admission.date()) + QStringLiteral(" 至 ") +
           common::yearMonthDayText(discharge.date()) + QLatin1Char(' ') +
           common::stayLengthText(admission, discharge);
}

void placeItem(platform::Printer& printer, const LayoutItem& item, const FieldReader& readField,
               const common::OfficeNames& office) {
    const QString content = item.content.toString();
    switch (item.form) {
        case Form::Text:
            printer.placeText(item.x, item.y, readField(content).toString());
            break;
        case Form::Number:
            printer.placeText(item.x, item.y,
                              common::numberToText(readField(content).value<common::Money>()));
            break;
        case Form::Fixed:
            printer.placeText(item.x, item.y, content);
            break;
        case Form::Department:
            printer.placeText(item.x, item.y, office.department);
            break;
        case Form::Hospital:
            printer.placeText(item.x, item.y, office.hospital);
            break;
        case Form::StayLine:
            printer.placeText(item.x, item.y, stayLine(readField));
            break;
        case Form::CapitalBoxes: {
            const auto boxes = capitalBoxes(readField(content).value<common::Money>());
            for (int box = 0; box < kCapitalBoxCount; ++box) {
                printer.placeText(item.x + kBoxOffsets[box], item.y, boxes[box]);
            }
            break;
        }
    }
}

}  // namespace

void placeReceipt(platform::Printer& printer, const FieldReader& readField,
                  const common::OfficeNames& office) {
    for (const LayoutItem& item : kReceiptLayout) {
        placeItem(printer, item, readField, office);
    }
    placeCaptions(printer);
}

}  // namespace printing
