#include "printing/print_settings.h"

#include <QRegularExpression>
#include <QStringList>

#include "printing/office_name.h"

namespace printing {

namespace {

const QString kPrinterKey = QStringLiteral("printer");
const QString kOffsetKey = QStringLiteral("offset");
const QString kFormKey = QStringLiteral("form");
const QString kFormAreaKey = QStringLiteral("form-area");
const QString kHospitalKey = QStringLiteral("hospital");
const QString kDepartmentKey = QStringLiteral("department");

const QString kUnit = QStringLiteral("（单位 0.1 毫米）");

// Whole numbers separated by commas, ASCII or full-width, spaces allowed around them.
std::optional<QList<int>> wholeNumbers(QStringView text, qsizetype count) {
    static const QRegularExpression separator(QStringLiteral("[,，]"));
    const QStringList parts = text.toString().split(separator);
    if (parts.size() != count) {
        return std::nullopt;
    }
    QList<int> numbers;
    for (const QString& part : parts) {
        bool ok = false;
        const int number = part.trimmed().toInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
        numbers << number;
    }
    return numbers;
}

QString axisName(Axis axis) {
    return axis == Axis::Horizontal ? QStringLiteral("水平偏移") : QStringLiteral("垂直偏移");
}

bool offsetInRange(int offset, Axis axis, QString* problem) {
    if (offset >= -kOffsetLimit && offset <= kOffsetLimit) {
        return true;
    }
    *problem = QStringLiteral("%1 %2 超出范围：应在 %3 到 %4 之间")
                   .arg(axisName(axis))
                   .arg(offset)
                   .arg(-kOffsetLimit)
                   .arg(kOffsetLimit) +
               kUnit + u'。';
    return false;
}

}  // namespace

std::optional<int> parseOffset(QStringView text, Axis axis, QString* problem) {
    const auto number = wholeNumbers(text, 1);
    if (!number) {
        *problem = QStringLiteral("%1“%2”不是整数").arg(axisName(axis), text) + kUnit + u'。';
        return std::nullopt;
    }
    if (!offsetInRange(number->at(0), axis, problem)) {
        return std::nullopt;
    }
    return number->at(0);
}

std::optional<QPoint> parseOffsets(QStringView text, QString* problem) {
    const auto numbers = wholeNumbers(text, 2);
    if (!numbers) {
        *problem = QStringLiteral("偏移“%1”应为两个整数“水平,垂直”").arg(text) + kUnit +
                   QStringLiteral("，例如 12,-8。");
        return std::nullopt;
    }
    if (!offsetInRange(numbers->at(0), Axis::Horizontal, problem) ||
        !offsetInRange(numbers->at(1), Axis::Vertical, problem)) {
        return std::nullopt;
    }
    return QPoint(numbers->at(0), numbers->at(1));
}

std::optional<QRect> parseFormArea(QStringView text, QString* problem) {
    const auto numbers = wholeNumbers(text, 4);
    const auto within = [](int value, int lowest) {
        return value >= lowest && value <= kFormAreaLimit;
    };
    if (!numbers || !within(numbers->at(0), -kFormAreaLimit) ||
        !within(numbers->at(1), -kFormAreaLimit) || !within(numbers->at(2), 1) ||
        !within(numbers->at(3), 1)) {
        *problem =
            QStringLiteral("票据图片位置“%1”应为四个整数“左,上,宽,高”").arg(text) + kUnit +
            QStringLiteral("，宽和高大于 0，都不超过 %1，例如 0,0,2100,2970。").arg(kFormAreaLimit);
        return std::nullopt;
    }
    return QRect(numbers->at(0), numbers->at(1), numbers->at(2), numbers->at(3));
}

QString offsetsText(QPoint offset) {
    return QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y());
}

QString formAreaText(QRect area) {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(area.x())
        .arg(area.y())
        .arg(area.width())
        .arg(area.height());
}

bool isPrintSettingKey(QStringView key) {
    return key == kPrinterKey || key == kOffsetKey || key == kFormKey || key == kFormAreaKey ||
           key == kHospitalKey || key == kDepartmentKey;
}

bool applyPrintSetting(PrintSettings& settings, const SettingEntry& entry, QString* problem) {
    if (entry.key == kPrinterKey) {
        settings.printerName = entry.value;
    } else if (entry.key == kFormKey) {
        settings.formPicture = entry.value;
    } else if (entry.key == kOffsetKey) {
        const auto offset = parseOffsets(entry.value, problem);
        if (!offset) {
            return false;
        }
        settings.offset = *offset;
    } else if (entry.key == kFormAreaKey) {
        const auto area = parseFormArea(entry.value, problem);
        if (!area) {
            return false;
        }
        settings.formArea = *area;
    } else if (entry.key == kHospitalKey || entry.key == kDepartmentKey) {
        const bool hospital = entry.key == kHospitalKey;
        const auto name = parseOfficeName(
            entry.value, hospital ? OfficeName::Hospital : OfficeName::Department, problem);
        if (!name) {
            return false;
        }
        (hospital ? settings.office.hospital : settings.office.department) = *name;
    } else {
        *problem = QStringLiteral("“%1”不是打印设置。").arg(entry.key);
        return false;
    }
    return true;
}

QList<SettingEntry> printSettingEntries(const PrintSettings& settings) {
    return {
        {kPrinterKey, settings.printerName},      {kOffsetKey, offsetsText(settings.offset)},
        {kFormKey, settings.formPicture},         {kFormAreaKey, formAreaText(settings.formArea)},
        {kHospitalKey, settings.office.hospital}, {kDepartmentKey, settings.office.department}};
}

}  // namespace printing
