// Spotting from the main window, for the tests that drive it: the window with
// real transports, a DX cluster on loopback reached as an operator reaches it
// (Ctrl+D, Telnet, the call typed, Done), and a Kenwood radio emulator on a
// pseudo-terminal, polled by the real rig link.
#pragma once

#include "../station/MainWindowFixture.h"

#include "EmulatorProcess.h"
#include "FakeTcpClient.h"
#include "RadioEmulatorProcess.h"

#include "log/MultTable.h"
#include "station/MultiplierGrid.h"
#include "platform/ComPortMap.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTcpClient.h"
#include "rig/RigControl.h"
#include "rig/RigSettings.h"
#include "spots/DxSpotting.h"

#include <QFile>

class SpotsInMainWindowTest : public MainWindowTest {
protected:
    // The window goes before the transports its spotting parts use.
    void TearDown() override { window.reset(); }

    // Ctrl+D, the cluster chosen, logged in, the main window's display
    // chosen ("OptBand" or "OptList"), Done: as an operator starts spotting.
    void listenToCluster(const tenlog::testing::EmulatorProcess& node, const char* display = "OptBand")
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
        auto* spotting = window->findChild<QDialog*>(QStringLiteral("PacketSpotfrm"));
        ASSERT_NE(spotting, nullptr);
        ASSERT_TRUE(spotting->isVisible());
        auto* sources = spotting->findChild<QListWidget*>(QStringLiteral("List1"));
        QListWidgetItem* telnetItem = sources->findItems(QStringLiteral("Telnet"), Qt::MatchExactly).first();
        sources->setCurrentItem(telnetItem);
        emit sources->itemClicked(telnetItem);
        spotting->findChild<QLineEdit*>(QStringLiteral("txtTelnetHost"))->setText(QStringLiteral("127.0.0.1"));
        spotting->findChild<QLineEdit*>(QStringLiteral("txtTelnetPort"))->setText(QString::number(node.port()));
        spotting->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        auto* terminal = spotting->findChild<QPlainTextEdit*>(QStringLiteral("txtUnProcessed"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return terminal->toPlainText().endsWith(QStringLiteral("login: ")); }, 10000));
        auto* sendLine = spotting->findChild<QLineEdit*>(QStringLiteral("txtSent"));
        QTest::keyClicks(sendLine, QStringLiteral("W3LPL"));
        QTest::keyClick(sendLine, Qt::Key_Return);
        spotting->findChild<QRadioButton*>(QString::fromLatin1(display))->click();
        spotting->findChild<QPushButton*>(QStringLiteral("cmdDone"))->click();
    }

    // A spot naming Massachusetts is in the store.
    bool recentSpotShown()
    {
        emit window->findChild<station::MultiplierGrid*>()->entryHovered(log::multIndex(QStringLiteral("MA")));
        return textOf("lblDupe").contains(QStringLiteral("Recent Spot:"));
    }

    platform::QtTcpClient telnet;
    platform::QtTcpClient agw;
    platform::QtSerialPort tnc{platform::ComPortMap(QString(), {}, QDir::homePath())};
    spots::SpotTransports transports{telnet, tnc, agw};
};

// A Kenwood radio on COM3, chosen in the settings and polled by the rig link.
struct KenwoodOnCom3 {
    tenlog::testing::RadioEmulatorProcess radio{QStringLiteral(TENLOG_KENWOOD_EMULATOR)};
    std::unique_ptr<platform::QtSerialPort> port;
    tenlog::testing::FakeTcpClient noDaemon;
    std::unique_ptr<rig::RigControl> rig;

    bool setUp(const tenlog::testing::TempPaths& paths)
    {
        if (!radio.start())
            return false;
        QDir().mkpath(paths.root() + QStringLiteral("/user"));
        QFile map(paths.root() + QStringLiteral("/user/ComPorts.txt"));
        if (!map.open(QIODevice::WriteOnly))
            return false;
        map.write("COM3=" + radio.ptyPath().toLocal8Bit() + "\r\n");
        map.close();
        port = std::make_unique<platform::QtSerialPort>(platform::ComPortMap::readFrom(map.fileName(), QDir::homePath()));
        rig = std::make_unique<rig::RigControl>(*port, noDaemon, paths.workingFolder(), paths.root());
        rig::RigSettings kenwood;
        rig::applyRigProfile(kenwood, *rig::findRigProfile(QStringLiteral("Kenwood")));
        kenwood.commPortNumber = 3;
        kenwood.pollRateCode = QStringLiteral("F");
        if (!rig::saveRigSettings(paths.workingFolder(), kenwood))
            return false;
        log::Prefs prefs = *log::loadPrefs(paths.workingFolder());
        prefs.RigName = QStringLiteral("Kenwood");
        return log::savePrefs(paths.workingFolder(), prefs);
    }
    // Whether the radio was told to go to the frequency (the digits of its
    // FA command, e.g. "00028003300").
    bool toldToGoTo(const char* digits) const
    {
        QString hex;
        for (const char c : QByteArray("FA") + digits + ';')
            hex += QStringLiteral("%1 ").arg(static_cast<int>(c), 2, 16, QLatin1Char('0')).toUpper();
        return radio.received().contains(hex.trimmed());
    }
};
