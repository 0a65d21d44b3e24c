// The rigctld link in trouble, over real sockets: a real rigctld killed and
// started again on the same port. The link must say so, forget the frequency
// it can no longer vouch for, and come back by itself. (A daemon that accepts
// and says nothing is tested in RigctldPollerTest; a serial radio that falls
// silent from the main window, over a pseudo-terminal.)
#include "platform/qt/QtTcpClient.h"
#include "rig/RigControl.h"

#include "FakeSerialPort.h"
#include "RadioEmulatorProcess.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tenlog;
using tenlog::testing::RadioEmulatorProcess;

namespace {

bool waitFor(const std::function<bool()>& condition, int ms = 8000)
{
    return RadioEmulatorProcess::waitFor(condition, ms);
}

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}

} // namespace

TEST(RigLinkFaults, RigctldKilledAndStartedAgainIsFoundByItself)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("rigctld"));
    if (program.isEmpty())
        GTEST_SKIP() << "rigctld (Debian package libhamlib-utils) is not installed";
    const quint16 tcpPort = freeLoopbackPort();
    ASSERT_NE(tcpPort, 0);
    const QStringList arguments = {QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-T"),
                                   QStringLiteral("127.0.0.1"), QStringLiteral("-t"), QString::number(tcpPort)};

    tenlog::testing::FakeSerialPort unused;
    platform::QtTcpClient client;
    QTemporaryDir folder;
    rig::RigControl control(unused, client, folder.path(), folder.path());
    QStringList troubles;
    int forgotten = 0;
    float frequency = 0;
    QObject::connect(&control, &rig::RigControl::trouble, [&](const QString& t) { troubles << t; });
    QObject::connect(&control, &rig::RigControl::frequencyUnknown, [&] { ++forgotten; });
    QObject::connect(&control, &rig::RigControl::frequencyPolled, [&](float f) { frequency = f; });
    rig::RigSettings settings;
    rig::applyRigProfile(settings, *rig::findRigProfile(rig::kRigctldRigName));
    settings.rigctldPort = tcpPort;
    settings.pollRateCode = QStringLiteral("F");
    control.setSettings(settings);

    // Started before the daemon listens: refused, and tried again.
    ASSERT_TRUE(control.start());
    ASSERT_TRUE(waitFor([&] { return control.status().text.contains(QLatin1String("not reachable")); }))
        << control.status().text.toStdString();
    EXPECT_EQ(control.status().text,
              QStringLiteral("Radio: rigctld at 127.0.0.1:%1 not reachable, retrying in 1 s").arg(tcpPort));

    QProcess first;
    first.start(program, arguments);
    ASSERT_TRUE(first.waitForStarted());
    // The dummy radio starts at 145 MHz.
    ASSERT_TRUE(waitFor([&] { return control.status().text == QLatin1String("Radio: 145.00000 MHz"); }, 15000))
        << control.status().text.toStdString();
    const qsizetype saidBefore = troubles.size();
    const int forgottenBefore = forgotten;

    first.kill(); // by its own process id
    first.waitForFinished();
    ASSERT_TRUE(waitFor([&] { return control.status().text.contains(QLatin1String("not reachable, retrying")); }))
        << control.status().text.toStdString();
    EXPECT_EQ(troubles.size(), saidBefore + 1);
    EXPECT_TRUE(troubles.back().startsWith(QStringLiteral("Radio link lost, retrying by itself: rigctld at ")));
    EXPECT_GT(forgotten, forgottenBefore);
    EXPECT_TRUE(control.isRunning());

    QProcess second;
    second.start(program, arguments);
    ASSERT_TRUE(second.waitForStarted());
    QTcpSocket knob; // turns the new dummy radio, so the reading is its own
    ASSERT_TRUE(waitFor([&] {
        knob.abort();
        knob.connectToHost(QHostAddress::LocalHost, tcpPort);
        return knob.waitForConnected(200);
    }));
    knob.write("F 28025000\n");
    ASSERT_TRUE(waitFor([&] { return control.status().text == QLatin1String("Radio: 28.02500 MHz"); }, 20000))
        << control.status().text.toStdString();
    EXPECT_EQ(frequency, 28.025f);
    control.stop();
    second.kill();
    second.waitForFinished();
}
