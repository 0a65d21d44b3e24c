#include "DirewolfProcess.h"

#include "EmulatorProcess.h"

#include "platform/WavInfo.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

namespace tenlog::testing {

namespace {

const QString kDirewolf = QStringLiteral("direwolf");
const QString kGenPackets = QStringLiteral("gen_packets");
constexpr int kChunkMs = 20;
constexpr int kBytesPerSample = 2;
constexpr qsizetype kChunkBytes = DirewolfProcess::kSampleRate / 1000 * kChunkMs * kBytesPerSample;

quint16 freeTcpPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}

quint16 freeUdpPort()
{
    QUdpSocket probe;
    return probe.bind(QHostAddress::LocalHost, 0) ? probe.localPort() : 0;
}

void waitMs(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

QString DirewolfProcess::missingPrograms()
{
    QStringList missing;
    for (const QString& program : {kDirewolf, kGenPackets}) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            missing.append(program);
    }
    return missing.join(QStringLiteral(" and "));
}

DirewolfProcess::DirewolfProcess(const QString& myCall)
{
    m_agwPort = freeTcpPort();
    m_audioPort = freeUdpPort();
    // Only what is written here is configured: without PTT, beacons, an
    // IGate server or digipeater rules the engine sends nothing anywhere.
    const QByteArray configuration = "ADEVICE UDP:" + QByteArray::number(m_audioPort) + " null\n"
                                   + "ACHANNELS 1\n"
                                   + "ARATE " + QByteArray::number(kSampleRate) + "\n"
                                   + "CHANNEL 0\n"
                                   + "MYCALL " + myCall.toLatin1() + "\n"
                                   + "MODEM 1200\n"
                                   + "AGWPORT " + QByteArray::number(m_agwPort) + "\n"
                                   + "KISSPORT 0\n";
    QFile file(m_folder.filePath(QStringLiteral("direwolf.conf")));
    if (file.open(QIODevice::WriteOnly))
        file.write(configuration);
    m_process.setWorkingDirectory(m_folder.path());
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

DirewolfProcess::~DirewolfProcess()
{
    stopChildProcess(m_process);
}

bool DirewolfProcess::start(int milliseconds)
{
    if (!m_folder.isValid() || m_agwPort == 0 || m_audioPort == 0)
        return false;
    // -t 0: no colour escapes in the output; -q d: no APRS decoding.
    m_process.start(QStandardPaths::findExecutable(kDirewolf),
                    {QStringLiteral("-c"), m_folder.filePath(QStringLiteral("direwolf.conf")), QStringLiteral("-t"),
                     QStringLiteral("0"), QStringLiteral("-q"), QStringLiteral("d")});
    if (!m_process.waitForStarted(5000))
        return false;
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_agwPort);
        if (probe.waitForConnected(200)) {
            probe.abort();
            return true;
        }
        m_process.waitForFinished(100);
    }
    return false;
}

QByteArray DirewolfProcess::packetAudio(const QString& monitorText)
{
    // Without a line end: gen_packets would keep it in the info field.
    QFile text(m_folder.filePath(QStringLiteral("packet.txt")));
    if (!text.open(QIODevice::WriteOnly) || text.write(monitorText.toLatin1()) != monitorText.size())
        return {};
    text.close();
    const QString wavPath = m_folder.filePath(QStringLiteral("packet.wav"));
    QProcess generator;
    generator.setProcessChannelMode(QProcess::MergedChannels);
    generator.start(QStandardPaths::findExecutable(kGenPackets),
                    {QStringLiteral("-r"), QString::number(kSampleRate), QStringLiteral("-o"), wavPath, text.fileName()});
    const bool finished = generator.waitForFinished(10000);
    m_output += QString::fromLocal8Bit(generator.readAll());
    if (!finished || generator.exitStatus() != QProcess::NormalExit || generator.exitCode() != 0)
        return {};
    QByteArray contents;
    const auto wav = platform::readWav(wavPath, &contents);
    if (!wav || wav->isFloat || wav->channels != 1 || wav->bitsPerSample != 16 || wav->sampleRate != kSampleRate)
        return {};
    return contents.mid(wav->dataOffset, wav->dataBytes);
}

void DirewolfProcess::play(const QByteArray& samples)
{
    const QByteArray sound = samples + QByteArray(kSampleRate / 2 * kBytesPerSample, '\0');
    QUdpSocket sender;
    QElapsedTimer clock;
    clock.start();
    for (qsizetype at = 0, chunk = 0; at < sound.size(); at += kChunkBytes, ++chunk) {
        sender.writeDatagram(sound.mid(at, kChunkBytes), QHostAddress::LocalHost, m_audioPort);
        // Each datagram keeps its own time, so late wake-ups do not add up.
        waitMs(static_cast<int>((chunk + 1) * kChunkMs - clock.elapsed()));
    }
}

QString DirewolfProcess::output()
{
    m_output += QString::fromLocal8Bit(m_process.readAll());
    return m_output;
}

} // namespace tenlog::testing
