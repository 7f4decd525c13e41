#pragma once

#include <QByteArray>
#include <QList>
#include <utility>

namespace support {

// Environment variables set for the life of the object, then put back as they were.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment() {
        for (auto entry = m_before.crbegin(); entry != m_before.crend(); ++entry) {
            if (entry->second.isNull()) {
                qunsetenv(entry->first.constData());
            } else {
                qputenv(entry->first.constData(), entry->second);
            }
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void set(const QByteArray& name, const QByteArray& value) {
        m_before.append({name, qgetenv(name.constData())});
        qputenv(name.constData(), value);
    }

private:
    QList<std::pair<QByteArray, QByteArray>> m_before;
};

}  // namespace support
