#include "common/private_files.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>

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

namespace {

QString failure(const QString& path, const QString& reason) {
    return QStringLiteral("无法写入“%1”：%2").arg(QDir::toNativeSeparators(path), reason);
}

}  // namespace

bool FileReplacement::open(QString* error) {
    const QFileInfo path(m_path);
    m_target = path.isSymLink() ? path.canonicalFilePath() : path.absoluteFilePath();
    if (m_target.isEmpty()) {
        *error = failure(m_path,
                         QStringLiteral("它是指向不存在的文件的符号链接，程序不会通过它新建文件"));
        return false;
    }
    const QFileInfo target(m_target);
    // QTemporaryFile makes a new file, private, and never through a symbolic link.
    m_file.setFileTemplate(
        target.absoluteDir().filePath(u'.' + target.fileName() + QStringLiteral(".XXXXXX")));
    if (!m_file.open() || (target.isFile() && !m_file.setPermissions(target.permissions()))) {
        *error = failure(m_path, m_file.errorString());
        return false;
    }
    return true;
}

bool FileReplacement::commit(QString* error) {
    if (!m_file.flush()) {
        *error = failure(m_path, m_file.errorString());
        return false;
    }
    if (::fsync(m_file.handle()) != 0 ||
        std::rename(QFile::encodeName(m_file.fileName()).constData(),
                    QFile::encodeName(m_target).constData()) != 0) {
        *error = failure(m_path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_file.setAutoRemove(false);
    return true;
}

}  // namespace common
