#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace printing {

enum class OfficeName { Hospital, Department };

// What the user calls the name: 医院名称, 科室名称.
QString officeNameCaption(OfficeName which);

// A name as typed, without the spaces around it. Nothing, with the reason in the user's words in
// *problem, when it is empty, holds a line break or another control character, or is longer than
// its blank on the receipt: the hospital's runs up to the cashier's name, the department's holds
// ten Chinese characters.
std::optional<QString> parseOfficeName(QStringView text, OfficeName which, QString* problem);

}  // namespace printing
