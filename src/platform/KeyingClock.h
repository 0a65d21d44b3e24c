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
//
// With spinFinish the spin starts a margin before the deadline. The margin
// follows how late this machine wakes from its sleeps: it grows at once to
// cover a late wake-up and shrinks slowly back, within fixed bounds, so an
// edge is late only when a wake-up is later than any seen lately. One
// thread at a time waits on a clock (the keying thread).
class MonotonicKeyingClock final : public KeyingClock {
public:
    std::int64_t nowNs() const override;
    void waitUntil(std::int64_t deadlineNs, bool spinFinish) override;
    void countLoop(double iterations) override;

    // The margin's bounds: never less than a typical wake-up, never so much
    // that the spin takes a noticeable share of a processor (2 ms of a 30 ms
    // dit at 40 WPM).
    static constexpr std::int64_t minSpinMarginNs = 200'000;
    static constexpr std::int64_t maxSpinMarginNs = 2'000'000;
    // Room left above the latest wake-up seen.
    static constexpr std::int64_t spinGuardNs = 50'000;

    std::int64_t spinMarginNs() const { return m_spinMarginNs; }
    // The margin after a wake-up that came latenessNs after it was asked for.
    static std::int64_t nextSpinMargin(std::int64_t marginNs, std::int64_t latenessNs);

private:
    std::int64_t m_spinMarginNs = minSpinMarginNs;
};

} // namespace tenlog::platform
