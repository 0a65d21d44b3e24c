// The keyers as an operator drives them from the main window: the CW setup
// window by Ctrl+C, F-key messages with the call and the "!" that logs the
// contact, the speed keys, keyboard CW, Esc, and voice messages with PTT in
// phone mode. The keying runs on a virtual clock, so a message is on the
// line at once; the ports are in memory.
#include "../station/MainWindowFixture.h"

#include "AccessibilityAudit.h"
#include "FakeSerialDeviceList.h"
#include "FakeSerialPort.h"
#include "RecordingKeyLine.h"
#include "RecordingPortIo.h"
#include "VirtualKeyingClock.h"

#include "common/ui/PortDeviceRow.h"
#include "cw/CwKeyer.h"
#include "cw/CwSettings.h"
#include "cw/CwStation.h"
#include "cw/WinKeyDriver.h"
#include "cw/WinKeyStation.h"
#include "platform/ComPortMapFile.h"
#include "voice/VoiceKeyer.h"
#include "voice/VoiceKeyerSettings.h"

#include <QDeadlineTimer>

namespace {


class MainWindowKeysTest : public MainWindowTest {
protected:
    tenlog::testing::VirtualKeyingClock keyingClock;
    tenlog::testing::FakeSerialPort cwPort;
    tenlog::testing::FakeSerialPort pttPort;
    tenlog::testing::RecordingPortIo parallel;
    tenlog::testing::WavDurationPlayer voicePlayer {clock};
    cw::CwKeyer keyer {keyingClock};
    cw::CwStation station {{keyer, cwPort, pttPort, parallel, [this] { return window ? window->currentCall() : QString(); }}};
    voice::VoiceKeyer voice {{voicePlayer, pttPort, cwPort, parallel}};
    tenlog::testing::FakeSerialPort winKeyPort;
    cw::WinKeyDriver winKeyDriver {winKeyPort};
    cw::WinKeyStation winKey {{winKeyDriver, keyer, cwPort, pttPort, paths.appDataFolder()}};
    station::KeyerServices services {keyer, station, voice, keyingClock, winKey};

    void startWithKeyers()
    {
        // As at start-up: the seeded CW.txt is read into the station.
        cw::CwSettings shipped;
        cw::loadCwSettings(paths.workingFolder(), shipped);
        station.setSettings(shipped);
        voice::VoiceKeyerSettings shippedVoice;
        voice::loadVoiceKeyerSettings(paths.workingFolder(), shippedVoice);
        voice.setSettings(shippedVoice);
        voice.setBaseFolder(paths.workingFolder());
        keyers = &services;
        scriptStation();
        ASSERT_TRUE(start());
    }
    void key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(code), modifiers);
    }
    void settle()
    {
        keyer.waitUntilIdle(5000);
        const QDeadlineTimer deadline(300);
        while (!deadline.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    // Key-down units: the line is set at every unit.
    int keyDowns() const { return int(cwPort.calls().count(QStringLiteral("rts 1"))); }
};

} // namespace

