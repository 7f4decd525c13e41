#include "storage/file_use_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

namespace storage {

FileUseLock::~FileUseLock() {
    release();
}

QString FileUseLock::lockFilePath(const QString& databasePath) {
    return databasePath + QStringLiteral(".lock");
}

FileUseLock::Outcome FileUseLock::take(const QString& databasePath, Mode mode, QString* reason) {
    release();
    const QByteArray path = QFile::encodeName(lockFilePath(databasePath));
    // The lock file holds nothing but the lock; one that may only be read still takes it.
    int descriptor = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        descriptor = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    }
    if (descriptor < 0) {
        *reason = QStringLiteral("无法建立锁文件“%1”：%2")
                      .arg(QDir::toNativeSeparators(lockFilePath(databasePath)),
                           QString::fromLocal8Bit(std::strerror(errno)));
        return Outcome::Unavailable;
    }
    int result = 0;
    do {
        result = ::flock(descriptor, (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        ::close(descriptor);
        if (error == EWOULDBLOCK) {
            return Outcome::HeldOtherwise;
        }
        *reason = QStringLiteral("无法锁定“%1”：%2")
                      .arg(QDir::toNativeSeparators(lockFilePath(databasePath)),
                           QString::fromLocal8Bit(std::strerror(error)));
        return Outcome::Unavailable;
    }
    m_descriptor = descriptor;
    return Outcome::Taken;
}

void FileUseLock::release() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
        m_descriptor = -1;
    }
}

}  // namespace storage
