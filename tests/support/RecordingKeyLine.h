// A key line that records every change with its time on a keying clock, and
// can be told to fail from a given change on (a device that goes away).
#pragma once

#include "platform/KeyLine.h"
#include "platform/KeyingClock.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace tenlog::testing {

class RecordingKeyLine final : public platform::KeyLine {
public:
    struct Change {
        bool down;
        std::int64_t atNs;
    };

    explicit RecordingKeyLine(const platform::KeyingClock& clock) : m_clock(clock) {}

    bool setKeyDown(bool down) override
    {
        std::unique_lock lock(m_lock);
        ++m_calls;
        if (m_onSet) {
            const auto hook = m_onSet;
            const int call = m_calls;
            lock.unlock();
            hook(call); // on the keying thread, as an operator's key would land
            lock.lock();
        }
        m_down = down;
        if (m_failAfter >= 0 && m_calls > m_failAfter)
            return false;
        if (m_changes.empty() ? down : m_changes.back().down != down)
            m_changes.push_back({down, m_clock.nowNs()});
        return true;
    }
    QString errorString() const override { return QStringLiteral("the test line broke"); }

    // Every set call after the first calls ones fails.
    void failAfter(int calls)
    {
        std::lock_guard lock(m_lock);
        m_failAfter = calls;
    }
    // Runs on the keying thread at every set call, numbered from 1.
    void onSet(std::function<void(int call)> hook)
    {
        std::lock_guard lock(m_lock);
        m_onSet = std::move(hook);
    }
    std::vector<Change> changes() const
    {
        std::lock_guard lock(m_lock);
        return m_changes;
    }
    // Whether the last call asked for key down, failed or not.
    bool isDown() const
    {
        std::lock_guard lock(m_lock);
        return m_down;
    }
    int calls() const
    {
        std::lock_guard lock(m_lock);
        return m_calls;
    }

private:
    const platform::KeyingClock& m_clock;
    mutable std::mutex m_lock;
    std::vector<Change> m_changes;
    bool m_down = false;
    int m_calls = 0;
    int m_failAfter = -1;
    std::function<void(int)> m_onSet;
};

} // namespace tenlog::testing