TEST_F(MainWindowKeysTest, SetupThenMessagesSendAndLogTheContact)
{
    startWithKeyers();
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("mnuCWSetup"))->isEnabled());
    key(Qt::Key_C, Qt::ControlModifier);
    auto* setup = window->findChild<QDialog*>(QStringLiteral("CWFrm"));
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(setup->isVisible());
    EXPECT_EQ(textOf("txtCall"), QString()) << "Ctrl+C typed nothing";
    EXPECT_TRUE(tenlog::testing::controlsWithoutAccessibleName(setup).isEmpty())
        << tenlog::testing::controlsWithoutAccessibleName(setup).join(QLatin1Char('\n')).toStdString();
    setup->findChild<QRadioButton*>(QStringLiteral("Option1"))->click();
    auto* port = setup->findChild<QLineEdit*>(QStringLiteral("Text10"));
    port->setText(QStringLiteral("3"));
    auto* f2 = setup->findChild<QLineEdit*>(QStringLiteral("Text2"));
    f2->clear();
    QTest::keyClicks(f2, QStringLiteral("tu $ !"));
    QTest::mouseClick(setup->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    EXPECT_FALSE(setup->isVisible());
    const QByteArray saved = fileBytes(work("CW.txt"));
    EXPECT_TRUE(saved.startsWith("\"CQ TEST\"\r\n\"TU $ !\"\r\n")) << saved.constData();
    EXPECT_TRUE(saved.contains("\r\n1\r\n\"&H378\"")) << "RTS keying stored";

    window->activateWindow();
    find<QLineEdit>("txtCall")->setFocus();
    type(QStringLiteral("k1abc"));
    type(QStringLiteral(" "));
    type(QStringLiteral(" ct"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("K1ABC"));
    key(Qt::Key_F2);
    settle();
    EXPECT_EQ(cwPort.portNumber(), 3);
    EXPECT_GT(keyDowns(), 10);
    EXPECT_FALSE(cwPort.rts());
    EXPECT_TRUE(fileBytes(work("log.txt")).startsWith("\"K1ABC\",\"599\",\"CT\"")) << "the ! logged the entry";

    // The speed keys, then F12 keyboard CW: typed characters go on the air, not into the call box.
    key(Qt::Key_Up);
    EXPECT_EQ(textOf("lblDialog"), QStringLiteral("25 WPM"));
    key(Qt::Key_F12);
    EXPECT_EQ(textOf("lblDialog"), QStringLiteral("Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode."));
    const int before = keyDowns();
    type(QStringLiteral("cq"));
    settle();
    EXPECT_EQ(textOf("txtCall"), QString());
    EXPECT_EQ(keyDowns() - before, 18); // C -.-. (8 units down) and Q --.- (10)
    key(Qt::Key_F12);
    EXPECT_EQ(textOf("lblDialog"), QString());
    type(QStringLiteral("w1aw"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("W1AW"));
}

TEST_F(MainWindowKeysTest, CloseWhileSendingIsRefusedOnceAfterTheCharacterInProgress)
{
    startWithKeyers();
    cw::CwSettings s = station.settings();
    s.output = cw::KeyOutput::Rts;
    station.setSettings(s);
    // A line that holds the keying thread until the test lets it go.
    auto line = std::make_shared<tenlog::testing::RecordingKeyLine>(keyingClock);
    std::atomic<bool> release {false};
    line->onSet([&](int) {
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    keyer.setKeyLine(line);
    keyer.append(QStringLiteral("TEST TEST"));
    while (line->calls() < 1) // the first T is under way
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(window->close()) << "refused while sending";
    EXPECT_TRUE(keyer.unsent().size() < 9);
    release = true;
    settle();
    EXPECT_FALSE(line->isDown());
    EXPECT_FALSE(station.isSending());
    EXPECT_EQ(line->changes().size(), 2u) << "only the T in progress went out";
    EXPECT_TRUE(window->close()) << "the second close proceeds";
}

TEST_F(MainWindowKeysTest, PhoneModePlaysVoiceMessagesWithPtt)
{
    startWithKeyers();
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("mnuVoiceSetup"))->isEnabled());
    window->findChild<QAction*>(QStringLiteral("mnuPH"))->trigger();
    voice::VoiceKeyerSettings s;
    s.files[0] = QStringLiteral("VkCq.wav"); // the shipped example, in the working folder
    s.port = QStringLiteral("2");
    voice.setBaseFolder(paths.workingFolder());
    voice.setSettings(s);
    find<QLineEdit>("txtCall")->setFocus();
    key(Qt::Key_F1);
    EXPECT_TRUE(voice.isPlaying());
    EXPECT_TRUE(pttPort.rts());
    key(Qt::Key_Escape);
    EXPECT_FALSE(voice.isPlaying());
    EXPECT_FALSE(pttPort.rts());
    key(Qt::Key_F10);
    key(Qt::Key_F1);
    voicePlayer.playToEnd();
    EXPECT_FALSE(pttPort.rts());
    EXPECT_EQ(voicePlayer.played.size(), 2);
}

TEST_F(MainWindowKeysTest, EveryWindowKeyShowsInAMenuAndOpensItsWindowOnce)
{
    startWithKeyers();
    const std::pair<const char*, const char*> items[] = {
        {"mnuCWSetup", "Ctrl+S"}, {"actCwStrings", "Ctrl+W"}, {"mnuVoiceSetup", "Ctrl+P"},
        {"actTuningPanel", "Ctrl+G"}, {"mnuRigInterface", "Ctrl+R"}};
    for (const auto& [name, shown] : items) {
        auto* item = window->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(item, nullptr) << name;
        EXPECT_EQ(item->shortcut().toString(), QString::fromLatin1(shown)) << name;
        const auto owners = item->associatedObjects();
        EXPECT_TRUE(std::any_of(owners.begin(), owners.end(), [](QObject* o) { return qobject_cast<QMenu*>(o); }))
            << name << " is in a menu";
    }

    // The keys open their windows from the call box, once and as before:
    // Ctrl+P beside the log, not modally as its menu item does.
    const int modalBefore = dialogs.modalRuns;
    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_W, "frmCWStrings"}, {Qt::Key_S, "CWFrm"}, {Qt::Key_P, "PhoneFrm"}};
    for (const auto& [code, opened] : keys) {
        QApplication::setActiveWindow(window.get());
        find<QLineEdit>("txtCall")->setFocus();
        key(code, Qt::ControlModifier);
        auto* shownWindow = window->findChild<QWidget*>(QString::fromLatin1(opened));
        ASSERT_NE(shownWindow, nullptr) << opened;
        EXPECT_TRUE(shownWindow->isVisible()) << opened;
        shownWindow->hide();
    }
    EXPECT_EQ(dialogs.modalRuns, modalBefore);
}

