// Running the chosen spot source: opening and closing it, the status lines in
// the terminal, the operator's typed lines and the 333 ms tick that polls the
// TNC and the packet engine and, every 361 ticks without a spot, asks for a
// band-map redraw so the age colours move on. The spotting window is a thin
// face over this.
//
// Lines from the cluster and the TNC wait in a SpotLineQueue and are taken a
// slice at a time, so a burst never freezes the window. What a source says
// after its lines (a prompt still waiting for its line end, a failure, the
// node hanging up) is acted on once the lines before it have been taken.
#pragma once

#include "spots/SpotLineQueue.h"
#include "common/LinkStatus.h"
#include "spots/TncSpotSource.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::spots {

class AgwSpotSource;
class SpotIntake;
class SpotPaths;
class SpotTerminal;
class TelnetSpotSource;

// The source words of the window's list, in its order.
inline const QString kSourceNone = QStringLiteral("None");
inline const QString kSourceTnc = QStringLiteral("TNC");
inline const QString kSourceTelnet = QStringLiteral("Telnet");
inline const QString kSourceAgw = QStringLiteral("AGW Packet Engine");

class SpotSession : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickMs = 333;
    static constexpr int kRefreshTicks = 360;

    struct Sources {
        TelnetSpotSource& telnet;
        TncSpotSource& tnc;
        AgwSpotSource& agw;
    };
    // ownCall gives the station's call when the packet engine is started.
    SpotSession(SpotTerminal& terminal, SpotPaths& paths, SpotIntake& intake, Sources sources,
                platform::Dialogs& dialogs, std::function<QString()> ownCall, QObject* parent = nullptr);

    // Where to connect; read at every opening.
    void setSource(const QString& word) { m_source = word; }
    const QString& source() const { return m_source; }
    void setTelnetAddress(const QString& host, const QString& portText);
    void setTncSettings(const TncSettings& settings) { m_tncSettings = settings; }
    // Where the packet engine listens (127.0.0.1:8000 unless changed).
    void setAgwAddress(const QString& host, quint16 port)
    {
        m_agwHost = host;
        m_agwPort = port;
    }

    bool isListening() const { return m_listening; }
    // How the source stands, for the main window's status beside the mode.
    const common::LinkStatus& status() const { return m_status; }
    bool isTicking() const { return m_timer.isActive(); }
    // Received lines not yet taken.
    const SpotLineQueue& waitingLines() const { return m_queue; }
    // Bounds the lines waiting to be taken below the usual limit.
    void limitWaitingLines(qsizetype weight) { m_queue.setMaxWaitingWeight(weight); }

    void open();
    // Does nothing unless listening.
    void close();
    // Enter in the send line.
    void sendLine(const QString& line);
    // Esc or Ctrl+C: the TNC's command-mode character from its hex digits.
    void sendCommandCharacter(const QString& hexDigits);
    // One tick of the spotting timer.
    void tick();
    // The program is ending: a station connected through the packet engine
    // is disconnected and the engine let go; the other sources just close.
    void endOfRun();

    // "&Spot Last": the send line's text for the last contact's call, and the
    // part of it to select so typing the frequency replaces it.
    static QString spotLastText(const QString& lastCall) { return QStringLiteral("DX Frequency in kHz ") + lastCall; }
    static constexpr int kSpotLastSelectionStart = 3;
    static constexpr int kSpotLastSelectionLength = 16;

signals:
    void listeningChanged(bool listening);
    void captionChanged(const QString& caption);
    void statusChanged(const common::LinkStatus& status);
    // The source failed or went away. title and text are the box the
    // spotting window shows when the operator is there (no title: its
    // terminal has said it); line is the short form for the main window's
    // message line. Nothing opens a window by itself.
    void trouble(const QString& title, const QString& text, const QString& line);
    void bandMapRefreshDue();

private:
    bool is(const QString& word) const { return m_source.compare(word, Qt::CaseInsensitive) == 0; }
    void setListening(bool on);
    void openTnc();
    void openTelnet();
    void startAgw();
    void agwRefused(const QString& reason);
    void telnetFailed(const QString& message);
    // The source went away without the operator closing it.
    void lost(const QString& statusText, const QString& reason);
    void setStatus(common::LinkHealth health, const QString& text, const QString& detail = {});
    QString telnetAddress() const;
    void takeLine(SpotLineQueue::Path path, const QString& line);
    void afterLinesTaken();
    void forgetWaitingLines();

    SpotTerminal& m_terminal;
    SpotPaths& m_paths;
    Sources m_sources;
    platform::Dialogs& m_dialogs;
    std::function<QString()> m_ownCall;
    QTimer m_timer;
    QString m_source;
    QString m_host;
    QString m_portText;
    TncSettings m_tncSettings;
    QString m_agwHost = QStringLiteral("127.0.0.1");
    quint16 m_agwPort = 8000;
    bool m_listening = false;
    common::LinkStatus m_status;
    int m_ticksSinceSpot = 0;
    SpotLineQueue m_queue;
    // What the cluster said after the lines still waiting.
    QString m_promptAfterLines;
    QString m_failureAfterLines;
    bool m_hungUpAfterLines = false;
};

} // namespace tenlog::spots
