// A clock the test sets and moves by hand.
#pragma once

#include "platform/Clock.h"

namespace tenlog::testing {

class SettableClock final : public platform::Clock {
public:
    explicit SettableClock(QDateTime local = QDateTime(QDate(2013, 12, 14), QTime(12, 0)),
                           int utcOffsetSeconds = 5 * 3600)
        : m_local(std::move(local)), m_offset(utcOffsetSeconds) {}

    QDateTime localNow() const override { return m_local; }
    QDateTime utcNow() const override
    {
        const QDateTime shifted = m_local.addSecs(m_offset);
        return QDateTime(shifted.date(), shifted.time(), Qt::UTC);
    }
    qint64 monotonicMs() const override { return m_monotonic; }

    void setLocal(const QDateTime& local) { m_local = local; }
    void setUtcOffsetSeconds(int seconds) { m_offset = seconds; }
    void advanceMs(qint64 ms)
    {
        m_monotonic += ms;
        m_local = m_local.addMSecs(ms);
    }

private:
    QDateTime m_local;
    int m_offset;
    qint64 m_monotonic = 0;
};

} // namespace tenlog::testing
