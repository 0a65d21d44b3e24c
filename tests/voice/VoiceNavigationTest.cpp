// Voice navigation on the shipped prompt recordings, timed by the stand-in
// player: which prompt each level lets through, the first prompt that
// announces the level, the waits for "Dupe" and for "NavEn" before "Call",
// requests that queue behind a wait, and missing files.
#include "voice/VoiceNavigation.h"

#include "QtPrinters.h"
#include "SettableClock.h"
#include "WavDurationPlayer.h"
#include "platform/WavInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace tenlog::voice;
using tenlog::testing::SettableClock;
using tenlog::testing::WavDurationPlayer;

namespace {

const char* const kPrompts[] = {"Call", "RstRcvd", "SecSer", "RstSnt", "Country",
                                "Dupe", "Needspot", "NavDis", "NavEn"};

class VoiceNavigationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        const QDir data(QStringLiteral(TENLOG_SOURCE_DATA_DIR));
        for (const char* name : kPrompts) {
            const QString file = QString::fromLatin1(name) + QStringLiteral(".wav");
            ASSERT_TRUE(QFile::copy(data.filePath(file), dir.filePath(file))) << name;
        }
        makeNavigation();
    }

    void makeNavigation()
    {
        nav = std::make_unique<VoiceNavigation>(player, dir.path(), [this] { return level; });
    }

    // The settings window has loaded and its announcement is over; the
    // records start afresh.
    void settle()
    {
        nav->loadSettingsWindow();
        while (player.isPlaying())
            player.playToEnd();
        forget();
    }

    void forget()
    {
        player.requested.clear();
        player.played.clear();
        player.cutOff = 0;
        player.finished = 0;
    }

    static QStringList names(const QStringList& paths)
    {
        QStringList out;
        for (const QString& path : paths)
            out << QFileInfo(path).completeBaseName();
        return out;
    }
    QStringList played() const { return names(player.played); }
    QString current() const { return QFileInfo(player.current()).completeBaseName(); }

    qint64 lengthOf(const char* name) const
    {
        const std::optional<tenlog::platform::WavInfo> info = tenlog::platform::readWav(dir.filePath(QString::fromLatin1(name) + QStringLiteral(".wav")));
        return info ? info->durationMs() : -1;
    }

    void enterEveryField()
    {
        for (EntryField field :
             {EntryField::Call, EntryField::RstRcvd, EntryField::SecSer, EntryField::RstSnt, EntryField::Country})
            nav->fieldEntered(field);
    }

    QTemporaryDir dir;
    SettableClock clock;
    WavDurationPlayer player{clock};
    int level = 2;
    std::unique_ptr<VoiceNavigation> nav;
};

} // namespace

TEST_F(VoiceNavigationTest, EachLevelSpeaksItsFields)
{
    level = 0;
    enterEveryField();
    EXPECT_TRUE(player.requested.isEmpty()) << "navigation off must not even load the settings";

    level = 1;
    settle();
    enterEveryField();
    EXPECT_EQ(played(), QStringList{QStringLiteral("Call")});

    for (int all : {2, 3}) {
        level = all;
        forget();
        enterEveryField();
        // Moving quickly: each prompt cuts off the one before.
        EXPECT_EQ(played(), (QStringList{"Call", "RstRcvd", "SecSer", "RstSnt", "Country"})) << all;
        EXPECT_EQ(player.cutOff, 5) << all; // the last "Call" of the round before too
        EXPECT_EQ(current(), QStringLiteral("Country"));
    }
}

TEST_F(VoiceNavigationTest, TheLevelIsReadAtEachFocusChange)
{
    settle();
    nav->fieldEntered(EntryField::SecSer);
    level = 1;
    nav->fieldEntered(EntryField::SecSer);
    nav->fieldEntered(EntryField::Call);
    level = 0;
    nav->fieldEntered(EntryField::Call);
    EXPECT_EQ(played(), (QStringList{"SecSer", "Call"}));
}

TEST_F(VoiceNavigationTest, FirstPromptOfTheRunAnnouncesTheLevelFirst)
{
    // "Call Only": "NavEn" is heard whole, then the settings' own "Call",
    // at once cut off by the requested one.
    level = 1;
    nav->fieldEntered(EntryField::Call);
    EXPECT_EQ(played(), QStringList{QStringLiteral("NavEn")});
    EXPECT_TRUE(nav->isWaiting());
    player.advanceMs(lengthOf("NavEn"));
    EXPECT_EQ(played(), (QStringList{"NavEn", "Call", "Call"}));
    EXPECT_EQ(player.cutOff, 1);
    EXPECT_EQ(current(), QStringLiteral("Call"));
    EXPECT_FALSE(nav->isWaiting());

    // Only once a run, also when the window opens afterwards.
    nav->loadSettingsWindow();
    nav->fieldEntered(EntryField::Call);
    EXPECT_EQ(played().count(QStringLiteral("NavEn")), 1);
}

TEST_F(VoiceNavigationTest, FirstPromptAtOtherLevelsCutsTheAnnouncementOff)
{
    level = 2;
    nav->fieldEntered(EntryField::RstRcvd);
    EXPECT_EQ(played(), (QStringList{"NavEn", "RstRcvd"}));
    EXPECT_EQ(current(), QStringLiteral("RstRcvd"));

    nav.reset();
    forget();
    level = 0;
    makeNavigation();
    nav->neededSpot();
    EXPECT_EQ(played(), (QStringList{"NavDis", "Needspot"}));
    EXPECT_EQ(current(), QStringLiteral("Needspot"));
}

