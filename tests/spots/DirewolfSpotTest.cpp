// The packet-engine source against the real direwolf: a DX spot sent as a
// 1200 baud AFSK UI frame to "DX" is played into direwolf's audio input,
// decoded, monitored over its AGW port by the spotting chain the main window
// runs, and lands in the spot store and the terminal. Skipped where direwolf
// (Debian package direwolf, which brings gen_packets) is not installed.
#include "DirewolfProcess.h"
#include "FakeSerialPort.h"
#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "SpotLines.h"
#include "platform/qt/QtTcpClient.h"
#include "spots/DxSpotting.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace tenlog::spots;
using tenlog::testing::DirewolfProcess;

TEST(DirewolfPacketEngine, AMonitoredSpotReachesTheStoreAndTheTerminal)
{
    const QString missing = DirewolfProcess::missingPrograms();
    if (!missing.isEmpty())
        GTEST_SKIP() << missing.toStdString() << " (Debian package direwolf) is not installed";
    DirewolfProcess engine(QStringLiteral("N1MM-1"));
    ASSERT_TRUE(engine.start()) << engine.output().toStdString();
    const QString spot =
        tenlog::testing::clusterSpotLine(QStringLiteral("K1TTT"), QStringLiteral("28025.0"), QStringLiteral("VE3XYZ"),
                                         QStringLiteral("CQ"));
    const QByteArray audio = engine.packetAudio(QStringLiteral("K1TTT>DX:") + spot);
    ASSERT_FALSE(audio.isEmpty()) << engine.output().toStdString();

    tenlog::testing::SettableClock clock;
    tenlog::testing::ScriptedDialogs dialogs;
    tenlog::platform::QtTcpClient clusterLink;
    tenlog::testing::FakeSerialPort tncPort;
    tenlog::platform::QtTcpClient engineLink;
    DxSpotting spotting({clusterLink, tncPort, engineLink}, clock, dialogs, [] { return QStringLiteral("N1MM"); });
    int stored = 0;
    QObject::connect(&spotting.intake, &SpotIntake::spotStored, [&] { ++stored; });
    spotting.session.setSource(kSourceAgw);
    spotting.session.setAgwAddress(QStringLiteral("127.0.0.1"), engine.agwPort());
    spotting.session.open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return spotting.session.isTicking(); }, 10000))
        << spotting.terminal.text().toStdString();

    // The session's own 333 ms timer takes the frame, as in the program.
    engine.play(audio);
    ASSERT_TRUE(QTest::qWaitFor([&] { return stored == 1; }, 10000))
        << engine.output().toStdString() << "\nterminal:\n"
        << spotting.terminal.text().toStdString();
    const Spot& newest = spotting.store.entry(SpotStore::kNewest);
    EXPECT_EQ(newest.call, QStringLiteral("VE3XYZ"));
    EXPECT_FLOAT_EQ(newest.frequencyMhz, 28.025f);
    // The engine's monitor header is not shown, nor its closing NUL.
    EXPECT_EQ(spotting.terminal.text(), QStringLiteral("** Attempting to Open Port **\r\n\r\n\r\n"
                                                       "** Successfully connected to AGW Packet Engine **\r\n\r\n")
                                            + spot + QStringLiteral("\r\n"));
    EXPECT_TRUE(dialogs.messages.empty());

    spotting.session.close();
    EXPECT_FALSE(spotting.session.isListening());
    EXPECT_FALSE(engineLink.isConnected());
}
