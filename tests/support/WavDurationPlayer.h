// An AudioPlayer for tests: it sounds nothing, but a playback lasts exactly
// as long as the WAV file's header says, on a settable clock the test moves
// on. Missing or unreadable files fail as on a real machine. It records
// every file asked for and every file that started.
#pragma once

#include "SettableClock.h"
#include "platform/AudioPlayer.h"

#include <QStringList>

namespace tenlog::testing {

class WavDurationPlayer final : public platform::AudioPlayer {
public:
    explicit WavDurationPlayer(SettableClock& clock) : m_clock(clock) {}

    bool play(const QString& wavPath) override;
    void stop() override;
    bool isPlaying() const override;
    void setFinishedHandler(std::function<void()> handler) override { m_finished = std::move(handler); }

    // Moves the clock on by ms. A playback whose end falls within finishes
    // at its own moment: the clock stands at its end when the handler runs,
    // and a playback the handler starts is timed from there.
    void advanceMs(qint64 ms);
    // Moves the clock to the end of the playback in progress (if any).
    void playToEnd() { advanceMs(remainingMs()); }
    qint64 remainingMs() const;

    // The file playing now; empty when none.
    QString current() const { return isPlaying() ? m_current : QString(); }
    // Length of the last file started, from its header.
    qint64 lastDurationMs() const { return m_lastDurationMs; }

    QStringList requested; // every path play() was given
    QStringList played;    // the paths that started
    int cutOff = 0;        // playbacks ended by stop() or the next play()
    int finished = 0;      // playbacks that ran to their end

private:
    SettableClock& m_clock;
    std::function<void()> m_finished;
    bool m_playing = false;
    QString m_current;
    qint64 m_endMs = 0;
    qint64 m_lastDurationMs = 0;
};

} // namespace tenlog::testing
