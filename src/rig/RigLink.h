// What the rig windows and the main window see of a polled radio, whatever
// carries the polls: start and stop, the two-tick poll cycle on a timer, the
// signals that carry each decoded reading out, and how far the link can be
// trusted.
//
// One poll cycle is two ticks of the timer: the send tick transmits the
// requests, the receive tick collects what came back and decodes it. The
// interval comes from the polling rate code: "F" 50 ms, "M" 250 ms, "S"
// 1000 ms, "R" 5000 ms; any other code keeps the interval (1000 ms before the
// first start).
//
// A reading is current only while the radio answers. A radio that leaves its
// polls unanswered, or answers with nothing that decodes, for about two
// seconds and at least three polls counts as not answering: the status says
// so, and the frequency is not passed on for logging until a valid answer
// comes. A link that breaks underneath (a serial port that vanishes, a
// rigctld connection refused or closed) is never given up while it is
// running: it is opened again after a pause that grows 1, 2, 4 ... 30 s, and
// the status says when. Each kind of trouble is said once, until the radio
// answers again.
#pragma once

#include "common/LinkStatus.h"
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

// The pauses before a broken link is opened again: the first, doubled after
// every failed try up to the longest.
inline constexpr int kFirstRetryMs = 1000;
inline constexpr int kLongestRetryMs = 30000;

// The frequency as the setup window shows it ("###.####0": 28.47500); empty until a
// frequency above 0 has been decoded.
QString frequencyDisplayText(float frequencyMHz);

// True for "None" in any letter case: no radio is chosen.
bool isNoRig(const QString& rigName);

enum class StartMode {
    // "Test" in the setup window: a link that cannot be opened is reported
    // through openFailed() and not tried again.
    ReportFailure,
    // The start at program load: a link that cannot be opened is said
    // through trouble() and tried again like a lost one.
    KeepTrying,
};

class RigLink : public QObject {
    Q_OBJECT
public:
    enum class State {
        Stopped,   // not started, or stopped by the operator
        Waiting,   // open, no valid answer yet
        Answering, // the last polls were answered
        Silent,    // open, but the radio has stopped answering
        Lost,      // the link broke or would not open; a retry is due
    };

    explicit RigLink(QObject* parent = nullptr);

    // Takes effect at the next start().
    void setSettings(const RigSettings& settings) { m_settings = settings; }
    const RigSettings& settings() const { return m_settings; }
    const RigReading& reading() const { return m_reading; }
    // The VFO the last "IF" reply named, for the frequency command.
    int kenwoodVfo() const { return m_reading.kenwoodVfo; }

    // Opens the link and starts polling. False when no radio is chosen or
    // the link is not open now; see StartMode for what follows a failure.
    bool start(StartMode mode = StartMode::ReportFailure);
    // Stops polling and any retry, and closes the link.
    void stop();
    // At program exit: anything the radio must be told, then stop().
    virtual void closeLink() { stop(); }
    // One tick; the timer calls it, tests may too.
    virtual void tick() = 0;
    // Opens a lost link again; the retry timer calls it, tests may too.
    void reopen();

    State state() const { return m_state; }
    // Started and not stopped: polling, or waiting to open the link again.
    bool isRunning() const { return m_state != State::Stopped; }
    bool isPolling() const { return m_timer.isActive(); }
    int intervalMs() const { return m_timer.interval(); }
    // The pause before the retry now due (while lost).
    int retryDelayMs() const { return m_retryDelayMs; }
    const common::LinkStatus& status() const { return m_status; }

    // Around the frequency and mode commands: no poll may go out between
    // their bytes. Resuming restarts the timer only while the link is open.
    void pauseForCommand() { m_timer.stop(); }
    void resumeAfterCommand();
    // What became of the last frequency or mode command: its failure in the
    // operator's words, or empty when it went through. A failure shows in
    // the status until a command goes through or the link starts again.
    void noteCommandResult(const QString& failure);

    // Choosing how the mode is found forgets the mode decoded so far.
    void clearMode() { m_reading.mode.clear(); }

    // Poll state; kept across restarts.
    bool awaitingReply() const { return m_awaitingReply; }

