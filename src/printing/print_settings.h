#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringView>
#include <optional>

#include "common/office_names.h"
#include "platform/page_painter.h"

namespace printing {

// How far a desk may move the printer's page either way, in tenths of a millimetre.
inline constexpr int kOffsetLimit = 200;
// How far the form picture's area may reach, in tenths of a millimetre (a metre).
inline constexpr int kFormAreaLimit = 10000;

// What a desk sets for its printouts. Lengths are in tenths of a millimetre.
struct PrintSettings {
    QString printerName;                 // empty: the system's default printer
    QPoint offset;                       // added to every item sent to that printer
    QString formPicture;                 // the blank form's picture file; empty: none
    QRect formArea = platform::kA4Page;  // where that picture sits on the page
    common::OfficeNames office;          // printed on the receipts and the reports
    bool operator==(const PrintSettings&) const = default;
};

enum class Axis { Horizontal, Vertical };

// One offset as typed ("12", "-8"): a whole number within ±kOffsetLimit. Otherwise nothing, and
// the reason in the user's words in *problem.
std::optional<int> parseOffset(QStringView text, Axis axis, QString* problem);
// Both offsets as "X,Y" ("12,-8"); a full-width comma does as well.
std::optional<QPoint> parseOffsets(QStringView text, QString* problem);
// Where the form picture sits, as "left,top,width,height".
std::optional<QRect> parseFormArea(QStringView text, QString* problem);

QString offsetsText(QPoint offset);
QString formAreaText(QRect area);

// One key=value line of the desk settings file.
struct SettingEntry {
    QString key;
    QString value;
    bool operator==(const SettingEntry&) const = default;
};

bool isPrintSettingKey(QStringView key);

// Takes the value of a print setting's entry into settings. False, with the reason in *problem
// and settings unchanged, when the value cannot be used.
bool applyPrintSetting(PrintSettings& settings, const SettingEntry& entry, QString* problem);

// The entries that write settings down, in the order they are written and shown.
QList<SettingEntry> printSettingEntries(const PrintSettings& settings);

}  // namespace printing
