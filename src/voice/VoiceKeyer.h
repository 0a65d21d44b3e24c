// The voice keyer: in phone mode F1-F9 play WAV messages with the
// transmitter's PTT keyed for exactly the playback, on the RTS or DTR line of
// a serial port or on the parallel port. F1 can repeat after a pause, for
// calling CQ. Opening the PTT port closes the CW keying port (the two may be
// the same device). A file that cannot be played is named with the reason,
// and PTT is never left keyed: it is let up when the playback ends, is cut
// off, fails to start, and when the keyer goes.
#pragma once

#include "platform/AudioPlayer.h"
#include "platform/PortIo.h"
#include "platform/SerialPort.h"
#include "voice/VoiceKeyerSettings.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace tenlog::voice {

class VoiceKeyer final : public QObject {
    Q_OBJECT
public:
    struct Parts {
        platform::AudioPlayer& player;
        platform::SerialPort& pttPort;
        // The CW keying port, closed when the PTT port opens.
        platform::SerialPort& cwKeyingPort;
        platform::PortIo& parallelPort;
    };

    explicit VoiceKeyer(Parts parts, QObject* parent = nullptr);
    ~VoiceKeyer() override;

    const VoiceKeyerSettings& settings() const { return m_settings; }
    // A message file named without a folder (the shipped examples) is looked
    // for in this folder: the working folder.
    void setBaseFolder(const QString& folder) { m_baseFolder = folder; }
    void setSettings(const VoiceKeyerSettings& settings);

    // Plays the message of F1-F9 (112-120); whatever plays is cut off first.
    void playKey(int keyCode);
    // Esc: cuts the playback off and lets PTT up.
    void stopPlayback();
    bool isPlaying() const { return m_player.isPlaying(); }
    bool pttKeyed() const { return m_keyed; }

    bool repeatArmed() const { return m_repeat; }
    // Any main-window key, or the Stop button: no more repeats.
    void stopRepeat();
    int repeatIntervalMs() const;

    // (Re)opens the PTT serial port from its number; false (with a message
    // signalled) when it cannot be opened.
    bool openPttPort();
    // Runs before the PTT port opens: the WinKey keyer, which may be on the
    // same device, is closed there.
    void setBeforePortOpens(std::function<void()> hook) { m_beforePortOpens = std::move(hook); }

signals:
    // Something the operator must read: the title and text of a message box.
    void problem(const QString& title, const QString& text);
    void playbackEnded();

private:
    void keyPtt();
    void releasePtt();
    void setPttLines(bool keyed);
    void onPlaybackEnded();
    QString whyUnplayable(const QString& path) const;

    platform::AudioPlayer& m_player;
    platform::SerialPort& m_pttPort;
    platform::SerialPort& m_cwKeyingPort;
    platform::PortIo& m_parallelPort;
    VoiceKeyerSettings m_settings;
    QString m_baseFolder;
    bool m_keyed = false;
    bool m_repeat = false;
    QTimer m_repeatTimer;
    QTimer m_watch; // a playback that ends without telling us still lets PTT up
    std::function<void()> m_beforePortOpens;
};

} // namespace tenlog::voice
