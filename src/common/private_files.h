#pragma once

#include <QFileDevice>
#include <QString>

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

}  // namespace common
