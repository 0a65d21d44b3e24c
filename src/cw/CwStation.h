// CW sending as the operator drives it: the F-key messages with their
// wildcards, keyboard CW, the F1 repeat, the speed keys, and the keying port
// with its shared-port rule (opening the CW keying port closes the voice
// keyer's PTT port, which may be the same device). It feeds the keying engine
// and makes the key line for the output chosen; with the WinKey keyer as the
// output the engine's buffer is handed to the keyer's station instead.
// Lives on the user-interface thread; nothing here waits.
#pragma once

#include "cw/CwKeyer.h"
#include "cw/CwSettings.h"
#include "platform/PortIo.h"
#include "platform/SerialPort.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace tenlog::cw {

class WinKeyStation;

class CwStation final : public QObject {
    Q_OBJECT
public:
    struct Parts {
        CwKeyer& keyer;
        platform::SerialPort& keyingPort;
        // The voice keyer's PTT port, closed when the keying port opens.
        platform::SerialPort& pttPort;
        platform::PortIo& parallelPort;
        // The call in the main window's call field.
        std::function<QString()> currentCall;
    };

    explicit CwStation(Parts parts, QObject* parent = nullptr);
    ~CwStation() override;

    const CwSettings& settings() const { return m_settings; }
    // Takes new settings (from CW.txt or the setup window) and passes speed,
    // word space and output on to the engine.
    void setSettings(const CwSettings& settings);
    KeyOutput output() const { return m_settings.output; }
    bool hasOutput() const { return m_settings.output != KeyOutput::None; }

    // Sends the message of a function key (112-124), replacing whatever
    // still waits. F1 arms the repeat while the pause is above 0.
    void sendFunctionKey(int keyCode);
    // Keyboard CW: a typed character joins the sending.
    void sendTyped(QChar character);
    // The WinKey keyer's station, for the WinKey keying output.
    void attachWinKey(WinKeyStation* winKey);
    WinKeyStation* winKey() const { return m_winKey; }
    bool keyingThroughWinKey() const { return m_winKey && m_settings.output == KeyOutput::WinKey; }

    // Backspace in keyboard CW: takes back the last unsent character, from
    // the CW buffer or, when nothing waits there, from the WinKey keyer.
    bool takeBackTyped();
    // Esc, a close request: sending stops after the current character; the
    // WinKey keyer's buffer is emptied at once.
    void stopSending();
    // The program's own keying is running (never with the WinKey keyer).
    bool isSending() const { return m_keyer.isSending(); }
    // The WinKey keyer is the output and is sending or has text waiting.
    bool winKeyBusy() const;
    QString unsent() const { return m_keyer.unsent(); }

    bool keyboardCw() const { return m_keyboardCw; }
    void setKeyboardCw(bool on) { m_keyboardCw = on; }
    bool repeatArmed() const { return m_repeat; }
    // Any main-window key: the F1 repeat ends, with the text still waiting.
    void stopRepeat();

    // Code practice: one character, sent like keyboard CW.
    void sendPractice(QChar character);

    // The speed keys; the speed is not bounded here (the engine clamps it).
    void faster();
    void slower();
    // "12 WPM", as the main window shows it after a speed key.
    QString speedText() const;

    // (Re)opens the keying serial port from the port number. False, with
    // openError() set, when it cannot be opened.
    bool openKeyingPort();
    QString openError() const { return m_openError; }
    // The timed F1 repeat interval in milliseconds (0 when off).
    int repeatIntervalMs() const;

signals:
    // The "!" of a message came up with a call in the call field.
    void logContactRequested();
    // The unsent rest of the text, for the main window's status line.
    void unsentChanged(const QString& rest);
    void sendingFinished();
    // The keying port could not be opened, or stopped working while open.
    void keyingPortFailed(const QString& title, const QString& message, const QString& detail);
    // A key line failed while keying (the parallel port, a device gone).
    void keyLineFailed(const QString& reason);
    void speedChanged(const QString& wpmText);
    // A character has gone out (own timing: keyed; WinKey: started by the keyer).
    void characterKeyed(QChar character);
    // Nothing waits in the CW buffer any more: the next text can come.
    void readyForText();
    // The WinKey keyer could not be opened or stopped answering; its text
    // was dropped. Said as a message box would say it.
    void winKeyProblem(const QString& title, const QString& text);

private:
    void applyOutput();
    void start(const QString& text);
    void onFinished();
    void followSpeed();

    CwKeyer& m_keyer;
    platform::SerialPort& m_keyingPort;
    platform::SerialPort& m_pttPort;
    platform::PortIo& m_parallelPort;
    std::function<QString()> m_currentCall;
    CwSettings m_settings;
    bool m_keyboardCw = false;
    bool m_repeat = false;
    QTimer m_repeatTimer;
    QString m_sentRst;
    QString m_sentNumber;
    QString m_openError;
    WinKeyStation* m_winKey = nullptr;
    // A message with "!" waits for the keyer to open before the contact is
    // logged: a keyer that cannot be reached sends nothing, so nothing is logged.
    bool m_logWhenKeyerOpens = false;
};

} // namespace tenlog::cw
