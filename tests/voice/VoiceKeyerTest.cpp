#include "voice/VoiceKeyer.h"

#include "platform/DurableFile.h"

#include "FakeSerialPort.h"
#include "RecordingPortIo.h"
#include "SettableClock.h"
#include "WavDurationPlayer.h"
#include "CoreApplicationEnvironment.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace tenlog;
using tenlog::testing::FakeSerialPort;
using tenlog::testing::RecordingPortIo;
using tenlog::testing::SettableClock;
using tenlog::testing::WavDurationPlayer;

namespace {


const QString callWav = QStringLiteral(TENLOG_SOURCE_DATA_DIR "/Call.wav");

struct Keyer {
    SettableClock clock;
    WavDurationPlayer player {clock};
    FakeSerialPort pttPort;
    FakeSerialPort cwPort;
    RecordingPortIo parallel;
    QStringList problems;
    voice::VoiceKeyer keyer {{player, pttPort, cwPort, parallel}};

    explicit Keyer(voice::PttLine line = voice::PttLine::Rts, const QString& port = QStringLiteral("2"))
    {
        QObject::connect(&keyer, &voice::VoiceKeyer::problem, [this](const QString&, const QString& text) { problems << text; });
        voice::VoiceKeyerSettings s;
        s.files[0] = callWav;
        s.files[1] = QStringLiteral("/nonexistent/F2.wav");
        s.port = port;
        s.line = line;
        keyer.setSettings(s);
    }
};

} // namespace

TEST(VoiceKeyer, PttIsKeyedForExactlyThePlaybackOnTheChosenLine)
{
    const struct {
        voice::PttLine line;
        const char* port;
        const char* serial;   // line calls after the port's own opening calls
        std::vector<std::pair<int, int>> parallel;
    } rows[] = {
        {voice::PttLine::Rts, "2", "rts 1,rts 0", {}},
        {voice::PttLine::Dtr, "2", "dtr 1,dtr 0", {}},
        {voice::PttLine::Parallel, "2", "rts 1,rts 0", {{0x378, 3}, {0x378, 2}}},
        {voice::PttLine::Parallel, "0", "", {{0x378, 3}, {0x378, 2}}},
    };
    for (const auto& row : rows) {
        Keyer k(row.line, QString::fromLatin1(row.port));
        ASSERT_TRUE(k.cwPort.open());
        k.keyer.playKey(112);
        EXPECT_TRUE(k.keyer.pttKeyed());
        EXPECT_EQ(k.player.current(), callWav);
        EXPECT_EQ(k.cwPort.isOpen(), QByteArray(row.port) == "0"); // the shared device
        k.player.playToEnd();
        EXPECT_FALSE(k.keyer.pttKeyed());
        QStringList calls = k.pttPort.calls();
        calls = calls.mid(calls.lastIndexOf(QStringLiteral("open")) + 1);
        EXPECT_EQ(calls.join(QLatin1Char(',')), QString::fromLatin1(row.serial)) << row.port;
        EXPECT_EQ(k.parallel.writes(), row.parallel);
        EXPECT_TRUE(k.problems.isEmpty());
    }
}

TEST(VoiceKeyer, CutOffsLetPttUp)
{
    const struct {
        const char* name;
        std::function<void(Keyer&)> cut;
        bool said; // the operator is told
    } rows[] = {
        {"empty F3", [](Keyer& k) { k.keyer.playKey(114); }, false},
        {"esc", [](Keyer& k) { k.keyer.stopPlayback(); }, false},
        {"settings change", [](Keyer& k) { auto s = k.keyer.settings(); s.line = voice::PttLine::Dtr; k.keyer.setSettings(s); }, false},
        {"PTT interface pulled out", [](Keyer& k) { k.pttPort.failUnderneath(QStringLiteral("COM2 went away")); }, true},
    };
    for (const auto& row : rows) {
        Keyer k;
        k.keyer.playKey(112);
        k.player.advanceMs(100);
        row.cut(k);
        EXPECT_FALSE(k.pttPort.rts()) << row.name;
        EXPECT_FALSE(k.keyer.pttKeyed()) << row.name;
        EXPECT_EQ(k.problems.size(), row.said ? 1 : 0) << row.name;
        if (row.said) {
            EXPECT_FALSE(k.keyer.isPlaying()) << row.name;
            EXPECT_TRUE(k.problems.value(0).endsWith(QLatin1String("COM2 went away"))) << row.name;
        }
    }
    // A new message over a running one keeps PTT keyed.
    Keyer k;
    k.keyer.playKey(112);
    k.keyer.playKey(112);
    EXPECT_TRUE(k.pttPort.rts());
    EXPECT_EQ(k.player.cutOff, 1);
}

