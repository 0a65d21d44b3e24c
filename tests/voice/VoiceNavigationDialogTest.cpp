// The voice navigation settings window under the offscreen platform:
// captions, the level selected on opening and its one announcement a run,
// options chosen by mouse and arrow keys, and "Done".
#include "voice/ui/VoiceNavigationDialog.h"

#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "WavDurationPlayer.h"
#include "voice/VoiceNavigation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace tenlog::voice;
using tenlog::testing::ScriptedDialogs;
using tenlog::testing::SettableClock;
using tenlog::testing::WavDurationPlayer;

namespace {

class VoiceNavigationDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QDir data(QStringLiteral(TENLOG_SOURCE_DATA_DIR));
        for (const char* name : {"Call", "NavDis", "NavEn"}) {
            const QString file = QString::fromLatin1(name) + QStringLiteral(".wav");
            ASSERT_TRUE(QFile::copy(data.filePath(file), dir.filePath(file)));
        }
        nav = std::make_unique<VoiceNavigation>(player, dir.path(), [this] { return level; });
    }

    std::unique_ptr<VoiceNavigationDialog> open()
    {
        auto window = std::make_unique<VoiceNavigationDialog>(*nav, dialogs);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    static QRadioButton* option(QWidget* window, int n)
    {
        return window->findChild<QRadioButton*>(QStringLiteral("Option%1").arg(n));
    }

    // A radio button takes clicks on its circle and caption only, not on
    // the rest of the row the layout gives it.
    static void click(QRadioButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    QStringList played() const
    {
        QStringList out;
        for (const QString& path : player.played)
            out << QFileInfo(path).completeBaseName();
        return out;
    }

    QTemporaryDir dir;
    SettableClock clock;
    WavDurationPlayer player{clock};
    ScriptedDialogs dialogs;
    int level = 2;
    std::unique_ptr<VoiceNavigation> nav;
};

} // namespace

TEST_F(VoiceNavigationDialogTest, ShowsItsCaptionsAndTheFolderForThePrompts)
{
    const auto window = open();
    EXPECT_EQ(window->objectName(), QStringLiteral("BlindFrm"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Voice Navigation Settings"));
    EXPECT_EQ(option(window.get(), 1)->text(), QStringLiteral("Off"));
    EXPECT_EQ(option(window.get(), 2)->text(), QStringLiteral("Call Only"));
    EXPECT_EQ(option(window.get(), 3)->text(), QStringLiteral("All Data Fields"));
    EXPECT_EQ(window->findChild<QPushButton*>(QStringLiteral("Command1"))->text(), QStringLiteral("Done"));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("Label7"))->text(),
              QStringLiteral("Put the audio wave files in this program's working directory: ") + dir.path());

    QStringList texts;
    for (const QLabel* label : window->findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(
        QStringLiteral("Choose one of the options below.  Select Off to turn the navigation function off, Call to "
                       "indicate the Call field only and All Data Fields to provide verbal prompts through all the "
                       "data fields.")));
    QStringList frames;
    for (const QGroupBox* box : window->findChildren<QGroupBox*>())
        frames << box->title();
    EXPECT_EQ(frames, QStringList{QStringLiteral("Choose your preferred option:")});
}

TEST_F(VoiceNavigationDialogTest, OpensOnTheCurrentLevelAndAnnouncesItOnceARun)
{
    level = 1;
    auto window = open();
    EXPECT_TRUE(option(window.get(), 2)->isChecked());
    EXPECT_EQ(played(), QStringList{QStringLiteral("NavEn")});
    player.playToEnd();
    EXPECT_EQ(played(), (QStringList{"NavEn", "Call"}));

    window.reset();
    level = 2;
    window = open();
    EXPECT_TRUE(option(window.get(), 3)->isChecked());
    EXPECT_EQ(played().size(), 2) << "reopening announces nothing";

    level = 9;
    window = open();
    for (int n = 1; n <= 3; ++n)
        EXPECT_FALSE(option(window.get(), n)->isChecked()) << n;
    EXPECT_EQ(window->chosenLevel(), 0);
}

TEST_F(VoiceNavigationDialogTest, ChoosingAnOptionSaysIt)
{
    const auto window = open();
    player.playToEnd();
    player.played.clear();

    click(option(window.get(), 1));
    EXPECT_EQ(played(), QStringList{QStringLiteral("NavDis")});
    click(option(window.get(), 1));
    EXPECT_EQ(played(), (QStringList{"NavDis", "NavDis"})) << "the selected option again says it again";

    // The arrow keys walk the group, selecting and saying as they go.
    option(window.get(), 1)->setFocus();
    QTest::keyClick(option(window.get(), 1), Qt::Key_Down);
    EXPECT_TRUE(option(window.get(), 2)->isChecked());
    EXPECT_EQ(played().last(), QStringLiteral("NavEn"));
    player.playToEnd();
    EXPECT_EQ(played().last(), QStringLiteral("Call"));
}

TEST_F(VoiceNavigationDialogTest, DoneAcceptsWithTheChosenLevel)
{
    level = 0;
    auto window = open();
    EXPECT_TRUE(option(window.get(), 1)->isChecked());
    click(option(window.get(), 3));
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->chosenLevel(), 2);

    // Through the modal runner, as the main window opens it: the close box
    // leaves without "Done".
    window = std::make_unique<VoiceNavigationDialog>(*nav, dialogs);
    dialogs.modalScripts.push_back([](QDialog* d) {
        d->show();
        d->close();
        return d->result();
    });
    EXPECT_EQ(dialogs.runModal(window.get()), QDialog::Rejected);

    window = std::make_unique<VoiceNavigationDialog>(*nav, dialogs);
    dialogs.modalScripts.push_back([](QDialog* d) {
        d->show();
        click(d->findChild<QRadioButton*>(QStringLiteral("Option2")));
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        return d->result();
    });
    EXPECT_EQ(dialogs.runModal(window.get()), QDialog::Accepted);
    EXPECT_EQ(window->chosenLevel(), 1);
}
