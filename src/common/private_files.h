#pragma once

#include <QFileDevice>
#include <QString>
#include <QTemporaryFile>

namespace common {

// The program's files hold patients' names, so what it creates is its owner's alone, whatever the
// umask: files 0600, folders 0700. A file or folder that exists keeps the mode its owner gave it.
inline constexpr QFileDevice::Permissions kPrivateFile{QFileDevice::ReadOwner |
                                                       QFileDevice::WriteOwner};
inline constexpr QFileDevice::Permissions kPrivateFolder{kPrivateFile | QFileDevice::ExeOwner};

// Makes the folder and every missing folder above it, each private. False, with the reason when
// asked for, when one cannot be made or the path is no folder.
bool makePrivateFolder(const QString& path, QString* reason = nullptr);

// Makes an empty private file at path unless something is there already. False when it can be
// made neither; *created says whether this call made it.
bool createPrivateFile(const QString& path, bool* created);

// A file written whole under a temporary name beside its path and then renamed to it, so that
// the path holds either what it held or all of the new content, even after a crash. The new file
// is private, or has the mode of the file it replaces. Nothing is created through a symbolic
// link: a link to an existing file has that file replaced, a link to nothing is refused. The
// temporary file goes with the object unless committed. Not for several threads.
class FileReplacement {
public:
    explicit FileReplacement(QString path) : m_path(std::move(path)) {}

    // Makes the temporary file; false with the reason.
    bool open(QString* error);
    // Where the content goes, once open.
    QIODevice& device() { return m_file; }
    // Puts what was written in the path's place; false with the reason.
    bool commit(QString* error);

private:
    QString m_path;
    QString m_target;  // the path, or the file its symbolic link names
    QTemporaryFile m_file;
};

}  // namespace common
