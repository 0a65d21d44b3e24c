// AudioPlayer on Qt Multimedia: the WAV file is read and parsed here and its
// samples are fed to a QAudioSink on the default output. QMediaPlayer is not
// used because on a machine without the right GStreamer plugins or without a
// sound server it reports "playing" forever; a sink either opens the device
// or refuses at once. Without an output device play() returns false.
#pragma once

#include "platform/AudioPlayer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QtMultimedia/qaudio.h>

#include <memory>
#include <vector>

class QAudioSink;

namespace tenlog::platform {

class QtAudioPlayer final : public QObject, public AudioPlayer {
    Q_OBJECT
public:
    explicit QtAudioPlayer(QObject* parent = nullptr);
    ~QtAudioPlayer() override;

    bool play(const QString& wavPath) override;
    void stop() override;
    bool isPlaying() const override;
    void setFinishedHandler(std::function<void()> handler) override;

private:
    void onStateChanged(QAudio::State state);
    // Ends the playback once it has lasted as long as its samples do: the
    // sink reports idle as soon as it has handed the last samples to the
    // sound server, which may still be sounding them.
    void endWhenHeard();
    void finish();
    void release();

    QAudioSink* m_sink = nullptr; // deleted later: it may be the sender of the signal being handled
    std::vector<QPointer<QAudioSink>> m_retired; // ended, their deferred deletion not yet done
    bool m_starting = false;
    qint64 m_durationMs = 0;
    QElapsedTimer m_started;
    QTimer m_end;      // the end of a playback whose samples have been handed over
    QTimer m_watchdog; // a sink that stops pulling samples must not play forever
    std::function<void()> m_finished;
};

} // namespace tenlog::platform
