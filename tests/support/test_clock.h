#pragma once

#include <QDateTime>

#include "platform/clock.h"

// A clock that shows whatever time the test sets.
class TestClock final : public platform::Clock {
public:
    explicit TestClock(QDateTime start) : m_now(std::move(start)) {}
    QDateTime now() const override { return m_now; }
    void set(QDateTime now) { m_now = std::move(now); }

private:
    QDateTime m_now;
};
