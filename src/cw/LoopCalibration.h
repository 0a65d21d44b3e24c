// The calibrated loop's measurement: how many counts of the counting loop
// take 60 ms on this machine. Counting five million takes tens of
// milliseconds, so it runs on a thread of its own and the window never
// waits for it; the result arrives as a signal on the owner's thread.
#pragma once

#include "platform/KeyingClock.h"

#include <QObject>

#include <atomic>
#include <thread>

namespace tenlog::cw {

class LoopCalibration final : public QObject {
    Q_OBJECT
public:
    explicit LoopCalibration(platform::KeyingClock& clock, QObject* parent = nullptr);
    // Waits for a measurement still running: it reads the clock.
    ~LoopCalibration() override;

    // Starts a measurement; does nothing while one runs.
    void start();
    bool isRunning() const { return m_running; }

    // Counts to counts and scales the time it took to 60 ms, rounded; 0 when
    // the clock did not move.
    static double measure(platform::KeyingClock& clock, double counts = 5'000'000);

signals:
    void measured(double loopsPer60ms);

private:
    platform::KeyingClock& m_clock;
    std::atomic<bool> m_running {false};
    std::thread m_thread;
};

} // namespace tenlog::cw
