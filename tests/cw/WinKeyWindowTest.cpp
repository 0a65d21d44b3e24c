// The WinKey setup window and the code practice window as an operator uses
// them, with the real windows under the offscreen platform and the WinKey
// emulator of tools/ on a pseudo-terminal: opening the keyer, the fields
// sent and checked as they are left, Test, Buffer Test, Stop, the typing
// box, Done writing WK.txt, the main window's speed keys and Esc reaching
// the keyer, an absent keyer said in the window and on the message line,
// and practice text keyed, stopped and shown exactly as it went out.
#include "../station/MainWindowFixture.h"

#include "FakeSerialPort.h"
#include "RadioEmulatorProcess.h"
#include "RecordingPortIo.h"
#include "VirtualKeyingClock.h"

#include "cw/CwKeyer.h"
#include "cw/CwSettings.h"
#include "cw/CwStation.h"
#include "cw/WinKeyDriver.h"
#include "cw/WinKeyStation.h"
#include "cw/ui/CodePracticeWindow.h"
#include "platform/KeyingClock.h"
#include "platform/qt/QtSerialPort.h"
#include "voice/VoiceKeyer.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>

namespace {

using tenlog::testing::RadioEmulatorProcess;

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 8000)
{
    return RadioEmulatorProcess::waitFor(condition, timeoutMs);
}

QString keyedText(const RadioEmulatorProcess& keyer)
{
    QString text;
    for (const QString& event : keyer.events(QStringLiteral("KEY ")))
        text += event.at(4);
    return text;
}

template <typename T = QWidget>
T* child(QWidget* parent, const char* name)
{
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Replaces a box's text as typed, then leaves it.
void retype(QWidget* window, const char* name, const QString& text)
{
    auto* box = child<QLineEdit>(window, name);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
}

class WinKeyWindowTest : public MainWindowTest {
protected:
    void TearDown() override { window.reset(); }

    // The program with the keyer on COM5 (the emulator's pseudo-terminal in
    // ComPorts.txt) and CW going to it.
    void startWithKeyer(const QStringList& arguments, const char* wpm)
    {
        ASSERT_TRUE(QDir().mkpath(paths.root() + QStringLiteral("/user")));
        emulator = std::make_unique<RadioEmulatorProcess>(QStringLiteral(TENLOG_WINKEY_EMULATOR), arguments);
        ASSERT_TRUE(emulator->start()) << emulator->error().toStdString();
        *map = platform::ComPortMap(QString(), "COM5=" + QFile::encodeName(emulator->ptyPath()) + "\n", paths.root());
        cw::CwSettings cwSettings;
        cw::loadCwSettings(paths.workingFolder(), cwSettings);
        cwSettings.output = cw::KeyOutput::WinKey;
        cwSettings.wpm = QString::fromLatin1(wpm);
        cwSettings.messages[1] = QStringLiteral("TEST TEST TEST TEST TEST");
        station.attachWinKey(&winKey);
        station.setSettings(cwSettings);
        keyers = &services;
        scriptStation();
        ASSERT_TRUE(start());
        messagesAtStart = dialogs.messages.size(); // the start-up questions
    }

    // The CW setup window, by Ctrl+C, and a window it opens modally by one
    // of its buttons, handed to script while it is up.
    void openFromCwSetup(const char* buttonName, std::function<void(QDialog*)> script)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
        auto* setup = window->findChild<QDialog*>(QStringLiteral("CWFrm"));
        ASSERT_NE(setup, nullptr);
        bool ran = false;
        dialogs.modalScripts.push_back([&](QDialog* d) {
            d->show();
            EXPECT_TRUE(QTest::qWaitForWindowActive(d));
            script(d);
            ran = true;
            return static_cast<int>(QDialog::Accepted);
        });
        auto* opener = child<QAbstractButton>(setup, buttonName);
        ASSERT_TRUE(opener->isVisible()) << buttonName;
        opener->click();
        EXPECT_TRUE(ran);
        setup->hide();
    }

    // Back in the main window, in the call box.
    void focusCall()
    {
        QApplication::processEvents();
        window->activateWindow();
        // The offscreen platform may not hand activation back by itself
        // once the setup windows have gone.
        if (!QApplication::activeWindow())
            QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        find<QLineEdit>("txtCall")->setFocus();
        ASSERT_NE(QApplication::focusWidget(), nullptr);
    }

    QByteArray keyerReceived() const { return emulator->receivedBytes(); }

    std::unique_ptr<RadioEmulatorProcess> emulator;
    size_t messagesAtStart = 0;
    std::shared_ptr<platform::ComPortMap> map = std::make_shared<platform::ComPortMap>(QString(), QByteArray(), QString());
    tenlog::testing::VirtualKeyingClock keyingClock;
    tenlog::testing::FakeSerialPort cwPort;
    tenlog::testing::FakeSerialPort pttPort;
    tenlog::testing::RecordingPortIo parallel;
    tenlog::testing::WavDurationPlayer voicePlayer {clock};
    cw::CwKeyer keyer {keyingClock};
    cw::CwStation station {{keyer, cwPort, pttPort, parallel, [this] { return window ? window->currentCall() : QString(); }}};
    voice::VoiceKeyer voice {{voicePlayer, pttPort, cwPort, parallel}};
    platform::QtSerialPort winKeyPort {std::shared_ptr<const platform::ComPortMap>(map)};
    cw::WinKeyDriver winKeyDriver {winKeyPort};
    cw::WinKeyStation winKey {{winKeyDriver, keyer, cwPort, pttPort, paths.root() + QStringLiteral("/user")}};
    station::KeyerServices services {keyer, station, voice, keyingClock, winKey};
};

} // namespace

