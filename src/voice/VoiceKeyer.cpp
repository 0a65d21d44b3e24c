#include "voice/VoiceKeyer.h"

#include "platform/ParallelKeyLine.h"
#include "platform/SerialKeyLine.h"
#include "platform/WavInfo.h"
#include "text/NumberText.h"

#include <QDir>
#include <QFileInfo>

namespace tenlog::voice {

VoiceKeyer::VoiceKeyer(Parts parts, QObject* parent)
    : QObject(parent)
    , m_player(parts.player)
    , m_pttPort(parts.pttPort)
    , m_cwKeyingPort(parts.cwKeyingPort)
    , m_parallelPort(parts.parallelPort)
{
    m_repeatTimer.setSingleShot(true);
    connect(&m_repeatTimer, &QTimer::timeout, this, [this] { playKey(112); });
    m_watch.setInterval(40);
    connect(&m_watch, &QTimer::timeout, this, [this] {
        if (!m_player.isPlaying())
            onPlaybackEnded();
    });
    m_player.setFinishedHandler([this] { onPlaybackEnded(); });
    // A PTT interface pulled out mid-message: the transmitter is no longer
    // keyed, so the message and any repeat stop, and the operator is told.
    m_pttPort.setFailureHandler([this](const QString& reason) {
        stopRepeat();
        stopPlayback();
        emit problem(QStringLiteral("Invalid port."),
                     QStringLiteral("The PTT port stopped working, so the message was stopped. The next message "
                                    "tries to open the port again.\n\n")
                         + reason);
    });
}

VoiceKeyer::~VoiceKeyer()
{
    m_pttPort.setFailureHandler({});
    m_player.setFinishedHandler({});
    m_player.stop();
    releasePtt();
}

void VoiceKeyer::setSettings(const VoiceKeyerSettings& settings)
{
    if (m_keyed)
        releasePtt(); // the line or port may change under a keyed PTT
    if (settings.port != m_settings.port && m_pttPort.isOpen())
        m_pttPort.close();
    m_settings = settings;
}

int VoiceKeyer::repeatIntervalMs() const
{
    const double seconds = text::val(m_settings.repeatSeconds);
    if (!text::isNumeric(m_settings.repeatSeconds) || seconds < 0 || seconds >= 60)
        return 0;
    return int(seconds * 1000);
}

bool VoiceKeyer::openPttPort()
{
    const double number = text::val(m_settings.port);
    if (!(number > 0))
        return true;
    if (m_beforePortOpens)
        m_beforePortOpens();
    if (platform::openForKeying(m_pttPort, int(number), m_cwKeyingPort))
        return true;
    emit problem(QStringLiteral("Invalid port."),
                 QStringLiteral("The port you have selected for Phone keying is invalid.  Please select another or enter 0 for none.\n\n")
                     + m_pttPort.errorString());
    return false;
}

QString VoiceKeyer::whyUnplayable(const QString& path) const
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("the file does not exist");
    if (!info.isFile() || !info.isReadable())
        return QStringLiteral("the file cannot be read");
    if (!platform::readWav(path))
        return QStringLiteral("it is not an uncompressed WAV sound");
    return {};
}

void VoiceKeyer::playKey(int keyCode)
{
    if (keyCode < 112 || keyCode > 120)
        return;
    m_repeatTimer.stop();
    // Cut off what plays; PTT stays keyed if the next message follows at once.
    m_player.stop();
    m_watch.stop();
    if (keyCode == 112 && repeatIntervalMs() > 0)
        m_repeat = true;
    QString path = m_settings.files[size_t(keyCode - 112)].trimmed();
    if (!path.isEmpty() && QFileInfo(path).isRelative() && !m_baseFolder.isEmpty())
        path = QDir(m_baseFolder).filePath(path);
    if (path.isEmpty()) {
        releasePtt();
        return;
    }
    const QString why = whyUnplayable(path);
    if (!why.isEmpty()) {
        releasePtt();
        m_repeat = false;
        emit problem(QStringLiteral("Voice message"), QStringLiteral("F%1 cannot be played: %2 (%3).").arg(keyCode - 111).arg(why, path));
        return;
    }
    keyPtt();
    if (!m_player.play(path)) {
        releasePtt();
        m_repeat = false;
        emit problem(QStringLiteral("Voice message"),
                     QStringLiteral("F%1 cannot be played: the sound card refused it (%2).").arg(keyCode - 111).arg(path));
        return;
    }
    m_watch.start();
}

void VoiceKeyer::stopPlayback()
{
    m_player.stop();
    m_watch.stop();
    releasePtt();
}

void VoiceKeyer::stopRepeat()
{
    m_repeat = false;
    m_repeatTimer.stop();
}

void VoiceKeyer::onPlaybackEnded()
{
    if (!m_watch.isActive())
        return; // cut off, or already handled
    m_watch.stop();
    releasePtt();
    if (m_repeat && repeatIntervalMs() > 0)
        m_repeatTimer.start(repeatIntervalMs());
    emit playbackEnded();
}

void VoiceKeyer::keyPtt()
{
    if (text::val(m_settings.port) > 0 && !m_pttPort.isOpen())
        openPttPort();
    setPttLines(true);
    m_keyed = true;
}

void VoiceKeyer::releasePtt()
{
    if (!m_keyed)
        return;
    m_keyed = false;
    setPttLines(false);
}

void VoiceKeyer::setPttLines(bool keyed)
{
    // "Parallel" keys the serial line too when a port is given.
    if (text::val(m_settings.port) > 0) {
        if (m_settings.line == PttLine::Dtr)
            m_pttPort.setDtr(keyed);
        else
            m_pttPort.setRts(keyed);
    }
    if (m_settings.line == PttLine::Parallel) {
        platform::ParallelKeyLine line(m_parallelPort, m_settings.parallelAddress);
        if (!line.setKeyDown(keyed) && keyed)
            emit problem(QStringLiteral("Voice keyer"), line.errorString());
    }
}

} // namespace tenlog::voice
