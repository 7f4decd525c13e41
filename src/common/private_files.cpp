#include "common/private_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace common {

bool makePrivateFolder(const QString& path, QString* reason) {
    const auto fail = [reason](const QString& text, const QString& folder) {
        if (reason != nullptr) {
            *reason = text.arg(QDir::toNativeSeparators(folder));
        }
        return false;
    };
    // The missing folders, the innermost first.
    QStringList missing;
    for (QFileInfo folder(QDir::cleanPath(QFileInfo(path).absoluteFilePath())); !folder.exists();
         folder = QFileInfo(folder.absolutePath())) {
        if (folder.isRoot()) {
            return fail(QStringLiteral("无法建立文件夹“%1”"), folder.absoluteFilePath());
        }
        missing.prepend(folder.absoluteFilePath());
    }
    for (const QString& folder : missing) {
        // Another desk or program may make the same folder meanwhile.
        if (!QDir().mkdir(folder, kPrivateFolder) && !QFileInfo(folder).isDir()) {
            return fail(QStringLiteral("无法建立文件夹“%1”"), folder);
        }
    }
    if (!QFileInfo(path).isDir()) {
        return fail(QStringLiteral("“%1”不是文件夹"), path);
    }
    return true;
}

bool createPrivateFile(const QString& path, bool* created) {
    QFile file(path);
    *created = file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kPrivateFile);
    return *created || QFileInfo::exists(path);
}

}  // namespace common