TEST(VoiceKeyer, FilesThatCannotPlayAreNamedAndNeverKeyPtt)
{
    QTemporaryDir dir;
    const QString notWav = dir.filePath(QStringLiteral("notes.wav"));
    QFile file(notWav);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is text, not sound");
    file.close();
    const struct {
        QString path;
        QString message;
    } rows[] = {
        {QStringLiteral("/nonexistent/F1.wav"), QStringLiteral("F1 cannot be played: the file does not exist (/nonexistent/F1.wav).")},
        {notWav, QStringLiteral("F1 cannot be played: it is not an uncompressed WAV sound (%1).").arg(notWav)},
        {dir.path(), QStringLiteral("F1 cannot be played: the file cannot be read (%1).").arg(dir.path())},
    };
    for (const auto& row : rows) {
        Keyer k;
        auto s = k.keyer.settings();
        s.files[0] = row.path;
        s.repeatSeconds = QStringLiteral("5");
        k.keyer.setSettings(s);
        k.keyer.playKey(112);
        EXPECT_EQ(k.problems, QStringList(row.message));
        EXPECT_FALSE(k.pttPort.calls().contains(QStringLiteral("rts 1")));
        EXPECT_FALSE(k.keyer.repeatArmed()); // a broken F1 does not call CQ every 5 s
    }
}

TEST(VoiceKeyer, PortThatCannotOpenIsReportedAndThePlaybackGoesOn)
{
    Keyer k;
    k.pttPort.refuseOpen(QStringLiteral("COM2 (/dev/ttyS1) cannot be opened: the device is not there."));
    k.keyer.playKey(112);
    ASSERT_EQ(k.problems.size(), 1);
    EXPECT_TRUE(k.problems[0].startsWith(
        QStringLiteral("The port you have selected for Phone keying is invalid.  Please select another or enter 0 for none.")));
    EXPECT_TRUE(k.keyer.isPlaying());
    k.player.playToEnd();
    EXPECT_FALSE(k.pttPort.rts());
}

