#include "platform/page_font.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QStringList>

namespace platform {

namespace {

constexpr double kTextPointSize = 10.5;

// Beside the build, else in the installation's data folder relative to the program.
QStringList pageFontCandidates() {
    const QDir program(QCoreApplication::applicationDirPath());
    return {QStringLiteral(PAGE_FONT_BUILD_PATH),
            QDir::cleanPath(program.filePath(
                QStringLiteral(PAGE_FONT_FOLDER_FROM_PROGRAM "/" PAGE_FONT_FILE)))};
}

// Registers the program's copy of the typeface once; false when none was found.
bool searchableFontLoaded() {
    static const bool loaded = [] {
        for (const QString& candidate : pageFontCandidates()) {
            if (QFileInfo(candidate).isFile() &&
                QFontDatabase::addApplicationFont(candidate) >= 0) {
                return true;
            }
        }
        return false;
    }();
    return loaded;
}

}  // namespace

QFont pageFont() {
    QFont font;
    QStringList families{QStringLiteral("Noto Serif CJK SC"), QStringLiteral("宋体")};
    if (searchableFontLoaded()) {
        families.prepend(QStringLiteral(PAGE_FONT_FAMILY));
    }
    font.setFamilies(families);
    font.setPointSizeF(kTextPointSize);
    // Shaped, digits beside Latin letters get glyphs that the PDF's text layer cannot map back
    // ("491MX" reads back as "MX"); plain glyphs keep the copy searchable.
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

}  // namespace platform
