#pragma once

#include <QDateTime>

#include "platform/clock.h"

// A clock that shows whatever the test sets.
class FixedClock final : public platform::Clock {
public:
    explicit FixedClock(QDateTime now) : m_now(std::move(now)) {}
    QDateTime now() const override { return m_now; }
    void set(QDateTime now) { m_now = std::move(now); }

private:
    QDateTime m_now;
};
