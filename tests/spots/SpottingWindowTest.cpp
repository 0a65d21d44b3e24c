// The spotting window as an operator uses it: choosing a source, opening the
// cluster, logging in from the send line, "&Spot Last" and "&Done".
#include "AccessibilityAudit.h"
#include "EmulatorProcess.h"
#include "FakeSerialDeviceList.h"
#include "FakeSerialPort.h"
#include "SpotChain.h"
#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "common/ui/PortDeviceRow.h"
#include "platform/ComPortMapFile.h"
#include "platform/SerialPort.h"
#include "platform/qt/QtTcpClient.h"
#include "spots/AgwSpotSource.h"
#include "spots/SpotIntake.h"
#include "spots/SpotPaths.h"
#include "spots/SpotSession.h"
#include "spots/SpotSettings.h"
#include "spots/SpotTerminal.h"
#include "spots/TelnetSpotSource.h"
#include "spots/TncSpotSource.h"
#include "spots/ui/SpottingWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace tenlog::spots;

namespace {

struct WindowRig : tenlog::testing::SpotChain {
    QTemporaryDir folder;
    tenlog::platform::QtTcpClient telnetClient;
    tenlog::platform::QtTcpClient agwClient;
    TelnetSpotSource telnet{telnetClient};
    tenlog::testing::FakeSerialPort port; // no serial port in these flows
    TncSpotSource tnc{port};
    AgwSpotSource agw{agwClient};
    SpotSession session{terminal, paths, intake, {telnet, tnc, agw}, dialogs, [] { return QStringLiteral("N1MM"); }};
    int doneCalls = 0;
    tenlog::common::PortDevices* portDevices = nullptr;
    std::unique_ptr<SpottingWindow> window;

    void create()
    {
        window = std::make_unique<SpottingWindow>(session, terminal, paths, dialogs, folder.path(),
                                                  SpottingWindow::Hooks{[] { return QStringLiteral("K1ABC"); },
                                                                        [this] { ++doneCalls; }},
                                                  portDevices);
    }
    template <typename W>
    W* find(const char* name) const
    {
        return window->findChild<W*>(QString::fromLatin1(name));
    }
    void choose(const QString& word)
    {
        auto* list = find<QListWidget>("List1");
        QListWidgetItem* item = list->findItems(word, Qt::MatchExactly).first();
        list->setCurrentItem(item);
        emit list->itemClicked(item);
    }
};

} // namespace

TEST(SpottingWindow, FirstRunChoosingTheClusterLoggingInAndDone)
{
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", "3"});
    ASSERT_TRUE(node.started());
    WindowRig rig;
    rig.create();
    rig.window->show();
    EXPECT_EQ(rig.window->windowTitle(), " DX Spotting Setup");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(rig.window->x() + rig.window->width() / 2, screen.center().x(), 1);
    EXPECT_EQ(rig.window->y(), screen.y());
    EXPECT_TRUE(tenlog::testing::controlsWithoutAccessibleName(rig.window.get()).isEmpty())
        << tenlog::testing::controlsWithoutAccessibleName(rig.window.get()).join(", ").toStdString();
    EXPECT_FALSE(rig.find<QLineEdit>("txtSent")->isEnabled());
    EXPECT_TRUE(rig.find<QRadioButton>("optBaud192")->isChecked());

    rig.choose("TNC"); // the TNC defaults, whatever was there
    EXPECT_TRUE(rig.find<QRadioButton>("optBaud96")->isChecked());
    EXPECT_TRUE(rig.find<QRadioButton>("Option3")->isChecked());
    EXPECT_EQ(rig.find<QLineEdit>("txtHex")->text(), "03");
    EXPECT_EQ(rig.find<QLabel>("Label6")->text(), "Send text  (Ctrl C or Esc for TNC Command mode):");
    EXPECT_TRUE(rig.find<QPlainTextEdit>("txtUnProcessed")->toPlainText().startsWith("TNC:"));

    rig.choose("Telnet");
    EXPECT_FALSE(rig.find<QRadioButton>("optBaud96")->isEnabled());
    EXPECT_TRUE(rig.find<QLineEdit>("txtTelnetHost")->isEnabled());
    rig.find<QLineEdit>("txtTelnetHost")->setText("127.0.0.1");
    rig.find<QLineEdit>("txtTelnetPort")->setText(QString::number(node.port()));
    QTest::mouseClick(rig.find<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_TRUE(rig.find<QLabel>("Label4")->isVisible());
    auto* terminal = rig.find<QPlainTextEdit>("txtUnProcessed");
    ASSERT_TRUE(QTest::qWaitFor([&] { return terminal->toPlainText().endsWith("login: "); }, 10000));
    QTest::keyClicks(rig.find<QLineEdit>("txtSent"), "N1MM");
    QTest::keyClick(rig.find<QLineEdit>("txtSent"), Qt::Key_Return);
    EXPECT_TRUE(rig.find<QLineEdit>("txtSent")->text().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.store.entry(SpotStore::kNewest).call.isEmpty(); }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return terminal->toPlainText().contains("W6AAC"); }, 10000));

    QTest::mouseClick(rig.find<QPushButton>("Command3"), Qt::LeftButton);
    EXPECT_EQ(rig.find<QLineEdit>("txtSent")->text(), "DX Frequency in kHz K1ABC");
    EXPECT_EQ(rig.find<QLineEdit>("txtSent")->selectedText(), "Frequency in kHz");

    QTest::keyClick(rig.find<QLineEdit>("txtSent"), Qt::Key_Escape); // not a close
    EXPECT_TRUE(rig.window->isVisible());

    rig.find<QRadioButton>("OptList")->setChecked(true);
    QTest::mouseClick(rig.find<QPushButton>("cmdDone"), Qt::LeftButton);
    EXPECT_FALSE(rig.window->isVisible());
    EXPECT_EQ(rig.doneCalls, 1);
    EXPECT_TRUE(rig.session.isListening()) << "the source runs on while the window is hidden";
    const auto saved = loadSpotSettings(rig.folder.path());
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->source, "Telnet");
    EXPECT_EQ(saved->telnetHost, "127.0.0.1");
    EXPECT_TRUE(saved->listDisplay);
    EXPECT_EQ(saved->baud, "9600");
}