TEST_F(VoiceNavigationTest, DupeWithNavigationOffDoesNotWait)
{
    level = 0;
    settle();
    int ran = 0;
    nav->dupeFound([&] { ++ran; });
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(played(), QStringList{QStringLiteral("Dupe")});
    EXPECT_TRUE(nav->isPlaying());
    EXPECT_FALSE(nav->isWaiting());
}

TEST_F(VoiceNavigationTest, DupeWithNavigationOnWaitsForTheWholePrompt)
{
    level = 1;
    settle();
    const qint64 start = clock.monotonicMs();
    int ran = 0;
    qint64 ranAt = -1;
    nav->dupeFound([&] {
        ++ran;
        ranAt = clock.monotonicMs();
    });
    EXPECT_EQ(ran, 0);
    EXPECT_TRUE(nav->isWaiting());
    EXPECT_EQ(player.lastDurationMs(), lengthOf("Dupe"));

    player.advanceMs(lengthOf("Dupe") - 1);
    EXPECT_EQ(ran, 0);
    EXPECT_TRUE(nav->isPlaying());
    player.advanceMs(1);
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(ranAt - start, lengthOf("Dupe"));
    EXPECT_FALSE(nav->isPlaying());
    EXPECT_FALSE(nav->isWaiting());
    EXPECT_EQ(player.cutOff, 0);
}

TEST_F(VoiceNavigationTest, RequestsDuringAWaitComeAfterItInOrder)
{
    level = 2;
    settle();
    nav->dupeFound([&] {
        // The duplicate check puts the cursor back into the call box.
        nav->fieldEntered(EntryField::Call);
    });
    // A click into the country box while "Dupe" sounds.
    nav->fieldEntered(EntryField::Country);
    EXPECT_EQ(played(), QStringList{QStringLiteral("Dupe")});

    player.playToEnd();
    EXPECT_EQ(played(), (QStringList{"Dupe", "Call", "Country"}));
    EXPECT_EQ(current(), QStringLiteral("Country"));
    EXPECT_EQ(player.cutOff, 1);
}

TEST_F(VoiceNavigationTest, OptionsAnnounceThemselves)
{
    settle();
    nav->optionSelected(kNavCallOnly);
    EXPECT_EQ(played(), QStringList{QStringLiteral("NavEn")});
    player.advanceMs(lengthOf("NavEn") - 1);
    EXPECT_EQ(played(), QStringList{QStringLiteral("NavEn")});
    player.advanceMs(1);
    EXPECT_EQ(played(), (QStringList{"NavEn", "Call"}));
    EXPECT_EQ(player.cutOff, 0);

    player.playToEnd();
    forget();
    nav->optionSelected(kNavAllFields);
    player.playToEnd();
    nav->optionSelected(kNavOff);
    player.playToEnd();
    EXPECT_EQ(played(), (QStringList{"NavEn", "NavDis"}));
    EXPECT_EQ(player.finished, 2);

    forget();
    nav->optionSelected(7);
    EXPECT_TRUE(player.requested.isEmpty());
}

TEST_F(VoiceNavigationTest, AnotherOptionDuringNavEnWaitsItsTurn)
{
    settle();
    nav->optionSelected(kNavCallOnly);
    nav->optionSelected(kNavOff);
    EXPECT_EQ(played(), QStringList{QStringLiteral("NavEn")});
    player.playToEnd();
    EXPECT_EQ(played(), (QStringList{"NavEn", "Call", "NavDis"}));
    EXPECT_EQ(current(), QStringLiteral("NavDis"));
}

TEST_F(VoiceNavigationTest, WithoutPromptFilesNothingIsHeardAndNothingWaits)
{
    for (const char* name : kPrompts)
        ASSERT_TRUE(QFile::remove(dir.filePath(QString::fromLatin1(name) + QStringLiteral(".wav"))));
    level = 1;
    nav->fieldEntered(EntryField::Call);
    EXPECT_FALSE(nav->isWaiting());
    int ran = 0;
    nav->dupeFound([&] { ++ran; });
    EXPECT_EQ(ran, 1);
    nav->optionSelected(kNavCallOnly);
    EXPECT_TRUE(player.played.isEmpty());
    EXPECT_EQ(names(player.requested), (QStringList{"NavEn", "Call", "Call", "Dupe", "NavEn", "Call"}));
    EXPECT_FALSE(nav->isPlaying());
    EXPECT_FALSE(nav->isWaiting());
}

TEST_F(VoiceNavigationTest, PromptFilesAreFoundWhateverTheirLetterCase)
{
    ASSERT_TRUE(QFile::rename(dir.filePath(QStringLiteral("Country.wav")), dir.filePath(QStringLiteral("COUNTRY.WAV"))));
    settle();
    nav->fieldEntered(EntryField::Country);
    EXPECT_EQ(player.played, QStringList{dir.filePath(QStringLiteral("COUNTRY.WAV"))});
}

TEST_F(VoiceNavigationTest, ClosingCutsOffThePromptAndDropsTheWait)
{
    level = 1;
    settle();
    int ran = 0;
    nav->dupeFound([&] { ++ran; });
    nav.reset();
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(player.cutOff, 1);
    player.advanceMs(5000); // no handler of the closed navigation may run
    EXPECT_EQ(ran, 0);
}
