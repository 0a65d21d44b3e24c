// The timed stand-in player.
#include "WavDurationPlayer.h"

#include "platform/WavInfo.h"

namespace tenlog::testing {

bool WavDurationPlayer::play(const QString& wavPath)
{
    requested << wavPath;
    stop();
    const std::optional<platform::WavInfo> info = platform::readWav(wavPath);
    if (!info || info->frames() == 0)
        return false;
    played << wavPath;
    m_current = wavPath;
    m_playing = true;
    m_lastDurationMs = info->durationMs();
    m_endMs = m_clock.monotonicMs() + m_lastDurationMs;
    return true;
}

void WavDurationPlayer::stop()
{
    if (m_playing)
        ++cutOff;
    m_playing = false;
}

bool WavDurationPlayer::isPlaying() const
{
    return m_playing && m_clock.monotonicMs() < m_endMs;
}

qint64 WavDurationPlayer::remainingMs() const
{
    return m_playing ? std::max<qint64>(0, m_endMs - m_clock.monotonicMs()) : 0;
}

void WavDurationPlayer::advanceMs(qint64 ms)
{
    qint64 left = ms;
    while (m_playing && m_endMs - m_clock.monotonicMs() <= left) {
        const qint64 step = std::max<qint64>(0, m_endMs - m_clock.monotonicMs());
        m_clock.advanceMs(step);
        left -= step;
        m_playing = false;
        ++finished;
        if (m_finished)
            m_finished();
    }
    m_clock.advanceMs(left);
}

} // namespace tenlog::testing
