// The time base of the keying thread: a monotonic clock in nanoseconds and
// the three ways of waiting the operator can choose between. Tests pass a
// virtual clock that jumps to each deadline, so a whole message is "sent" at
// once and its timeline can be checked exactly.
#pragma once

#include <cstdint>

namespace tenlog::platform {

class KeyingClock {
public:
    virtual ~KeyingClock() = default;

    virtual std::int64_t nowNs() const = 0;
    // Sleeps until the absolute monotonic time deadlineNs. With spinFinish the
    // last stretch is spent reading the clock instead of sleeping, which
    // absorbs the scheduler's wake-up delay.
    virtual void waitUntil(std::int64_t deadlineNs, bool spinFinish) = 0;
    // Counts a double from 0 up by 1 until it reaches iterations: the
    // calibrated busy loop.
    virtual void countLoop(double iterations) = 0;
};

// The real clock: CLOCK_MONOTONIC and clock_nanosleep with TIMER_ABSTIME.
class MonotonicKeyingClock final : public KeyingClock {
public:
    std::int64_t nowNs() const override;
    void waitUntil(std::int64_t deadlineNs, bool spinFinish) override;
    void countLoop(double iterations) override;

    // How long before a deadline the spin takes over from the sleep.
    static constexpr std::int64_t spinMarginNs = 200'000;
};

} // namespace tenlog::platform
