// The system clock behind the Clock seam.
#include "platform/qt/SystemClock.h"

namespace tenlog::platform {

SystemClock::SystemClock()
{
    m_started.start();
}

QDateTime SystemClock::localNow() const
{
    return QDateTime::currentDateTime();
}

QDateTime SystemClock::utcNow() const
{
    return QDateTime::currentDateTimeUtc();
}

qint64 SystemClock::monotonicMs() const
{
    return m_started.elapsed();
}

} // namespace tenlog::platform
