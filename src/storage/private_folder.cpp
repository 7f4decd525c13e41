#include "storage/private_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace storage {

bool makePrivateFolder(const QString& path, QString* reason) {
    QStringList missing;
    for (QFileInfo folder(QDir::cleanPath(QFileInfo(path).absoluteFilePath())); !folder.exists();
         folder = QFileInfo(folder.absolutePath())) {
        missing.prepend(folder.absoluteFilePath());
        if (folder.isRoot()) {
            break;
        }
    }
    for (const QString& folder : missing) {
        if (!QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
            *reason = QStringLiteral("无法建立文件夹“%1”").arg(QDir::toNativeSeparators(folder));
            return false;
        }
    }
    if (!QFileInfo(path).isDir()) {
        *reason = QStringLiteral("“%1”不是文件夹").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

}  // namespace storage