TEST_F(WinKeyWindowTest, TheSetupWindowOpensTheKeyerAndSendsWhatTheOperatorSets)
{
    startWithKeyer({QStringLiteral("--keyer"), QStringLiteral("wk3")}, "30");
    openFromCwSetup("cmdConfWinkey", [this](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral(" WinKey Setup"));
        EXPECT_EQ(child<QLineEdit>(d, "txtWKWPM")->text(), QStringLiteral("30")) << "the CW speed";
        EXPECT_TRUE(child<QRadioButton>(d, "optIambicB")->isChecked());
        EXPECT_TRUE(child<QRadioButton>(d, "optTone")->isChecked());
        retype(d, "txtWKComPort", QStringLiteral("5"));
        retype(d, "txtWKWPM", QStringLiteral("99"));
        QTest::mouseClick(child<QPushButton>(d, "cmdOpenWinkey"), Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return child<QLabel>(d, "lblOpenStatus")->text() == QStringLiteral("WK Success!"); }));
        EXPECT_EQ(child<QLabel>(d, "lblVersion")->text(), QStringLiteral("Version # 31"));
        EXPECT_TRUE(child<QPushButton>(d, "cmdDone")->hasFocus());
        EXPECT_TRUE(waitFor([&] { return child<QLineEdit>(d, "txtStatus")->text() == QStringLiteral("Idle"); }));

        // Each field is checked as it is left; an open keyer gets what it takes.
        retype(d, "txtRatio", QStringLiteral("31"));
        retype(d, "txtRatio", QStringLiteral("32"));
        ASSERT_TRUE(waitFor([&] { return keyerReceived().endsWith(QByteArray::fromHex("1720")); }));
        EXPECT_FALSE(keyerReceived().contains(QByteArray::fromHex("171f")));
        retype(d, "txtLeadIn", QStringLiteral("300"));
        EXPECT_EQ(child<QLineEdit>(d, "txtLeadIn")->text(), QStringLiteral("0"));
        child<QRadioButton>(d, "optIambicA")->click();
        ASSERT_TRUE(waitFor([&] { return keyerReceived().endsWith(QByteArray::fromHex("0e14")); }));

        // The typing box sends each key at once, in capitals, and keeps it.
        auto* typing = child<QLineEdit>(d, "Text1");
        typing->setFocus();
        QTest::keyClicks(typing, QStringLiteral("cq"));
        QTest::keyClick(typing, Qt::Key_Return);
        EXPECT_EQ(typing->text(), QStringLiteral("CQ"));
        EXPECT_TRUE(d->isVisible()) << "Enter while typing closes nothing";
        ASSERT_TRUE(emulator->waitForEvents(QStringLiteral("IDLE"), 1));
        QTest::mouseClick(child<QPushButton>(d, "Command3"), Qt::LeftButton);
        ASSERT_TRUE(emulator->waitForEvents(QStringLiteral("IDLE"), 2, 10000));
        EXPECT_EQ(keyedText(*emulator), QStringLiteral("CQVVV TEST DE W3LPL"));
        EXPECT_TRUE(waitFor([&] { return child<QLineEdit>(d, "txtEcho")->text().endsWith(QStringLiteral("DE W3LPL")); }));

        // Buffer Test queues 81 characters; Stop empties both buffers.
        QTest::mouseClick(child<QPushButton>(d, "Command1"), Qt::LeftButton);
        EXPECT_EQ(keyer.unsent().size() + winKeyDriver.heldByKeyer(), 81);
        ASSERT_TRUE(emulator->waitForEvents(QStringLiteral("KEY"), 22));
        QTest::mouseClick(child<QPushButton>(d, "cmdStop"), Qt::LeftButton);
        EXPECT_TRUE(keyer.unsent().isEmpty());
        ASSERT_TRUE(emulator->waitForEvents(QStringLiteral("CLEAR"), 1));
        QTest::mouseClick(child<QPushButton>(d, "cmdDone"), Qt::LeftButton);
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_EQ(fileBytes(paths.root() + QStringLiteral("/user/WK.txt")),
              QByteArray("5\r\n\"99\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"32\"\r\n6\r\n16\r\n"));
    EXPECT_EQ(dialogs.messages.size(), messagesAtStart);

    // The main window's speed keys reach the keyer.
    focusCall();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    ASSERT_TRUE(waitFor([&] { return keyerReceived().endsWith(QByteArray::fromHex("021f")); }))
        << keyerReceived().toHex(' ').toStdString() << " " << winKeyDriver.isOpen();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    ASSERT_TRUE(waitFor([&] { return keyerReceived().endsWith(QByteArray::fromHex("021d")); }));

    // Esc while the keyer sends stops it and leaves the entry line alone;
    // Esc once it is idle clears the entry line.
    type(QStringLiteral("K1ABC"));
    const int keyedBefore = int(emulator->events(QStringLiteral("KEY")).size());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    ASSERT_TRUE(emulator->waitForEvents(QStringLiteral("KEY"), keyedBefore + 2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    ASSERT_TRUE(emulator->waitForEvents(QStringLiteral("CLEAR"), 2));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("K1ABC"));
    EXPECT_TRUE(keyer.unsent().isEmpty());
    ASSERT_TRUE(waitFor([&] { return !station.winKeyBusy(); }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(textOf("txtCall"), QString());
}

TEST_F(WinKeyWindowTest, AnAbsentKeyerIsSaidInItsWindowAndOnTheMessageLine)
{
    startWithKeyer({QStringLiteral("--fault"), QStringLiteral("dead")}, "25");
    cw::CwSettings withLogging = station.settings();
    withLogging.messages[1] = QStringLiteral("TU $ 5NN!");
    station.setSettings(withLogging);
    const QByteArray logBefore = fileBytes(work("log.txt"));
    openFromCwSetup("cmdConfWinkey", [this](QDialog* d) {
        retype(d, "txtWKComPort", QStringLiteral("5"));
        QTest::mouseClick(child<QPushButton>(d, "cmdOpenWinkey"), Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return child<QLabel>(d, "lblOpenStatus")->text() == QStringLiteral("No Open Response"); }));
        EXPECT_EQ(child<QLabel>(d, "lblVersion")->text(), QStringLiteral("Version #"));
        // The operator is in the keyer's own window: a box may say it there.
        ASSERT_EQ(dialogs.messages.size(), messagesAtStart + 1);
        EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Unable to establish connection with Winkey."));
        EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("WinKey on com port 5.  Please check")));
        QTest::mouseClick(child<QPushButton>(d, "cmdDone"), Qt::LeftButton);
    });

    // A message for the keyer opens it on demand; it fails again, the text
    // is dropped, and the message line says so while the operator types.
    focusCall();
    type(QStringLiteral("K1AB"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    ASSERT_TRUE(waitFor([&] { return textOf("lblDialog").contains(QStringLiteral("com port 5")); }))
        << textOf("lblDialog").toStdString();
    EXPECT_EQ(dialogs.messages.size(), messagesAtStart + 1) << "no box while the operator types";
    EXPECT_TRUE(keyer.unsent().isEmpty());
    EXPECT_EQ(fileBytes(work("log.txt")), logBefore) << "nothing went out, so nothing was logged";
    type(QStringLiteral("C"));
    EXPECT_EQ(textOf("txtCall"), QStringLiteral("K1ABC")) << "the keys still reach the entry line";
    EXPECT_FALSE(keyerReceived().contains("TEST"));
}

TEST_F(WinKeyWindowTest, CodePracticeKeysThroughTheKeyerAndShowsExactlyWhatWentOut)
{
    startWithKeyer({}, "20");
    cw::WinKeySettings stored = winKey.settings(); // as WK.txt would have it
    stored.port = 5;
    winKey.setSettings(stored);
    openFromCwSetup("Command7", [this](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("On the Air Code Practice"));
        EXPECT_EQ(child<QLabel>(d, "Label8")->text(), QStringLiteral("20"));
        child<QLineEdit>(d, "Text3")->setText(QStringLiteral("2"));
        child<QLineEdit>(d, "Text4")->setText(QStringLiteral("3"));
        child<QRadioButton>(d, "Option1")->click();
        QTest::mouseClick(child<QPushButton>(d, "Command2"), Qt::LeftButton);
        auto* toSend = child<QPlainTextEdit>(d, "Text1");
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[A-Z]{3} [A-Z]{3} $")).match(toSend->toPlainText()).hasMatch())
            << toSend->toPlainText().toStdString();
        child<QLineEdit>(d, "Text3")->setText(QStringLiteral("ten"));
        child<QLineEdit>(d, "Text4")->setText(QStringLiteral(""));
        QTest::mouseClick(child<QPushButton>(d, "Command2"), Qt::LeftButton);
        EXPECT_EQ(child<QLineEdit>(d, "Text3")->text(), QStringLiteral("10"));
        EXPECT_EQ(child<QLineEdit>(d, "Text4")->text(), QStringLiteral("5"));
        EXPECT_EQ(toSend->toPlainText().size(), 60);

        QGuiApplication::clipboard()->setText(QStringLiteral("CQ CQ DE W1AW"));
        QTest::mouseClick(child<QPushButton>(d, "Command1"), Qt::LeftButton);
        EXPECT_EQ(toSend->toPlainText(), QStringLiteral("CQ CQ DE W1AW"));
        QTest::mouseClick(child<QPushButton>(d, "Command6"), Qt::LeftButton);
        EXPECT_EQ(toSend->toPlainText(), QString());

        // Send, made faster on the way, then stopped halfway.
        toSend->setPlainText(QStringLiteral("PARIS PARIS PARIS PARIS"));
        QTest::mouseClick(child<QPushButton>(d, "Command3"), Qt::LeftButton);
        auto* sent = child<QPlainTextEdit>(d, "Text2");
        ASSERT_TRUE(waitFor([&] { return sent->toPlainText().size() >= 2; }))
            << keyerReceived().toHex(' ').toStdString() << " " << winKeyDriver.isOpen() << " "
            << child<QLabel>(d, "lblNote")->text().toStdString() << keyedText(*emulator).toStdString();
        QTest::mouseClick(child<QPushButton>(d, "Command7"), Qt::LeftButton);
        EXPECT_EQ(child<QLabel>(d, "Label8")->text(), QStringLiteral("21"));
        ASSERT_TRUE(waitFor([&] { return keyerReceived().contains(QByteArray::fromHex("0215")); }));
        ASSERT_TRUE(waitFor([&] { return sent->toPlainText().size() >= 4; }));
        QTest::mouseClick(child<QPushButton>(d, "Command4"), Qt::LeftButton);
        ASSERT_TRUE(emulator->waitForEvents(QStringLiteral("CLEAR"), 1));
        RadioEmulatorProcess::waitFor([] { return false; }, 300);
        EXPECT_EQ(sent->toPlainText(), keyedText(*emulator));
        EXPECT_LT(sent->toPlainText().size(), 12);
        EXPECT_TRUE(QStringLiteral("PARIS PARIS").startsWith(sent->toPlainText()));

        // Live typing: each key goes out at once and never stays in the box.
        QTest::mouseClick(child<QPushButton>(d, "Command5"), Qt::LeftButton);
        auto* live = child<QLineEdit>(d, "Text5");
        live->setFocus();
        QTest::keyClicks(live, QStringLiteral("ab"));
        EXPECT_EQ(live->text(), QString());
        ASSERT_TRUE(waitFor([&] { return sent->toPlainText() == QStringLiteral("AB"); }));
        d->reject();
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_TRUE(keyer.unsent().isEmpty());
}

// The program's own keying at 5 WPM on the real clock: the first close only
// stops the practice; the next one closes.
TEST(CodePracticeWindow, ClosingWhileTheProgramKeysIsRefusedOnce)
{
    platform::MonotonicKeyingClock keyingClock;
    cw::CwKeyer keyer(keyingClock);
    tenlog::testing::FakeSerialPort cwPort;
    tenlog::testing::FakeSerialPort pttPort;
    tenlog::testing::RecordingPortIo parallel;
    cw::CwStation station({keyer, cwPort, pttPort, parallel, [] { return QString(); }});
    cw::CwSettings settings;
    settings.output = cw::KeyOutput::Rts;
    settings.wpm = QStringLiteral("5");
    station.setSettings(settings);
    cw::CodePracticeWindow practice(station, [] { return 0.0; });
    practice.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&practice));
    practice.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->setPlainText(QStringLiteral("PARIS"));
    int keyed = 0;
    QObject::connect(&station, &cw::CwStation::characterKeyed, [&keyed] { ++keyed; });
    practice.send();
    ASSERT_TRUE(waitFor([&] { return station.isSending(); }));
    EXPECT_FALSE(practice.close());
    EXPECT_TRUE(practice.isVisible());
    EXPECT_TRUE(keyer.unsent().isEmpty());
    ASSERT_TRUE(keyer.waitUntilIdle(5000));
    QApplication::processEvents();
    EXPECT_TRUE(practice.close());
    // Only what the keying thread had already taken went out, and shows.
    EXPECT_LE(keyed, 2);
    EXPECT_EQ(practice.findChild<QPlainTextEdit*>(QStringLiteral("Text2"))->toPlainText(), QStringLiteral("PARIS").left(keyed));
}
