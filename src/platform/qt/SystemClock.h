// The system clock behind the Clock seam.
#pragma once

#include "platform/Clock.h"

#include <QElapsedTimer>

namespace tenlog::platform {

class SystemClock final : public Clock {
public:
    SystemClock();
    QDateTime localNow() const override;
    QDateTime utcNow() const override;
    qint64 monotonicMs() const override;

private:
    QElapsedTimer m_started;
};

} // namespace tenlog::platform