TEST(VoiceKeyer, FirstKeyRepeatsAfterThePauseUntilStopped)
{
    Keyer k;
    auto s = k.keyer.settings();
    s.repeatSeconds = QStringLiteral("0.05");
    k.keyer.setSettings(s);
    k.keyer.playKey(112);
    EXPECT_TRUE(k.keyer.repeatArmed());
    k.player.playToEnd();
    const QDeadlineTimer deadline(5000);
    while (k.player.played.size() < 2 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_EQ(k.player.played.size(), 2);
    k.keyer.stopRepeat();
    k.player.playToEnd();
    QDeadlineTimer quiet(200);
    while (!quiet.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_EQ(k.player.played.size(), 2);
    EXPECT_FALSE(k.pttPort.rts());
}

TEST(VoiceKeyerSettings, FileRoundTripAndDamage)
{
    voice::VoiceKeyerSettings s;
    s.files[0] = QStringLiteral("/home/op/cq.wav");
    s.files[8] = QStringLiteral("/home/op/\"agn\".wav");
    s.port = QStringLiteral("3");
    s.line = voice::PttLine::Parallel;
    s.repeatSeconds = QStringLiteral("4");
    const QByteArray data = voice::writeVoiceKeyerSettings(s);
    EXPECT_EQ(data.count("\r\n"), 13);
    voice::VoiceKeyerSettings back;
    ASSERT_TRUE(voice::readVoiceKeyerSettings(data, back));
    s.files[8] = QStringLiteral("/home/op/agn.wav");
    EXPECT_EQ(back, s);

    // The shipped settings name example messages beside them, which play.
    voice::VoiceKeyerSettings shipped;
    ASSERT_TRUE(voice::loadVoiceKeyerSettings(QStringLiteral(TENLOG_SOURCE_DATA_DIR), shipped));
    Keyer k;
    k.keyer.setSettings(shipped);
    k.keyer.setBaseFolder(QStringLiteral(TENLOG_SOURCE_DATA_DIR));
    for (int key = 112; key <= 115; ++key) {
        k.keyer.playKey(key);
        EXPECT_TRUE(k.keyer.isPlaying()) << key;
        EXPECT_GT(k.player.lastDurationMs(), 500) << key;
    }
    EXPECT_TRUE(k.problems.isEmpty()) << k.problems.join(QLatin1Char(' ')).toStdString();

    voice::VoiceKeyerSettings shortFile;
    EXPECT_FALSE(voice::readVoiceKeyerSettings("\"a.wav\"\r\n\"b.wav\"\r\n", shortFile));
    EXPECT_EQ(shortFile.files[1], QStringLiteral("b.wav"));
    // A line code that names no line chooses none, and is named as damage.
    voice::VoiceKeyerSettings oddLine;
    QString damage;
    EXPECT_FALSE(voice::readVoiceKeyerSettings(QByteArray("\"\"\r\n").repeated(9) + "\"1\"\r\n7\r\n\"0\"\r\n\"&H378\"\r\n",
                                               oddLine, &damage));
    EXPECT_EQ(oddLine.line, voice::PttLine::None);
    EXPECT_EQ(oddLine.port, QStringLiteral("1"));
    EXPECT_EQ(damage, QStringLiteral("wave2.txt line 11: the PTT line is \"7\", not 0 (RTS), 1 (DTR) or 2 (Parallel)"));
}

// Damage in wave2.txt is named with its line and fault; the settings from
// there on keep their defaults, so no PTT port is opened on a number the
// file garbled.
TEST(VoiceKeyerSettings, DamageIsNamedByLineAndTheDefaultsStand)
{
    const QByteArray nineFiles = QByteArray("\"cq.wav\"\r\n") + QByteArray("\"\"\r\n").repeated(8);
    const struct {
        const char* what;
        QByteArray data;
        const char* problem; // after the path
        const char* port;
        voice::PttLine line;
    } rows[] = {
        {"garbage", "RIFF....WAVEfmt data\r\n", " line 1: the value is \"RIFF....WAVEfmt data\", not text in quotes", "0",
         voice::PttLine::Rts},
        {"a port that is not a number", nineFiles + "\"COM3\"\r\n1\r\n\"0\"\r\n\"&H378\"\r\n",
         " line 10: the PTT port is \"COM3\", not a port number from 1 to 10 (or 0 for none)", "0", voice::PttLine::Rts},
        {"a port out of range", nineFiles + "\"12\"\r\n1\r\n\"0\"\r\n\"&H378\"\r\n",
         " line 10: the PTT port is \"12\", not a port number from 1 to 10 (or 0 for none)", "0", voice::PttLine::Rts},
        {"a pause of a minute", nineFiles + "\"3\"\r\n1\r\n\"60\"\r\n\"&H378\"\r\n",
         " line 12: the repeat pause is \"60\", not a number of seconds from 0 to 59", "3", voice::PttLine::Dtr},
        {"an address that is none", nineFiles + "\"3\"\r\n2\r\n\"0\"\r\n\"LPT1\"\r\n",
         " line 13: the parallel port address is \"LPT1\", not an address such as &H378", "3", voice::PttLine::Parallel},
        {"short", nineFiles, " ends after 9 of its 13 values", "0", voice::PttLine::Rts},
    };
    for (const auto& row : rows) {
        QTemporaryDir folder;
        const QString path = QDir(folder.path()).filePath(QStringLiteral("wave2.txt"));
        ASSERT_TRUE(tenlog::platform::writeFileAtomically(path, row.data));
        voice::VoiceKeyerSettings settings;
        QString problem;
        EXPECT_FALSE(voice::loadVoiceKeyerSettings(folder.path(), settings, &problem)) << row.what;
        EXPECT_TRUE(problem.startsWith(path + QLatin1String(row.problem))) << row.what << ": " << problem.toStdString();
        EXPECT_TRUE(problem.contains(QStringLiteral("Check Voice Setup"))) << row.what;
        EXPECT_EQ(settings.port, QString::fromLatin1(row.port)) << row.what;
        EXPECT_EQ(settings.line, row.line) << row.what;
    }
}
