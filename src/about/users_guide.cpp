#include "about/users_guide.h"

#include <QDir>
#include <QFileInfo>

namespace about {

namespace {

const QString kGuideFileName = QStringLiteral("使用说明.htm");

}  // namespace

QStringList usersGuideCandidates(const QString& programFolder) {
    const QDir program(programFolder);
    // The installation's data folder, relative to where it puts the program, so that the same
    // build finds its guide under any installation prefix.
    const QDir installedData(program.filePath(QStringLiteral(USERS_GUIDE_FOLDER_FROM_PROGRAM)));
    return {QDir::cleanPath(program.filePath(kGuideFileName)),
            QDir::cleanPath(installedData.filePath(kGuideFileName))};
}

QString findUsersGuide(const QString& programFolder) {
    for (const QString& candidate : usersGuideCandidates(programFolder)) {
        if (QFileInfo(candidate).isFile()) {
            return candidate;
        }
    }
    return {};
}

QString usersGuideHelpLine(const QString& programFolder) {
    const QString guide = findUsersGuide(programFolder);
    if (guide.isEmpty()) {
        return QStringLiteral("使用说明：未找到（查找过 %1）")
            .arg(QDir::toNativeSeparators(
                usersGuideCandidates(programFolder).join(QStringLiteral("、"))));
    }
    return QStringLiteral("使用说明：") + QDir::toNativeSeparators(guide);
}

}  // namespace about
