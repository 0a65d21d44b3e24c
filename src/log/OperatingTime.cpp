// Operating time and the UTC offset check.
#include "log/OperatingTime.h"

#include "text/DateText.h"
#include "text/NumberText.h"

#include <cmath>

namespace tenlog::log {

namespace {

// Wall-clock seconds since an arbitrary day, ignoring time zones, so local
// and UTC readings can be compared as the clocks show them.
qint64 wallSeconds(const QDateTime& t)
{
    return t.date().toJulianDay() * 86400 + t.time().msecsSinceStartOfDay() / 1000;
}

QString twoDigits(qint64 value)
{
    const QString digits = QString::number(value);
    return value < 10 ? QStringLiteral("0") + digits.right(1) : digits.right(2);
}

} // namespace

void OperatingTime::timeOn(const QDateTime& localNow)
{
    m_onTime = localNow;
    m_on = true;
}

double OperatingTime::timeOff(const QDateTime& localNow)
{
    m_saved = opSeconds(localNow);
    m_on = false;
    return m_saved;
}

double OperatingTime::opSeconds(const QDateTime& localNow) const
{
    if (!m_on)
        return m_saved;
    return std::abs(static_cast<double>(wallSeconds(localNow) - wallSeconds(m_onTime)) + m_saved);
}

void OperatingTime::reset()
{
    m_saved = 0;
}

QString formatOperatingTime(double seconds)
{
    const qint64 total = static_cast<qint64>(seconds);
    const qint64 hours = total / 3600;
    const qint64 minutes = total / 60 - hours * 60;
    const qint64 secs = total - (total / 60) * 60;
    return twoDigits(hours) + QLatin1Char(':') + twoDigits(minutes) + QLatin1Char(':') + twoDigits(secs);
}

double recommendedUtcOffset(const QDateTime& localNow, const QDateTime& utcNow)
{
    const qint64 minutes = wallSeconds(utcNow) / 60 - wallSeconds(localNow) / 60;
    return text::roundHalfEven(static_cast<double>(minutes) / 60.0, 2);
}

QString utcOffsetPrompt(const QDateTime& localNow, const QDateTime& utcNow, float currentOffset,
                        double recommended)
{
    const QString blank = QStringLiteral("\r\n\r\n");
    return QStringLiteral("Would you like to adjust the UTC offset for your local time setting?") + blank
         + QStringLiteral("Current System Time: ") + text::formatDateTime(utcNow, QStringLiteral("hh:nn")) + blank
         + QStringLiteral("Current Local Time: ") + text::formatDateTime(localNow, QStringLiteral("hh:nn")) + blank
         + QStringLiteral("Current Offset: ") + text::plainNumber(currentOffset) + blank
         + QStringLiteral("Recommended Offset: ") + text::plainNumber(recommended) + blank
         + QStringLiteral("Please click OK to accept the recommended change or Cancel to keep the current setting.");
}

} // namespace tenlog::log
