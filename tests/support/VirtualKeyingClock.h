// A keying clock on virtual time: every wait jumps straight to its deadline,
// and the counting loop lasts one microsecond per thousand counts, so a whole
// message is keyed at once on an exact timeline.
#pragma once

#include "platform/KeyingClock.h"

#include <atomic>

namespace tenlog::testing {

class VirtualKeyingClock final : public platform::KeyingClock {
public:
    std::int64_t nowNs() const override { return m_now; }
    void waitUntil(std::int64_t deadlineNs, bool spinFinish) override
    {
        m_spun = m_spun || spinFinish;
        if (deadlineNs > m_now)
            m_now = deadlineNs;
    }
    void countLoop(double iterations) override { m_now += static_cast<std::int64_t>(iterations); }

    bool spun() const { return m_spun; }

private:
    std::atomic<std::int64_t> m_now {1'000'000'000};
    std::atomic<bool> m_spun {false};
};

} // namespace tenlog::testing
