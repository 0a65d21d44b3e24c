#include "cw/CwKeyer.h"

#include "cw/MorseCode.h"

#include <algorithm>
#include <cmath>
#include <pthread.h>
#include <sched.h>

namespace tenlog::cw {

namespace {

// Lets the line up when a character ends, however it ends.
class KeyUpGuard {
public:
    explicit KeyUpGuard(platform::KeyLine& line) : m_line(line) {}
    ~KeyUpGuard() { m_line.setKeyDown(false); }
    KeyUpGuard(const KeyUpGuard&) = delete;
    KeyUpGuard& operator=(const KeyUpGuard&) = delete;

private:
    platform::KeyLine& m_line;
};

} // namespace

CwKeyer::CwKeyer(platform::KeyingClock& clock, QObject* parent)
    : QObject(parent), m_clock(clock), m_thread([this] { run(); })
{
}

CwKeyer::~CwKeyer()
{
    {
        std::lock_guard lock(m_lock);
        m_quit = true;
        m_buffer.clear();
    }
    m_wake.notify_all();
    m_thread.join();
}

void CwKeyer::setKeyLine(std::shared_ptr<platform::KeyLine> line)
{
    std::lock_guard lock(m_lock);
    m_line = std::move(line);
}

void CwKeyer::append(const QString& text)
{
    if (text.isEmpty())
        return;
    {
        std::lock_guard lock(m_lock);
        m_buffer += text;
        if (!m_handOff)
            m_sending = true;
    }
    if (m_handOff) {
        emit textWaiting();
        return;
    }
    m_wake.notify_all();
}

void CwKeyer::replace(const QString& text)
{
    std::unique_lock lock(m_lock);
    m_buffer = text;
    if (m_handOff) {
        lock.unlock();
        if (!text.isEmpty())
            emit textWaiting();
        return;
    }
    if (!text.isEmpty()) {
        m_sending = true;
        lock.unlock();
        m_wake.notify_all();
        return;
    }
    finishIfNotStarted(lock);
}

void CwKeyer::clear()
{
    std::unique_lock lock(m_lock);
    m_buffer.clear();
    finishIfNotStarted(lock);
}

bool CwKeyer::removeLastUnsent()
{
    std::unique_lock lock(m_lock);
    if (m_buffer.isEmpty())
        return false;
    m_buffer.chop(1);
    if (m_buffer.isEmpty())
        finishIfNotStarted(lock);
    return true;
}

void CwKeyer::finishIfNotStarted(std::unique_lock<std::mutex>& lock)
{
    if (m_inRun || !m_sending)
        return;
    m_sending = false;
    lock.unlock();
    m_idle.notify_all();
    emit sendingFinished();
}

void CwKeyer::setHandOff(bool on)
{
    {
        std::lock_guard lock(m_lock);
        m_handOff = on;
    }
    // Text left over from the other way of sending is sent this way now.
    if (!on && hasUnsent()) {
        {
            std::lock_guard lock(m_lock);
            m_sending = true;
        }
        m_wake.notify_all();
    } else if (on && hasUnsent()) {
        emit textWaiting();
    }
}

std::optional<QChar> CwKeyer::takeNext()
{
    std::lock_guard lock(m_lock);
    if (!m_handOff || m_buffer.isEmpty())
        return std::nullopt;
    const QChar first = m_buffer.front();
    m_buffer.remove(0, 1);
    return first;
}

bool CwKeyer::hasUnsent() const
{
    std::lock_guard lock(m_lock);
    return !m_buffer.isEmpty();
}

QString CwKeyer::unsent() const
{
    std::lock_guard lock(m_lock);
    return m_buffer;
}

bool CwKeyer::waitUntilIdle(int timeoutMs)
{
    std::unique_lock lock(m_lock);
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !m_sending; });
}

void CwKeyer::run()
{
    // Real-time priority where the system allows it (root, or an rtprio
    // limit), so other programs' work does not delay an edge; otherwise the
    // thread keeps its normal priority. It never spins for more than a
    // fraction of a millisecond, so it cannot starve the machine.
    sched_param priority {};
    priority.sched_priority = std::min(10, sched_get_priority_max(SCHED_FIFO));
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);

    std::unique_lock lock(m_lock);
    while (!m_quit) {
        m_wake.wait(lock, [this] { return m_quit || (!m_handOff && !m_buffer.isEmpty()); });
        if (m_quit)
            break;
        // A run of characters keeps one timeline, so waiting for the lock or
        // the signals between characters costs no time on the air.
        m_inRun = true;
        std::int64_t next = m_clock.nowNs();
        while (!m_quit && !m_handOff && !m_buffer.isEmpty()) {
            const QChar character = m_buffer.front();
            m_buffer.remove(0, 1);
            const QString rest = m_buffer;
            const std::shared_ptr<platform::KeyLine> line = m_line;
            lock.unlock();
            if (!line) {
                lock.lock();
                m_buffer.clear();
                break;
            }
            if (character == QLatin1Char('!'))
                emit contactMarkReached();
            emit characterStarted(character);
            const std::int64_t now = m_clock.nowNs();
            // Back from a long stall (a suspended machine): start afresh
            // rather than rush the next units to catch up.
            if (now - next > std::int64_t(unitMs(m_wpm) * 1e6))
                next = now;
            next = sendCharacter(character, *line, next);
            if (next < 0) {
                const QString reason = line->errorString();
                lock.lock();
                m_buffer.clear();
                lock.unlock();
                emit keyLineFailed(reason);
                lock.lock();
                break;
            }
            emit characterSent(character);
            emit unsentChanged(rest);
            lock.lock();
        }
        m_sending = false;
        m_inRun = false;
        lock.unlock();
        m_idle.notify_all();
        emit sendingFinished();
        lock.lock();
    }
}

std::int64_t CwKeyer::sendCharacter(QChar character, platform::KeyLine& line, std::int64_t startNs)
{
    const QByteArray units = elementsToSend(character, m_wordSpace);
    if (units.isEmpty())
        return startNs;
    KeyUpGuard keyUp(line);
    std::int64_t deadline = startNs;
    for (const char unit : units) {
        // Only when the program is closing is a character cut short.
        if (m_quit)
            return deadline;
        // The line is set at every unit, also when it does not change.
        if (!line.setKeyDown(unit == '1'))
            return -1;
        const double wpm = usableWpm(m_wpm);
        Timing timing = m_timing;
        const double loops = m_loopsPer60ms;
        if (timing == Timing::Loop && loops <= 0)
            timing = Timing::Timer; // an uncalibrated loop would not wait at all
        switch (timing) {
        case Timing::Timer:
            deadline += std::int64_t(std::llround(unitMs(wpm) * 1e6));
            m_clock.waitUntil(deadline, true);
            break;
        case Timing::Sleep:
            deadline += std::int64_t(std::llround(unitMs(wpm))) * 1'000'000;
            m_clock.waitUntil(deadline, false);
            break;
        case Timing::Loop:
            m_clock.countLoop(loops / wpm * 20);
            deadline = m_clock.nowNs();
            break;
        }
    }
    return deadline;
}

} // namespace tenlog::cw