TEST(SpottingWindow, ASavedSourceOpensAtCreationWithItsSettings)
{
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", "1"});
    ASSERT_TRUE(node.started());
    WindowRig rig;
    SpotSettings saved;
    saved.baud = "4800";
    saved.source = "telnet";
    saved.listDxOnly = 1;
    saved.telnetHost = "127.0.0.1";
    saved.telnetPort = QString::number(node.port());
    ASSERT_TRUE(saveSpotSettings(rig.folder.path(), saved));
    rig.create();
    EXPECT_TRUE(rig.session.isListening());
    EXPECT_TRUE(rig.find<QRadioButton>("optBaud48")->isChecked()) << "loading keeps the saved serial settings";
    EXPECT_FALSE(rig.find<QCheckBox>("chkDX")->isChecked());
    EXPECT_TRUE(rig.find<QLineEdit>("txtTelnetHost")->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.terminal.text().endsWith("login: "); }, 10000));

    QTest::mouseClick(rig.find<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_FALSE(rig.session.isListening());
    EXPECT_TRUE(rig.find<QPlainTextEdit>("txtUnProcessed")->toPlainText().endsWith("** Port Closed **"));
}

TEST(SpottingWindow, TheTncPortShowsItsDeviceWhileTheTncIsTheSource)
{
    WindowRig rig;
    tenlog::testing::FakeSerialDeviceList present;
    present.devices = {tenlog::testing::kFtdiAdapter};
    tenlog::platform::ComPortMapFile mapping(rig.folder.filePath(QStringLiteral("ComPorts.txt")), rig.folder.path());
    ASSERT_TRUE(mapping.mapDevice(3, QStringLiteral("/dev/ttyUSB0")));
    tenlog::common::PortDevices devices {mapping, present};
    rig.portDevices = &devices;
    rig.create();
    rig.window->show();
    rig.choose(QStringLiteral("TNC"));
    rig.find<QRadioButton>("optComm_2")->click();
    auto* row = rig.find<QWidget>("portDevice");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(rig.find<QLabel>("lblPortDevice")->text(), QStringLiteral("COM3 = /dev/ttyUSB0 (FTDI FT232R USB UART)"));
    EXPECT_TRUE(row->isEnabled());
    EXPECT_TRUE(tenlog::testing::controlsWithoutAccessibleName(rig.window.get()).isEmpty());
    rig.choose(QStringLiteral("Telnet"));
    EXPECT_FALSE(row->isEnabled()) << "no serial port for the cluster";
    rig.window.reset();
}