TEST_F(MainWindowKeysTest, VoiceSetupBrowseTestAndDoneAndTheCwStringsWindow)
{
    startWithKeyers();
    // Voice Setup from the menu, modally: browse for F2 (one cancel, one file), Test, Done.
    const QString chosen = paths.workingFolder() + QStringLiteral("/VkThanks.wav");
    dialogs.fileAnswers = {std::nullopt, chosen};
    dialogs.modalScripts.push_back([this, chosen](QDialog* d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("PhoneFrm"));
        EXPECT_TRUE(tenlog::testing::controlsWithoutAccessibleName(d).isEmpty())
            << tenlog::testing::controlsWithoutAccessibleName(d).join(QLatin1Char('\n')).toStdString();
        auto* browse = d->findChild<QPushButton*>(QStringLiteral("Command3"));
        browse->click();
        EXPECT_EQ(dialogs.beeps, 1) << "a cancelled chooser beeps";
        browse->click();
        EXPECT_EQ(d->findChild<QLineEdit*>(QStringLiteral("Text2"))->text(), chosen);
        d->findChild<QLineEdit*>(QStringLiteral("txtPHLoop"))->setText(QStringLiteral("2"));
        d->findChild<QLineEdit*>(QStringLiteral("txtPHLoop"))->textEdited(QStringLiteral("2"));
        d->findChild<QPushButton*>(QStringLiteral("Command11"))->click(); // Test: plays F1 (the shipped example)
        EXPECT_TRUE(voice.isPlaying());
        EXPECT_TRUE(d->findChild<QPushButton*>(QStringLiteral("Command12"))->isVisibleTo(d)) << "Stop shows while F1 repeats";
        d->findChild<QPushButton*>(QStringLiteral("Command12"))->click();
        EXPECT_FALSE(voice.repeatArmed());
        d->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        return int(QDialog::Accepted);
    });
    voice.setBaseFolder(paths.workingFolder());
    window->findChild<QAction*>(QStringLiteral("mnuVoiceSetup"))->trigger();
    const QByteArray saved = fileBytes(work("wave2.txt"));
    EXPECT_TRUE(saved.startsWith("\"VkCq.wav\"\r\n\"" + chosen.toLatin1() + "\"\r\n")) << saved.constData();
    EXPECT_TRUE(saved.contains("\"2\"\r\n\"&H378\"\r\n"));
    voicePlayer.playToEnd();
    EXPECT_FALSE(pttPort.rts());

    // Ctrl+W: the CW Strings window lists the messages; a click sends one.
    cw::CwSettings s = station.settings();
    s.output = cw::KeyOutput::Rts;
    station.setSettings(s);
    find<QLineEdit>("txtCall")->setFocus();
    key(Qt::Key_W, Qt::ControlModifier);
    auto* strings = window->findChild<QDialog*>(QStringLiteral("frmCWStrings"));
    ASSERT_NE(strings, nullptr);
    EXPECT_EQ(strings->findChild<QLabel*>(QStringLiteral("lblCWString_0"))->text(), QStringLiteral("CQ TEST"));
    EXPECT_EQ(strings->findChild<QLabel*>(QStringLiteral("lblCWString_11"))->text(), QStringLiteral("Keyboard"));
    QTest::mouseClick(strings->findChild<QLabel*>(QStringLiteral("lblCWString_0")), Qt::LeftButton);
    settle();
    EXPECT_GT(keyDowns(), 10);
    EXPECT_FALSE(cwPort.rts());

    // From the keyboard: one framed stop per message, named once; Space sends it.
    for (QLabel* label : strings->findChildren<QLabel*>())
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << label->objectName().toStdString();
    auto* first = strings->findChild<QWidget*>(QStringLiteral("cwMessageBox_0"));
    auto* second = strings->findChild<QWidget*>(QStringLiteral("cwMessageBox_1"));
    EXPECT_EQ(first->accessibleName(), QStringLiteral("F1: CQ TEST"));
    QApplication::setActiveWindow(strings);
    first->setFocus();
    const QImage unframed = second->grab().toImage();
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), second);
    EXPECT_NE(second->grab().toImage(), unframed) << "the focused box shows a frame";
    QTest::keyClick(second, Qt::Key_Backtab);
    const int before = keyDowns();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    settle();
    EXPECT_GT(keyDowns() - before, 10);
}

