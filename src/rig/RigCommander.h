// Sends the radio to a frequency or a mode: the commands the tuning panel,
// the command tester, the spot lists and the multiplier grid use.
//
// A frequency change first sets the mode the band plan gives for the target
// (CW, or the sideband for phone), then sends the frequency in the radio's
// own format, with the pauses the radio needs. It works only while the radio
// is polled; the poll timer is stopped for the traffic so no request falls
// between the command's bytes, and started again after it, so the first poll
// finds the new frequency. A mode change on its own leaves polling alone.
//
// The pauses and the wait for the output to drain run on timers, so the
// window keeps working meanwhile: calls return at once, commands asked for
// while one is under way run after it in order, and finished() follows the
// last. No answer from a serial radio is awaited; rigctld answers every
// command with "RPRT <n>", which is read and checked. A command that fails is
// reported once and polling goes on.
#pragma once

#include "bandplan/BandPlan.h"
#include "rig/RigCommands.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

namespace tenlog::platform {
class SerialPort;
}

namespace tenlog::rig {

class RigLink;
class RigctldPoller;

inline const QString kFrequencyErrorTitle = QStringLiteral("Error Changing Frequency");
inline const QString kModeErrorTitle = QStringLiteral("Error Changing Mode");

// How long the output may take to drain, and rigctld to answer.
inline constexpr int kDrainLimitMs = 2000;
inline constexpr int kRigctldAnswerLimitMs = 2000;
// The pause before a mode command.
inline constexpr int kModeCommandDelayMs = 99;

class RigCommander : public QObject {
    Q_OBJECT
public:
    // activeLink gives the link of the chosen radio (serial or rigctld);
    // pegasusFolder holds the Pegasus control program's files.
    RigCommander(platform::SerialPort& port, RigctldPoller& rigctld, std::function<RigLink&()> activeLink,
                 QString pegasusFolder, QObject* parent = nullptr);

    // The band plan's Extra class records, for the mode chosen before tuning.
    void setBandPlan(QList<bandplan::BandPlanRecord> records) { m_bandPlan = std::move(records); }
    const QList<bandplan::BandPlanRecord>& bandPlan() const { return m_bandPlan; }

    // Sends the radio to megahertz (mode first), unless polling is stopped
    // when the command's turn comes.
    void tuneTo(float megahertz);
    // Sends the mode command ("CW", "USB", ...) unless no radio is chosen.
    void setMode(const QString& mode);

    bool busy() const { return m_running || !m_requests.empty(); }

signals:
    // A command failed: the title ("Error Changing Frequency" or "Error
    // Changing Mode") and the text for the operator. Polling goes on.
    void failed(const QString& title, const QString& text);
    // One command went out whole.
    void commandSent();
    // The last command asked for has been sent.
    void finished();

private:
    struct Request {
        bool tune;
        float megahertz;
        QString mode;
    };
    struct Step {
        enum Kind { Drain, Delay, Write, AwaitAnswer, WritePegasusFile, Resume };
        Step(Kind k, int delay = 0, QByteArray data = {}, QString title = {}, QString prefix = {})
            : kind(k)
            , delayMs(delay)
            , bytes(std::move(data))
            , errorTitle(std::move(title))
            , errorPrefix(std::move(prefix))
        {
        }
        Kind kind;
        int delayMs = 0;
        QByteArray bytes;
        QString errorTitle;
        QString errorPrefix; // the mode name, before the error words
    };

    void startNext();
    void buildTune(const Request& request);
    void buildModeSteps(const QString& mode, bool rigctld);
    void runSteps();
    // True when the step is done; false when it waits (the timer is armed)
    // or failed (the job is dropped).
    bool runStep(Step& step);
    void fail(const Step& step, const QString& words);
    void waitMs(int ms);

    platform::SerialPort& m_port;
    RigctldPoller& m_rigctld;
    std::function<RigLink&()> m_activeLink;
    QString m_pegasusFolder;
    QList<bandplan::BandPlanRecord> m_bandPlan;

    std::deque<Request> m_requests;
    std::deque<Step> m_steps;
    bool m_running = false;
    bool m_stepStarted = false;
    QElapsedTimer m_stepClock;
    QTimer m_wait;
    float m_target = 0;
    QString m_pegasusMode;
};

} // namespace tenlog::rig
