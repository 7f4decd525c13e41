#include "common/private_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace common {

bool makePrivateFolder(const QString& path) {
    // The missing folders, the innermost first.
    QStringList missing;
    for (QFileInfo folder(QDir::cleanPath(QFileInfo(path).absoluteFilePath())); !folder.exists();
         folder = QFileInfo(folder.absolutePath())) {
        if (folder.isRoot()) {
            return false;
        }
        missing.prepend(folder.absoluteFilePath());
    }
    for (const QString& folder : missing) {
        // Another desk or program may make the same folder meanwhile.
        if (!QDir().mkdir(folder, kPrivateFolder) && !QFileInfo(folder).isDir()) {
            return false;
        }
    }
    return QFileInfo(path).isDir();
}

bool createPrivateFile(const QString& path, bool* created) {
    QFile file(path);
    *created = file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kPrivateFile);
    return *created || QFileInfo::exists(path);
}

}  // namespace common