TEST(SpottingWindow, ABurstShowsInTheTerminalAsTheTextStands)
{
    constexpr int kSpots = 3000;
    tenlog::testing::EmulatorProcess node(QStringLiteral("cluster_node"),
                                          {"--mode", "burst", "--count", QString::number(kSpots), "--close"});
    ASSERT_TRUE(node.started());
    WindowRig rig;
    rig.create();
    rig.window->show();
    rig.choose("Telnet");
    rig.find<QLineEdit>("txtTelnetHost")->setText("127.0.0.1");
    rig.find<QLineEdit>("txtTelnetPort")->setText(QString::number(node.port()));
    QTest::mouseClick(rig.find<QPushButton>("Command1"), Qt::LeftButton);
    auto* terminal = rig.find<QPlainTextEdit>("txtUnProcessed");
    ASSERT_TRUE(QTest::qWaitFor([&] { return terminal->toPlainText().endsWith("login: "); }, 10000));
    QTest::keyClicks(rig.find<QLineEdit>("txtSent"), "N1MM");
    QTest::keyClick(rig.find<QLineEdit>("txtSent"), Qt::Key_Return);
    // The node hangs up after the last line: the close comes after them all.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.session.isListening(); }, 120000));
    EXPECT_FALSE(rig.find<QLabel>("Label4")->isVisible());

    // What the view shows, grown a slice at a time, is what the text would
    // show set afresh.
    QPlainTextEdit fresh;
    fresh.setPlainText(rig.terminal.text());
    EXPECT_EQ(terminal->toPlainText().toStdString(), fresh.toPlainText().toStdString());
    EXPECT_TRUE(terminal->toPlainText().endsWith("** Port Closed **"));
    EXPECT_EQ(terminal->textCursor().position(), terminal->document()->characterCount() - 1) << "the newest in view";

    // Text that only grows is added at the end, a CR LF cut in two included.
    for (const char* piece : {"\r\nstatus\r", "\nnext line", " goes on\r\n", "\r", "\r\n"}) {
        rig.terminal.append(QString::fromLatin1(piece));
        fresh.setPlainText(rig.terminal.text());
        EXPECT_EQ(terminal->toPlainText().right(80).toStdString(), fresh.toPlainText().right(80).toStdString()) << piece;
        EXPECT_EQ(terminal->toPlainText().size(), fresh.toPlainText().size()) << piece;
    }
}

TEST(SpottingWindow, TheKeysChooseTheSourceAsAClickDoes)
{
    WindowRig rig;
    rig.create();
    rig.window->show();
    QApplication::setActiveWindow(rig.window.get());
    auto* list = rig.find<QListWidget>("List1");
    auto* host = rig.find<QLineEdit>("txtTelnetHost");
    auto* open = rig.find<QPushButton>("Command1");
    list->setFocus(Qt::TabFocusReason);
    list->setCurrentRow(0); // where the list puts its highlight when entered; it chooses nothing
    EXPECT_TRUE(rig.session.source().isEmpty());

    QTest::keyClick(list, Qt::Key_Down); // "TNC"
    EXPECT_EQ(rig.session.source(), "TNC");
    EXPECT_TRUE(rig.find<QLineEdit>("txtHex")->isEnabled());
    QTest::keyClick(list, Qt::Key_Down); // "Telnet"
    EXPECT_EQ(rig.session.source(), "Telnet");
    EXPECT_TRUE(host->isEnabled());
    EXPECT_TRUE(rig.find<QLineEdit>("txtTelnetPort")->isEnabled());
    EXPECT_TRUE(open->isEnabled());
    EXPECT_FALSE(rig.find<QLineEdit>("txtHex")->isEnabled());
    EXPECT_EQ(rig.find<QLabel>("Label6")->text(), "Type text to send and press enter:");

    // Space or Enter on the source in use changes nothing: an open source stays open.
    QTcpServer cluster; // takes the connection in and never answers
    ASSERT_TRUE(cluster.listen(QHostAddress::LocalHost));
    host->setText("127.0.0.1");
    rig.find<QLineEdit>("txtTelnetPort")->setText(QString::number(cluster.serverPort()));
    QTest::mouseClick(open, Qt::LeftButton);
    ASSERT_TRUE(rig.session.isListening());
    QTest::keyClick(list, Qt::Key_Space);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(rig.session.isListening());
    EXPECT_TRUE(rig.window->isVisible());

    // A highlight moved without choosing (as the list does for itself) is chosen by Enter.
    {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(3);
    }
    QTest::keyClick(list, Qt::Key_Enter);
    EXPECT_EQ(rig.session.source(), "AGW Packet Engine");
    EXPECT_FALSE(rig.session.isListening()) << "a new choice closes the old source";
    EXPECT_FALSE(host->isEnabled());
    EXPECT_TRUE(rig.find<QLineEdit>("txtSent")->isEnabled());

    // A mouse press moves the highlight; the click chooses, once.
    int helpShown = 0;
    QObject::connect(&rig.terminal, &SpotTerminal::changed, [&] { ++helpShown; });
    const QRect none = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, none.center());
    EXPECT_EQ(rig.session.source(), "None");
    EXPECT_EQ(helpShown, 1);
}

TEST(SpottingWindow, TheTelnetPortTakesOnlyAPortNumber)
{
    WindowRig rig;
    rig.create();
    rig.window->show();
    rig.choose("Telnet");
    auto* port = rig.find<QLineEdit>("txtTelnetPort");
    const struct {
        const char* typed;
        const char* kept;
    } cases[] = {{"73ab0", "730"}, {"-23", "23"}, {"65535", "65535"}, {"65536", "6553"}, {"99999", "9999"}, {"8 000", "8000"}};
    for (const auto& c : cases) {
        port->clear();
        QTest::keyClicks(port, QString::fromLatin1(c.typed));
        EXPECT_EQ(port->text(), QString::fromLatin1(c.kept)) << c.typed;
    }
    port->setText("0");
    EXPECT_FALSE(port->hasAcceptableInput());
}
