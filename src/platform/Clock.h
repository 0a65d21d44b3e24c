// The program's only way to read the time: local and UTC wall clock and a
// monotonic millisecond counter. Windows and domain code take a Clock so tests
// can set the time.
#pragma once

#include <QDateTime>

namespace tenlog::platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime localNow() const = 0;
    virtual QDateTime utcNow() const = 0;
    // Milliseconds from an arbitrary start that never goes backwards.
    virtual qint64 monotonicMs() const = 0;
};

} // namespace tenlog::platform