TEST_F(MainWindowKeysTest, TheKeyingAndPttPortsShowTheirDeviceAndOpenANewOneAtOnce)
{
    tenlog::testing::FakeSerialDeviceList present;
    present.devices = {tenlog::testing::kFtdiAdapter, tenlog::testing::kKeyerAdapter};
    platform::ComPortMapFile mapping(paths.root() + QStringLiteral("/user/ComPorts.txt"), paths.root());
    common::PortDevices devices {mapping, present};
    portDevices = &devices;
    startWithKeyers();
    for (const auto& [name, opens, port] : {std::tuple {"CWFrm", Qt::Key_C, &cwPort}, std::tuple {"PhoneFrm", Qt::Key_P, &pttPort}}) {
        ASSERT_TRUE(mapping.mapDevice(3, QStringLiteral("/dev/ttyUSB0")));
        QApplication::setActiveWindow(window.get());
        find<QLineEdit>("txtCall")->setFocus();
        key(opens, Qt::ControlModifier);
        auto* setup = window->findChild<QDialog*>(QString::fromLatin1(name));
        ASSERT_TRUE(setup && setup->isVisible()) << name;
        setup->findChild<QLineEdit*>(QStringLiteral("Text10"))->setText(QStringLiteral("3"));
        auto* shown = setup->findChild<QLabel*>(QStringLiteral("lblPortDevice"));
        EXPECT_EQ(shown->text(), QStringLiteral("COM3 = /dev/ttyUSB0 (FTDI FT232R USB UART)")) << name;
        // Another adapter for COM3: the window opens it at once.
        const int opened = port->openCount();
        dialogs.modalScripts.push_back([](QDialog* chooser) {
            chooser->findChild<QListWidget*>(QStringLiteral("lstSerialDevices"))->setCurrentRow(1);
            chooser->accept();
            return chooser->result();
        });
        setup->findChild<QPushButton*>(QStringLiteral("cmdChoosePortDevice"))->click();
        EXPECT_EQ(shown->text(), QStringLiteral("COM3 = /dev/ttyACM0 (Keyer)")) << name;
        EXPECT_EQ(port->openCount(), opened + 1) << name;
        setup->hide();
    }
    window.reset(); // before the mapping it shows goes
}

