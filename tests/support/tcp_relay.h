#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QUrlQuery>
#include <atomic>
#include <cstring>
#include <list>
#include <mutex>
#include <thread>

#include "support/postgres_test_server.h"

namespace support {

// A TCP port on 127.0.0.1 that passes every byte between the program and the test server's Unix
// socket, as a network between them would, until the test pulls the cable: from then on nothing
// passes either way and nothing is closed, so neither end hears of it. The relay's own thread
// does the passing; the test only flips switches.
class TcpRelay {
public:
    TcpRelay() {
        const QUrlQuery server(QUrl(postgres_test::serverUri()).query());
        m_socketPath =
            (server.queryItemValue(QStringLiteral("host")) + QStringLiteral("/.s.PGSQL.") +
             server.queryItemValue(QStringLiteral("port")))
                .toUtf8();
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            ::listen(m_listener, 16) == 0 &&
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            m_port = ntohs(address.sin_port);
        }
        m_thread = std::thread([this] { relay(); });
    }
    ~TcpRelay() {
        m_stop = true;
        m_thread.join();
        for (const Link& link : m_links) {
            ::close(link.client);
            ::close(link.server);
        }
        ::close(m_listener);
    }
    TcpRelay(const TcpRelay&) = delete;
    TcpRelay& operator=(const TcpRelay&) = delete;

    quint16 port() const { return m_port; }
    // The database on the test server that location names, reached through the relay.
    QString uriFor(const QString& location) const {
        const QUrl direct(location);
        return QStringLiteral("postgresql://127.0.0.1:%1%2?user=postgres")
            .arg(m_port)
            .arg(direct.path());
    }

    // The cable is pulled: the open connections fall silent, and new ones are taken but never
    // answered.
    void pullCable() {
        const std::lock_guard lock(m_mutex);
        m_cablePulled = true;
        for (Link& link : m_links) {
            link.silent = true;
        }
    }
    // The cable is pulled once the program next sends a message that holds marker: the message
    // itself reaches the server when it passes, else it is lost on the way.
    void pullCableWhenSent(const QByteArray& marker, bool passes) {
        const std::lock_guard lock(m_mutex);
        m_marker = marker;
        m_markerPasses = passes;
    }
    // The cable is back: new connections pass again; the silent ones stay silent.
    void plugCableBackIn() {
        const std::lock_guard lock(m_mutex);
        m_cablePulled = false;
    }

private:
    struct Link {
        int client = -1;
        int server = -1;
        bool silent = false;
    };

    void relay() {
        while (!m_stop) {
            std::vector<pollfd> watched{{m_listener, POLLIN, 0}};
            std::vector<Link*> watchedLinks;
            {
                const std::lock_guard lock(m_mutex);
                for (Link& link : m_links) {
                    if (!link.silent) {
                        watched.push_back({link.client, POLLIN, 0});
                        watched.push_back({link.server, POLLIN, 0});
                        watchedLinks.push_back(&link);
                    }
                }
            }
            if (::poll(watched.data(), watched.size(), 50) <= 0) {
                continue;
            }
            if (watched[0].revents & POLLIN) {
                accept();
            }
            for (std::size_t i = 0; i < watchedLinks.size(); ++i) {
                if (watched[1 + 2 * i].revents & (POLLIN | POLLHUP | POLLERR)) {
                    pass(*watchedLinks[i], true);
                }
                if (watched[2 + 2 * i].revents & (POLLIN | POLLHUP | POLLERR)) {
                    pass(*watchedLinks[i], false);
                }
            }
        }
    }

    void accept() {
        Link link;
        link.client = ::accept(m_listener, nullptr, nullptr);
        const std::lock_guard lock(m_mutex);
        link.silent = m_cablePulled;
        if (!link.silent) {
            link.server = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, m_socketPath.constData(), sizeof address.sun_path - 1);
            ::connect(link.server, reinterpret_cast<sockaddr*>(&address), sizeof address);
        }
        m_links.push_back(link);
    }

    // Passes what one end sent to the other; an end that closed closes the other too.
    void pass(Link& link, bool fromClient) {
        char buffer[65536];
        const ssize_t size = ::read(fromClient ? link.client : link.server, buffer, sizeof buffer);
        const std::lock_guard lock(m_mutex);
        if (link.silent) {
            return;
        }
        if (size <= 0) {
            ::shutdown(fromClient ? link.server : link.client, SHUT_WR);
            link.silent = true;
            return;
        }
        const QByteArray bytes(buffer, size);
        const bool marked = fromClient && !m_marker.isEmpty() && bytes.contains(m_marker);
        if (!marked || m_markerPasses) {
            ::send(fromClient ? link.server : link.client, buffer, size, MSG_NOSIGNAL);
        }
        if (marked) {
            m_marker.clear();
            m_cablePulled = true;
            for (Link& each : m_links) {
                each.silent = true;
            }
        }
    }

    QByteArray m_socketPath;
    int m_listener = -1;
    quint16 m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop = false;
    std::mutex m_mutex;
    std::list<Link> m_links;
    bool m_cablePulled = false;
    QByteArray m_marker;
    bool m_markerPasses = false;
};

}  // namespace support
