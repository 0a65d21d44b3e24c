// The real player on this machine's sound system. Files that cannot be
// played fail at once and quietly; a real prompt either plays to its end and
// reports it, or, with no output device, is refused. Stopping ends a
// playback without the finished notice, and the navigation's wait for a
// prompt's end always comes to an end.
#include "platform/qt/QtAudioPlayer.h"

#include "voice/VoiceNavigation.h"

#include <QApplication>
#include <QAudioDevice>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using tenlog::platform::QtAudioPlayer;

namespace {

QString prompt(const char* name)
{
    return QStringLiteral(TENLOG_SOURCE_DATA_DIR "/") + QString::fromLatin1(name) + QStringLiteral(".wav");
}

bool haveOutput()
{
    return !QMediaDevices::defaultAudioOutput().isNull();
}

} // namespace

TEST(QtAudioPlayer, FilesThatCannotBePlayedFailQuietly)
{
    QTemporaryDir dir;
    QFile text(dir.filePath(QStringLiteral("Call.wav")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("\"K1ABC\",\"599\"\r\n");
    text.close();

    QtAudioPlayer player;
    int finished = 0;
    player.setFinishedHandler([&] { ++finished; });
    EXPECT_FALSE(player.play(dir.filePath(QStringLiteral("Missing.wav"))));
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(player.play(text.fileName()));
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(player.play(dir.path()));
    QTest::qWait(100);
    EXPECT_EQ(finished, 0);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << "no message box";
}

TEST(QtAudioPlayer, APromptPlaysToItsEndOrIsRefusedWithoutADevice)
{
    QtAudioPlayer player;
    int finished = 0;
    player.setFinishedHandler([&] { ++finished; });
    const bool started = player.play(prompt("Call"));
    if (!started) {
        EXPECT_FALSE(haveOutput()) << "a playable prompt was refused although there is an output device";
        EXPECT_FALSE(player.isPlaying());
        QTest::qWait(100);
        EXPECT_EQ(finished, 0);
        return;
    }
    EXPECT_TRUE(player.isPlaying());
    QTRY_COMPARE_WITH_TIMEOUT(finished, 1, 20000);
    EXPECT_FALSE(player.isPlaying());

    // The handler may start the next prompt.
    player.setFinishedHandler([&] {
        if (++finished == 2) {
            EXPECT_TRUE(player.play(prompt("Dupe")));
        }
    });
    ASSERT_TRUE(player.play(prompt("Call")));
    QTRY_COMPARE_WITH_TIMEOUT(finished, 3, 20000);
    EXPECT_FALSE(player.isPlaying());
}

TEST(QtAudioPlayer, StopAndANewPromptCutOffWithoutTheFinishedNotice)
{
    QtAudioPlayer player;
    int finished = 0;
    player.setFinishedHandler([&] { ++finished; });
    player.stop(); // nothing playing: nothing happens
    if (!player.play(prompt("NavEn"))) {
        EXPECT_FALSE(haveOutput());
        return;
    }
    player.stop();
    EXPECT_FALSE(player.isPlaying());
    ASSERT_TRUE(player.play(prompt("NavDis")));
    ASSERT_TRUE(player.play(prompt("Dupe")));
    QTRY_COMPARE_WITH_TIMEOUT(finished, 1, 20000);
    QTest::qWait(200);
    EXPECT_EQ(finished, 1);
}

TEST(QtAudioPlayer, CallOnlyAnnouncementNeverHangs)
{
    QTemporaryDir dir;
    for (const char* name : {"NavEn", "Call"})
        ASSERT_TRUE(QFile::copy(prompt(name), dir.filePath(QString::fromLatin1(name) + QStringLiteral(".wav"))));
    QtAudioPlayer player;
    tenlog::voice::VoiceNavigation nav(player, dir.path(), [] { return 1; });
    nav.optionSelected(tenlog::voice::kNavCallOnly);
    QTRY_VERIFY_WITH_TIMEOUT(!nav.isWaiting() && !nav.isPlaying(), 30000);
}

TEST(QtAudioPlayer, AGoingPlayerTakesItsEndedPlaybacksWithIt)
{
    // Ended and stopped playbacks are let go of later, from the event loop;
    // a player that goes before that has happened must still take them down
    // cleanly. Waiting without a loop of its own lets no deferred deletion run.
    auto player = std::make_unique<QtAudioPlayer>();
    int finished = 0;
    player->setFinishedHandler([&] { ++finished; });
    for (int i = 0; i < 2; ++i) {
        if (!player->play(prompt("Dupe"))) {
            EXPECT_FALSE(haveOutput());
            return;
        }
        QElapsedTimer waited;
        waited.start();
        while (finished == i && waited.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ASSERT_EQ(finished, i + 1);
    }
    ASSERT_TRUE(player->play(prompt("Dupe")));
    player->stop();
    player.reset();
}
