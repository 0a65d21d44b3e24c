// WAV playback through QAudioSink.
#include "platform/qt/QtAudioPlayer.h"

#include "platform/WavInfo.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QMediaDevices>

#include <climits>

namespace tenlog::platform {

namespace {

// Past its own length a playback is given this long to report its end
// before it is taken as stuck and ended.
constexpr qint64 kStuckAfterMs = 5000;

// 24-bit samples have no Qt sample format: widen them to 32 bits.
QByteArray widen24(const QByteArray& samples)
{
    QByteArray wide(samples.size() / 3 * 4, Qt::Uninitialized);
    char* out = wide.data();
    for (qsizetype i = 0; i + 2 < samples.size(); i += 3) {
        *out++ = 0;
        *out++ = samples[i];
        *out++ = samples[i + 1];
        *out++ = samples[i + 2];
    }
    return wide;
}

QAudioFormat::SampleFormat sampleFormat(const platform::WavInfo& info)
{
    if (info.isFloat)
        return QAudioFormat::Float;
    switch (info.bitsPerSample) {
    case 8:
        return QAudioFormat::UInt8;
    case 16:
        return QAudioFormat::Int16;
    default:
        return QAudioFormat::Int32; // 24-bit ones are widened
    }
}

} // namespace

QtAudioPlayer::QtAudioPlayer(QObject* parent)
    : QObject(parent)
{
    m_end.setSingleShot(true);
    m_watchdog.setSingleShot(true);
    connect(&m_end, &QTimer::timeout, this, &QtAudioPlayer::finish);
    connect(&m_watchdog, &QTimer::timeout, this, &QtAudioPlayer::finish);
}

QtAudioPlayer::~QtAudioPlayer()
{
    m_finished = {};
    m_end.stop();
    m_watchdog.stop();
    // Gone now, not later: the Pulse sink runs the event loop while it is
    // destroyed, which must not happen while this object is half taken down.
    delete m_sink;
    // The ended sinks still wait for their deferred deletion. Each is taken
    // down here, one at a time and with that deletion withdrawn first: the
    // event loop a Pulse sink runs as it goes would otherwise deliver it and
    // delete the sink a second time, inside its own destructor.
    while (!m_retired.empty()) {
        const QPointer<QAudioSink> sink = m_retired.back();
        m_retired.pop_back();
        if (!sink)
            continue; // an earlier one's event loop took it
        QCoreApplication::removePostedEvents(sink, QEvent::DeferredDelete);
        delete sink.data();
    }
}


void QtAudioPlayer::setFinishedHandler(std::function<void()> handler)
{
    m_finished = std::move(handler);
}

bool QtAudioPlayer::isPlaying() const
{
    return m_sink != nullptr;
}

void QtAudioPlayer::stop()
{
    release();
}

bool QtAudioPlayer::play(const QString& wavPath)
{
    release();

    QByteArray file;
    const std::optional<platform::WavInfo> info = platform::readWav(wavPath, &file);
    if (!info || info->frames() == 0)
        return false;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    QAudioFormat format;
    format.setSampleRate(info->sampleRate);
    format.setChannelCount(info->channels);
    format.setSampleFormat(sampleFormat(*info));
    if (!device.isFormatSupported(format))
        return false;

    QByteArray samples = file.mid(info->dataOffset, info->dataBytes);
    if (info->bitsPerSample == 24)
        samples = widen24(samples);
    file.clear();

    m_sink = new QAudioSink(device, format, this);
    auto* buffer = new QBuffer(m_sink);
    buffer->setData(samples);
    buffer->open(QIODevice::ReadOnly);
    connect(m_sink, &QAudioSink::stateChanged, this, &QtAudioPlayer::onStateChanged);

    // The sink may report on the device from inside start(); none of that
    // may reach the finished handler, which must never run inside play().
    m_starting = true;
    m_sink->start(buffer);
    m_starting = false;
    if (m_sink->error() != QAudio::NoError || m_sink->state() == QAudio::StoppedState) {
        release();
        return false;
    }
    m_durationMs = info->durationMs();
    m_started.start();
    m_watchdog.start(static_cast<int>(std::min<qint64>(m_durationMs + kStuckAfterMs, INT_MAX)));
    return true;
}

void QtAudioPlayer::onStateChanged(QAudio::State state)
{
    if (m_starting || !m_sink)
        return;
    if (state == QAudio::IdleState)
        endWhenHeard();
    else if (state == QAudio::StoppedState)
        finish(); // the device went away or failed mid-way
}

void QtAudioPlayer::endWhenHeard()
{
    if (m_end.isActive())
        return;
    const qint64 left = m_durationMs - m_started.elapsed();
    if (left <= 0)
        finish();
    else
        m_end.start(static_cast<int>(left));
}

void QtAudioPlayer::finish()
{
    if (!m_sink)
        return;
    release();
    if (m_finished)
        m_finished();
}

void QtAudioPlayer::release()
{
    m_end.stop();
    m_watchdog.stop();
    if (!m_sink)
        return;
    QAudioSink* sink = m_sink;
    m_sink = nullptr;
    sink->disconnect(this);
    sink->stop();
    // Later, from the loop this runs in: a sink must not go inside its own
    // signal, nor in a dialog's loop opened from the finished handler.
    std::erase_if(m_retired, [](const QPointer<QAudioSink>& gone) { return gone.isNull(); });
    m_retired.push_back(sink);
    sink->deleteLater();
}

} // namespace tenlog::platform
