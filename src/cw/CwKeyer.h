// The CW keying engine: the send buffer and the keying thread that drains it
// one character at a time, timing every unit to an absolute deadline on the
// monotonic clock so that the window never waits and never freezes.
//
// The user-interface thread appends, replaces or empties the buffer; each
// takes effect at the next character boundary, so the character in progress
// always finishes (and leaves the line up). Speed, word space and timing
// method are read again at every unit. What the keying thread has to tell the
// window (the "!" mark reached, the unsent rest, the end of sending, a line
// that failed) arrives as signals, queued to the receiver's thread.
//
// The line is let up after every character, after a failure and when the
// engine is destroyed; the destructor joins the keying thread.
//
// When a keyer that times its own Morse does the sending (the WinKey), the
// buffer is handed off: the keying thread leaves it alone, and the keyer's
// feeder takes the characters on the user-interface thread as the keyer
// has room for them.
#pragma once

#include "platform/KeyLine.h"
#include "platform/KeyingClock.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace tenlog::cw {

class CwKeyer final : public QObject {
    Q_OBJECT
public:
    // Timer: sleep to each deadline and spin the last fraction of a
    // millisecond. Sleep: sleep to each deadline, units rounded to whole
    // milliseconds. Loop: the calibrated counting loop.
    enum class Timing { Timer, Sleep, Loop };

    explicit CwKeyer(platform::KeyingClock& clock, QObject* parent = nullptr);
    ~CwKeyer() override;

    // The line for the characters that follow; none (nullptr) sends nothing
    // and drops what is queued. The character in progress keeps its line.
    void setKeyLine(std::shared_ptr<platform::KeyLine> line);

    void setWpm(double wpm) { m_wpm = wpm; }
    double wpm() const { return m_wpm; }
    void setWordSpace(double units) { m_wordSpace = units; }
    void setTiming(Timing timing) { m_timing = timing; }
    Timing timing() const { return m_timing; }
    void setLoopsPer60ms(double loops) { m_loopsPer60ms = loops; }
    double loopsPer60ms() const { return m_loopsPer60ms; }

    // Appends text and starts sending if idle.
    void append(const QString& text);
    // Replaces whatever still waits by text (an F-key message).
    void replace(const QString& text);
    // Empties the buffer: sending stops after the character in progress.
    void clear();
    // Removes the last unsent character; false when nothing waits.
    bool removeLastUnsent();
    QString unsent() const;
    // True from append() until the buffer has been drained.
    bool isSending() const { return m_sending; }

    // Hand-off: the keying thread leaves the buffer to takeNext(). Text
    // appended then is announced by textWaiting() and never counts as
    // sending here (the keyer that takes it says when it is busy).
    void setHandOff(bool on);
    bool handOff() const { return m_handOff; }
    // The first unsent character, taken off the buffer (hand-off only).
    std::optional<QChar> takeNext();
    bool hasUnsent() const;

    // Waits (not on the user-interface thread) until the buffer has been
    // drained; for shutdown paths and tests. False on timeout.
    bool waitUntilIdle(int timeoutMs);

signals:
    // The "!" of a message has come up: log the contact now.
    void contactMarkReached();
    // A character has been sent; rest is what still waits.
    void unsentChanged(const QString& rest);
    // The buffer is empty and the line is up.
    void sendingFinished();
    // The line could not be set; the buffer has been emptied.
    void keyLineFailed(const QString& reason);
    // The keying thread has taken this character and starts keying it.
    void characterStarted(QChar character);
    // This character has been keyed, its trailing gap included.
    void characterSent(QChar character);
    // Hand-off: text was appended and waits to be taken.
    void textWaiting();

private:
    void run();
    // After the buffer was emptied from outside: when the keying thread had
    // not yet taken any of it, sending ends here.
    void finishIfNotStarted(std::unique_lock<std::mutex>& lock);
    // Times one character from startNs; returns where the next one starts,
    // or -1 when the line failed.
    std::int64_t sendCharacter(QChar character, platform::KeyLine& line, std::int64_t startNs);

    platform::KeyingClock& m_clock;
    std::atomic<double> m_wpm {13};
    std::atomic<double> m_wordSpace {0};
    std::atomic<Timing> m_timing {Timing::Timer};
    std::atomic<double> m_loopsPer60ms {0};
    std::atomic<bool> m_sending {false};
    std::atomic<bool> m_quit {false};
    std::atomic<bool> m_handOff {false};

    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    QString m_buffer;
    bool m_inRun = false; // the keying thread is draining the buffer
    std::shared_ptr<platform::KeyLine> m_line;
    std::thread m_thread;
};

} // namespace tenlog::cw
