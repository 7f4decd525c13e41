#pragma once

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>

namespace support {

// A Unix socket that takes connections into its queue but never answers, like a hung server.
class SilentServer {
public:
    SilentServer() : m_socket(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = m_folder.filePath(QStringLiteral(".s.PGSQL.5432")).toLocal8Bit();
        if (path.size() >= qsizetype(sizeof address.sun_path)) {
            return;
        }
        std::copy(path.begin(), path.end(), address.sun_path);
        m_listening =
            ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::listen(m_socket, 4) == 0;
    }
    ~SilentServer() { ::close(m_socket); }
    bool isListening() const { return m_listening; }
    QString folder() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
    int m_socket;
    bool m_listening = false;
};

}  // namespace support
