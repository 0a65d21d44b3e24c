#include "cw/LoopCalibration.h"

#include <cmath>

namespace tenlog::cw {

LoopCalibration::LoopCalibration(platform::KeyingClock& clock, QObject* parent) : QObject(parent), m_clock(clock)
{
}

LoopCalibration::~LoopCalibration()
{
    if (m_thread.joinable())
        m_thread.join();
}

void LoopCalibration::start()
{
    if (m_running)
        return;
    if (m_thread.joinable())
        m_thread.join(); // the last one has finished: it cleared m_running
    m_running = true;
    m_thread = std::thread([this] {
        const double loops = measure(m_clock);
        m_running = false;
        emit measured(loops); // queued to the owner's thread
    });
}

double LoopCalibration::measure(platform::KeyingClock& clock, double counts)
{
    const std::int64_t start = clock.nowNs();
    clock.countLoop(counts);
    const double elapsedMs = double(clock.nowNs() - start) / 1e6;
    if (elapsedMs <= 0)
        return 0;
    return std::round(counts / elapsedMs * 60);
}

} // namespace tenlog::cw
