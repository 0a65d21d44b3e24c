// The WinKey keyer as the operator drives it: its settings (WK.txt), open
// and close with the shared-port rule (opening the keyer closes the CW
// keying and PTT ports, which may be the same device), the settings sent
// whenever they change while the keyer is open, and the feed that hands the
// CW buffer to the keyer as it has room. The keyer is opened on demand when
// text comes and it is not open; text that cannot reach it is dropped and
// the operator told. Everything runs on the event loop; nothing waits.
#pragma once

#include "cw/CwKeyer.h"
#include "cw/WinKeyDriver.h"
#include "cw/WinKeySettings.h"
#include "platform/SerialPort.h"

#include <QObject>

namespace tenlog::cw {

class WinKeyStation final : public QObject {
    Q_OBJECT
public:
    struct Parts {
        WinKeyDriver& driver;
        // The CW buffer, in hand-off while the keyer is the keying output.
        CwKeyer& buffer;
        // Closed before the keyer opens: the same device may serve all three.
        platform::SerialPort& cwKeyingPort;
        platform::SerialPort& pttPort;
        QString userDataFolder;
    };

    explicit WinKeyStation(Parts parts, QObject* parent = nullptr);

    const WinKeySettings& settings() const { return m_settings; }
    // The fields as the window holds them; nothing is sent.
    void setSettings(const WinKeySettings& settings);
    // Pin configuration 6 and mode 0, then WK.txt over them. False with
    // *problem set when the file is damaged (a missing file is no fault).
    bool load(QString* problem = nullptr);
    bool save(QString* error);

    // "Open": closes the shared ports and opens the keyer; the result comes
    // by statusText(), versionText() and, on failure, problem().
    void open();
    // "Close": the keyer's buffer cleared, host mode ended, the port let go.
    void close();
    bool isOpen() const { return m_driver.isOpen(); }
    // Sends every setting, checking each field as when it is left.
    void applySettings();
    // A field was left: checked (and corrected), and sent when valid.
    void wpmLeft(const QString& text);
    void weightLeft(const QString& text);
    void ratioLeft(const QString& text);
    void leadInLeft(const QString& leadIn, const QString& tail);
    void tailLeft(const QString& leadIn, const QString& tail);
    void portLeft(const QString& text);
    void chooseMode(int value);
    void choosePinConfig(int value);

    // The CW speed changed: it shows here, and reaches the keyer when open,
    // keying through it, and above 4 and below 100.
    void followCwSpeed(const QString& wpm, bool keyingThroughKeyer);

    // "Stop": the keyer's buffer and the CW buffer emptied.
    void stop();
    // "Test": "VVV TEST DE " and the own call; "Buffer Test": the alphabet
    // and a space, three times.
    void sendTest(const QString& ownCall);
    void sendBufferTest();
    // A key typed into the window's typing box.
    void typed(QChar character);

    // The keyer is sending or text waits for it.
    bool isBusy() const;
    // Esc, a stopped repeat: the keyer's buffer emptied when it is open.
    void clearKeyer();
    // Backspace in keyboard CW when nothing waits in the CW buffer: the
    // keyer's last character not yet sent is taken back.
    bool takeBackFromKeyer();

    QString statusText() const { return m_statusText; }
    QString versionText() const { return m_versionText; }
    // The keyer's live values for the window's display fields.
    QString keyerStatusText() const;
    QString speedPotText() const;
    QString echoText() const { return m_echoText; }

signals:
    void settingsChanged();
    void statusTextChanged(const QString& text);
    void versionTextChanged(const QString& text);
    // An open finished (opened or not).
    void openFinished(bool opened);
    // Something the operator must read, as a message box would say it.
    void problem(const QString& title, const QString& text);
    // The live values changed.
    void keyerChanged();
    // The keyer has started to send this character.
    void characterKeyed(QChar character);
    // Everything waiting has been handed to the keyer, or dropped.
    void feedFinished();

private:
    void onOpenFinished(WinKeyDriver::Result result, int version);
    void onLost(const QString& reason);
    void feed();
    void dropWaitingText();
    void setStatusText(const QString& text);
    void setVersionText(const QString& text);

    WinKeyDriver& m_driver;
    CwKeyer& m_buffer;
    platform::SerialPort& m_cwKeyingPort;
    platform::SerialPort& m_pttPort;
    QString m_folder;
    WinKeySettings m_settings;
    QString m_statusText = QStringLiteral("Closed");
    QString m_versionText = QStringLiteral("Version #");
    QString m_echoText;
    bool m_feeding = false;
};

} // namespace tenlog::cw