TEST_F(MainWindowKeysTest, AltLetterOpensItsMenuFromTheCallBox)
{
    startWithKeyers();
    window->activateWindow();
    find<QLineEdit>("txtCall")->setFocus();
    auto* file = window->findChild<QMenu*>(QStringLiteral("mnuFile"));
    ASSERT_NE(file, nullptr);
    key(Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY_WITH_TIMEOUT(file->isVisible(), 2000);
    EXPECT_EQ(textOf("txtCall"), QString());
    file->close();
}

TEST_F(MainWindowKeysTest, LoopTimingIsChosenAloneAndCalibratedWithoutWaiting)
{
    startWithKeyers();
    key(Qt::Key_C, Qt::ControlModifier);
    auto* setup = window->findChild<QDialog*>(QStringLiteral("CWFrm"));
    ASSERT_NE(setup, nullptr);
    auto* timer = setup->findChild<QRadioButton*>(QStringLiteral("optTimer"));
    auto* loop = setup->findChild<QRadioButton*>(QStringLiteral("optLoop"));
    auto* loops = setup->findChild<QLineEdit*>(QStringLiteral("txtLoop"));
    EXPECT_TRUE(timer->isChecked());
    EXPECT_FALSE(loops->isEnabled());
    QTest::mouseClick(loop, Qt::LeftButton);
    EXPECT_TRUE(loop->isChecked());
    EXPECT_FALSE(timer->isChecked()) << "one timing at a time";
    EXPECT_TRUE(setup->findChild<QRadioButton*>(QStringLiteral("Option4"))->isChecked()) << "the keying output stays";
    EXPECT_TRUE(loops->isEnabled());
    // Measured on its own thread (on the virtual clock: one count per ns).
    QTRY_COMPARE_WITH_TIMEOUT(loops->text(), QStringLiteral("60000000"), 5000);
    QTest::mouseClick(setup->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    EXPECT_EQ(keyer.timing(), cw::CwKeyer::Timing::Loop);
    EXPECT_EQ(keyer.loopsPer60ms(), 60'000'000);
}

TEST_F(MainWindowKeysTest, AKeyerPortThatFailsWhileACallIsTypedTakesNoKey)
{
    startWithKeyers();
    cw::CwSettings s = station.settings();
    s.output = cw::KeyOutput::Rts;
    s.port = QStringLiteral("3");
    station.setSettings(s);
    cwPort.refuseOpen(QStringLiteral("COM3 (/dev/ttyUSB0) cannot be opened: No such file or directory"));
    const size_t boxesBefore = dialogs.messages.size();
    window->activateWindow();
    find<QLineEdit>("txtCall")->setFocus();
    type(QStringLiteral("k1a"));
    key(Qt::Key_F1);
    EXPECT_EQ(textOf("lblDialog"),
              QStringLiteral("CW keying port: COM3 (/dev/ttyUSB0) cannot be opened: No such file or directory"));
    EXPECT_GE(dialogs.beeps, 1);
    type(QStringLiteral("bc"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("K1ABC")) << "no box took the keys";
    EXPECT_EQ(dialogs.messages.size(), boxesBefore);
    const auto* cwSetup = window->findChild<QDialog*>(QStringLiteral("CWFrm"));
    EXPECT_FALSE(cwSetup && cwSetup->isVisible()) << "no window opened by itself";

    // Phone: the PTT port that will not open says so on the line too.
    window->findChild<QAction*>(QStringLiteral("mnuPH"))->trigger();
    voice::VoiceKeyerSettings v;
    v.files[0] = QStringLiteral("VkCq.wav");
    v.port = QStringLiteral("2");
    voice.setSettings(v);
    pttPort.refuseOpen(QStringLiteral("COM2 (/dev/ttyS1) cannot be opened: Permission denied"));
    find<QLineEdit>("txtCall")->clear();
    find<QLineEdit>("txtCall")->setFocus();
    key(Qt::Key_F1);
    EXPECT_TRUE(textOf("lblDialog").startsWith(QStringLiteral("Voice keyer: The port you have selected for Phone keying is invalid.")))
        << textOf("lblDialog").toStdString();
    // Longer than the line's two rows: the line shows its start, the whole
    // of it is in the tooltip and what a screen reader reads.
    EXPECT_TRUE(find<QLabel>("lblDialog")->accessibleName().endsWith(QStringLiteral("Permission denied")));
    EXPECT_EQ(find<QLabel>("lblDialog")->toolTip(), find<QLabel>("lblDialog")->accessibleName());
    type(QStringLiteral("w"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("W"));
    EXPECT_EQ(dialogs.messages.size(), boxesBefore);
}
