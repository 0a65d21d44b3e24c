// What the rig windows and the main window see of a polled radio, whatever
// carries the polls: start and stop, the two-tick poll cycle on a timer, and
// the signals that carry each decoded reading out.
//
// One poll cycle is two ticks of the timer: the send tick transmits the
// requests, the receive tick collects what came back and decodes it. The
// interval comes from the polling rate code: "F" 50 ms, "M" 250 ms, "S"
// 1000 ms, "R" 5000 ms; any other code keeps the interval (1000 ms before the
// first start).
#pragma once

#include "rig/RigParsers.h"
#include "rig/RigSettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

namespace tenlog::rig {

// At most this much of what arrives in one receive tick is kept and decoded;
// the rest is dropped, so a radio or daemon sending noise cannot make the
// program hold more and more of it.
inline constexpr qsizetype kMaxReplyBytesPerTick = 4096;

// The frequency as the setup window shows it ("###.####0": 28.47500); empty until a
// frequency above 0 has been decoded.
QString frequencyDisplayText(float frequencyMHz);

// True for "None" in any letter case: no radio is chosen.
bool isNoRig(const QString& rigName);

class RigLink : public QObject {
    Q_OBJECT
public:
    explicit RigLink(QObject* parent = nullptr);

    // Takes effect at the next start().
    void setSettings(const RigSettings& settings) { m_settings = settings; }
    const RigSettings& settings() const { return m_settings; }
    const RigReading& reading() const { return m_reading; }
    // The VFO the last "IF" reply named, for the frequency command.
    int kenwoodVfo() const { return m_reading.kenwoodVfo; }

    // Opens the link and starts polling: one tick at once, then the timer.
    // False, with openFailed() emitted unless no radio is chosen, when the
    // link cannot be opened.
    virtual bool start() = 0;
    // Stops the timer and closes the link.
    virtual void stop() = 0;
    // At program exit: anything the radio must be told, then stop().
    virtual void closeLink() { stop(); }
    // One tick; the timer calls it, tests may too.
    virtual void tick() = 0;

    bool isPolling() const { return m_timer.isActive(); }
    int intervalMs() const { return m_timer.interval(); }
    // Around the frequency and mode commands: no poll may go out between
    // their bytes. Resuming restarts the timer only while the link is up.
    void pauseForCommand() { m_timer.stop(); }
    void resumeAfterCommand();

    // Choosing how the mode is found forgets the mode decoded so far.
    void clearMode() { m_reading.mode.clear(); }

    // Poll state; kept across restarts.
    bool awaitingReply() const { return m_awaitingReply; }

    static int intervalForRate(const QString& rateCode, int currentMs);

signals:
    // The bytes of one receive tick (capped), as they came.
    void rawReceived(const QByteArray& bytes);
    // After every receive tick that decoded something.
    void readingChanged(float frequencyMHz, const QString& mode);
    // The frequency to log with the next contact, when "Use Frequency" is on
    // and a frequency has been decoded.
    void frequencyPolled(float frequencyMHz);
    // The mode for the log to follow, unless mode-by is "Don't Use".
    void modePolled(const QString& mode);
    // The link failed while polling; polling has stopped. Once per start().
    void linkFailed(const QString& reason);
    // start() could not open the link; reason in the operator's words.
    void openFailed(const QString& reason);

protected:
    virtual bool linkUp() const = 0;
    // Sets the interval from the rate code and starts the timer.
    void startPollTimer();
    // Applies mode-by and emits the reading.
    void publish(const QByteArray& raw);
    // Stops polling and reports the reason, once per start().
    void failLink(const QString& reason);
    // Called by failLink() to close the transport.
    virtual void dropLink() = 0;

    RigSettings m_settings;
    RigReading m_reading;
    QTimer m_timer;
    bool m_awaitingReply = false;
    bool m_failureReported = false;
};

} // namespace tenlog::rig
