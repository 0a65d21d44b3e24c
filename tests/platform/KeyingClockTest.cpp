// The keying clock's spin margin: it follows late wake-ups at once, forgets
// them slowly, stays within its bounds; and a spun wait never ends early.
#include "platform/KeyingClock.h"

#include <gtest/gtest.h>

using tenlog::platform::MonotonicKeyingClock;

TEST(KeyingClock, SpinMarginFollowsWakeUpLateness)
{
    constexpr std::int64_t us = 1000;
    struct Case {
        std::int64_t margin, lateness, expected;
    };
    const Case cases[] = {
        {200 * us, 80 * us, 200 * us},         // an early wake-up: the floor holds
        {200 * us, 400 * us, 450 * us},        // a late one: covered at once, with room
        {1600 * us, 0, 1550 * us},             // then forgotten by 1/32 per wait
        {1600 * us, 1000 * us, 1550 * us},     // the slow decay wins over a smaller lateness
        {500 * us, 9000 * us, 2000 * us},      // a stall is not chased past the ceiling
        {200 * us, -5 * us, 200 * us},         // a clock read before the sleep ended
    };
    for (const Case& c : cases)
        EXPECT_EQ(MonotonicKeyingClock::nextSpinMargin(c.margin, c.lateness), c.expected)
            << c.margin << " ns margin, " << c.lateness << " ns late";
}

TEST(KeyingClock, SpunWaitsNeverEndEarly)
{
    MonotonicKeyingClock clock;
    std::int64_t deadline = clock.nowNs();
    for (int i = 0; i < 50; ++i) {
        deadline += 1'000'000;
        clock.waitUntil(deadline, true);
        ASSERT_GE(clock.nowNs(), deadline);
        EXPECT_GE(clock.spinMarginNs(), MonotonicKeyingClock::minSpinMarginNs);
        EXPECT_LE(clock.spinMarginNs(), MonotonicKeyingClock::maxSpinMarginNs);
    }
}
