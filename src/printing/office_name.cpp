#include "printing/office_name.h"

#include <algorithm>

#include "platform/page_painter.h"

namespace printing {

namespace {

// In tenths of a millimetre: the hospital's name starts at 41.5 mm and stops short of the
// cashier's at 140.5 mm; the department's blank is ten characters wide.
constexpr int kHospitalWidth = 960;
constexpr int kDepartmentWidth = 370;

bool breaksTheLine(QChar character) {
    const QChar::Category category = character.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

}  // namespace

QString officeNameCaption(OfficeName which) {
    return which == OfficeName::Hospital ? QStringLiteral("医院名称") : QStringLiteral("科室名称");
}

std::optional<QString> parseOfficeName(QStringView text, OfficeName which, QString* problem) {
    const QString name = text.trimmed().toString();
    const QString caption = officeNameCaption(which);
    if (name.isEmpty()) {
        *problem = caption + QStringLiteral("不能为空。");
        return std::nullopt;
    }
    if (!name.isValidUtf16() || std::any_of(name.cbegin(), name.cend(), breaksTheLine)) {
        *problem = caption + QStringLiteral("不能含换行、制表符等控制字符。");
        return std::nullopt;
    }
    const int width = which == OfficeName::Hospital ? kHospitalWidth : kDepartmentWidth;
    if (platform::textAdvance(name) > width) {
        *problem = QStringLiteral("%1“%2”太长：收据上最多印得下 %3 个汉字（字母、数字算半个）。")
                       .arg(caption, name)
                       .arg(width / platform::kWideCharacterAdvance);
        return std::nullopt;
    }
    return name;
}

}  // namespace printing