    static int intervalForRate(const QString& rateCode, int currentMs);
    // How many polls in a row may go unanswered before the radio counts as
    // not answering: about two seconds' worth, never fewer than three.
    static int missedPollsBeforeSilence(int tickIntervalMs);

signals:
    // The bytes of one receive tick (capped), as they came.
    void rawReceived(const QByteArray& bytes);
    // After every receive tick that decoded something.
    void readingChanged(float frequencyMHz, const QString& mode);
    // The frequency to log with the next contact, when "Use Frequency" is on
    // and a frequency has been decoded.
    void frequencyPolled(float frequencyMHz);
    // The last frequency passed on is no longer current (the radio stopped
    // answering, the link broke or was stopped): nothing is to be logged
    // with the next contact until frequencyPolled() comes again.
    void frequencyUnknown();
    // The mode for the log to follow, unless mode-by is "Don't Use".
    void modePolled(const QString& mode);
    // start() in ReportFailure mode could not open the link; the reason in
    // the operator's words.
    void openFailed(const QString& reason);
    // What the main window shows of the link changed.
    void statusChanged(const tenlog::common::LinkStatus& status);
    // A problem to say at once, in one sentence for the message line.
    void trouble(const QString& message);

protected:
    struct Opened {
        bool ok = false;
        QString reason;          // why not, in the operator's words
        bool worthRetrying = true;
    };

    // Opens the transport. A failure underneath, reported later, goes to
    // linkBroke().
    virtual Opened openLink() = 0;
    // Closes the transport.
    virtual void dropLink() = 0;
    // The link has just opened: the first poll and the poll timer.
    virtual void beginPolling();
    // The status's words while the link is down: "COM3 not available".
    virtual QString unreachableText() const = 0;
    // The status's words after the start, before the first answer.
    virtual QString waitingText() const;
    // The radio has just counted as not answering; polling goes on unless
    // the link overrides this.
    virtual void radioFellSilent() {}
    // stop() has closed the link: anything kept for the next opening ends too.
    virtual void linkStopped() {}

    bool linkUp() const
    {
        return m_state == State::Waiting || m_state == State::Answering || m_state == State::Silent;
    }
    // Sets the interval from the rate code and starts the timer.
    void startPollTimer();
    // The transport is up (the port opened, the connection made); a failure
    // after this is a lost link, before it one that could not be opened.
    void linkOpened() { m_openedSinceStart = true; }
    // A receive tick decoded a valid answer: passes the reading on.
    void answered(const QByteArray& raw);
    // A poll went unanswered, or its answer decoded to nothing.
    void unanswered();
    // The transport failed underneath: closed, and opened again later.
    void linkBroke(const QString& reason);
    // The cause of a loss already reported, learnt a moment later (a
    // daemon's exit after its connection closed): said, and shown in the
    // status's detail.
    void explainLoss(const QString& reason);
    // The radio does not answer on this connection: closed, and opened
    // again later; the status shows downText meanwhile.
    void retryAfterSilence(const QString& downText, const QString& reason);
    // Builds the status from the state and emits it when it changed.
    void refreshStatus();

    RigSettings m_settings;
    RigReading m_reading;
    QTimer m_timer;
    bool m_awaitingReply = false;

private:
    enum class Trouble { None, NotAnswering, Unreachable };
    // Closes the link and arms the retry with the growing pause; the status
    // shows downText meanwhile, and message is said unless this kind of
    // trouble has been said since the radio last answered.
    void retryLater(const QString& downText, const QString& detail, Trouble kind, const QString& message);
    void setState(State state);
    void sayTrouble(Trouble kind, const QString& message);
    QString lossMessage(const QString& reason) const;
    // Applies mode-by and emits the reading.
    void publish(const QByteArray& raw);

    State m_state = State::Stopped;
    common::LinkStatus m_status;
    QTimer m_retry;
    int m_retryDelayMs = 0;
    int m_nextRetryMs = kFirstRetryMs;
    int m_missedPolls = 0;
    Trouble m_troubleSaid = Trouble::None;
    bool m_openedSinceStart = false;
    QString m_downText;
    QString m_downDetail;
    QString m_failedCommand;
};

} // namespace tenlog::rig
