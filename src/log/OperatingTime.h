// Operating time: the contest limits it, so the window keeps a running total
// of the time the operator was "on" (switched by Time On / Time Off and by
// the first contact logged while off), kept across restarts in the
// preferences. Also the start-up comparison of the stored UTC offset with the
// system clock.
#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace tenlog::log {

class OperatingTime {
public:
    // savedSeconds: the total kept from earlier sessions.
    explicit OperatingTime(double savedSeconds = 0) : m_saved(savedSeconds) {}

    bool loggedOn() const { return m_on; }
    double savedSeconds() const { return m_saved; }

    void timeOn(const QDateTime& localNow);
    // Switches off and returns the total, which becomes the saved total.
    double timeOff(const QDateTime& localNow);
    // The running total at this moment (the saved total while off).
    double opSeconds(const QDateTime& localNow) const;
    // A new log forgets the saved total; a running clock keeps running from its Time On.
    void reset();

private:
    bool m_on = false;
    QDateTime m_onTime;
    double m_saved = 0;
};

// "hh:mm:ss" where each part shows its last two digits (100 hours shows 00).
QString formatOperatingTime(double seconds);

// The offset the system clock implies: minute boundaries from local now to
// UTC now, in hours, rounded to 2 decimals.
double recommendedUtcOffset(const QDateTime& localNow, const QDateTime& utcNow);

// The question asked when the stored offset and the system disagree.
QString utcOffsetPrompt(const QDateTime& localNow, const QDateTime& utcNow, float currentOffset,
                        double recommended);

} // namespace tenlog::log
