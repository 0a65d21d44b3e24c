// Runs the real direwolf packet engine for a device test, with nothing that
// reaches past this machine: no sound card (received audio comes as UDP
// datagrams on loopback, transmitted audio goes nowhere), one 1200 baud AFSK
// channel, the AGW interface on a free port, KISS off, no beacons, no IGate,
// no digipeating. Packets are made by direwolf's own gen_packets and played
// into the audio port at about real-time pace. The engine is stopped by its
// own process id when the object goes.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace tenlog::testing {

class DirewolfProcess {
public:
    static constexpr int kSampleRate = 44100;

    // Names the programs that are not installed; empty when both are.
    static QString missingPrograms();

    // Writes the configuration; myCall is the engine's own station call.
    explicit DirewolfProcess(const QString& myCall);
    ~DirewolfProcess();

    DirewolfProcess(const DirewolfProcess&) = delete;
    DirewolfProcess& operator=(const DirewolfProcess&) = delete;

    // Starts direwolf and waits until its AGW port takes connections; false
    // when it did not start, ended, or never listened in time.
    bool start(int milliseconds = 15000);
    quint16 agwPort() const { return m_agwPort; }

    // The audio of one packet written in monitor form ("K1ABC>CQ:text"):
    // signed 16-bit little-endian mono samples at kSampleRate. Empty when
    // gen_packets failed or gave another format.
    QByteArray packetAudio(const QString& monitorText);

    // Sends samples to the audio port in 20 ms datagrams at real-time pace,
    // then half a second of silence so the demodulator has seen the end of
    // the frame. The event loop runs meanwhile.
    void play(const QByteArray& samples);

    // Everything direwolf and gen_packets printed so far, for failure messages.
    QString output();

private:
    QTemporaryDir m_folder;
    QProcess m_process;
    quint16 m_agwPort = 0;
    quint16 m_audioPort = 0;
    QString m_output;
};

} // namespace tenlog::testing
