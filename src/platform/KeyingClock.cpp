#include "platform/KeyingClock.h"

#include <algorithm>
#include <cerrno>
#include <time.h>

namespace tenlog::platform {

std::int64_t MonotonicKeyingClock::nowNs() const
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void MonotonicKeyingClock::waitUntil(std::int64_t deadlineNs, bool spinFinish)
{
    const std::int64_t sleepUntil = spinFinish ? deadlineNs - m_spinMarginNs : deadlineNs;
    timespec when {};
    when.tv_sec = static_cast<time_t>(sleepUntil / 1'000'000'000);
    when.tv_nsec = static_cast<long>(sleepUntil % 1'000'000'000);
    // A signal cuts the sleep short; the absolute deadline makes resuming exact.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &when, nullptr) == EINTR) {
    }
    if (spinFinish) {
        m_spinMarginNs = nextSpinMargin(m_spinMarginNs, nowNs() - sleepUntil);
        while (nowNs() < deadlineNs) {
        }
    }
}

std::int64_t MonotonicKeyingClock::nextSpinMargin(std::int64_t marginNs, std::int64_t latenessNs)
{
    // Shrinking by 1/32 per wait takes about a hundred units (a few seconds
    // of sending) to forget a late wake-up.
    const std::int64_t wanted = std::max(latenessNs + spinGuardNs, marginNs - marginNs / 32);
    return std::clamp(wanted, minSpinMarginNs, maxSpinMarginNs);
}

void MonotonicKeyingClock::countLoop(double iterations)
{
    // volatile keeps the compiler from folding the loop away: it is the delay.
    volatile double counter = 0;
    while (counter < iterations)
        counter = counter + 1;
}

} // namespace tenlog::platform
