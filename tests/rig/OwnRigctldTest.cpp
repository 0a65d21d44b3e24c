// The rigctld the logger starts itself for a Hamlib radio: the real daemon
// (Hamlib's dummy radio) started with the settings, polled, and never left
// running; and stand-in programs for the ways it fails: not installed, ending
// at once, never opening its port.
#include "platform/ChildProcess.h"
#include "platform/qt/QtChildProcess.h"
#include "platform/qt/QtTcpClient.h"
#include "rig/HamlibModels.h"
#include "rig/RigControl.h"
#include "rig/RigctldDaemon.h"
#include "rig/RigctldPoller.h"

#include "FakeSerialPort.h"
#include "RadioEmulatorProcess.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <signal.h>

using namespace tenlog;
using tenlog::testing::RadioEmulatorProcess;

namespace {

bool waitFor(const std::function<bool()>& condition, int ms = 8000)
{
    return RadioEmulatorProcess::waitFor(condition, ms);
}

bool processAlive(qint64 pid)
{
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0;
}

QStringList commandLineOf(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList words;
    for (const QByteArray& word : file.readAll().split('\0'))
        if (!word.isEmpty())
            words << QString::fromLocal8Bit(word);
    return words;
}

std::unique_ptr<platform::ChildProcess> realChild()
{
    return std::make_unique<platform::QtChildProcess>();
}

// A radio link through the real child processes and the real TCP client.
struct OwnDaemonLink {
    tenlog::testing::FakeSerialPort unused;
    platform::QtTcpClient client;
    QTemporaryDir folder;
    rig::RigControl control{unused, client, folder.path(), folder.path(), realChild};
    QStringList troubles;
    QStringList failures;

    explicit OwnDaemonLink(int model, const QString& device = QString())
    {
        QObject::connect(&control, &rig::RigControl::trouble, [this](const QString& t) { troubles << t; });
        QObject::connect(&control, &rig::RigControl::openFailed, [this](const QString& t) { failures << t; });
        rig::RigSettings settings;
        rig::applyRigProfile(settings, *rig::findRigProfile(rig::kRigctldRigName));
        settings.hamlibModel = model;
        settings.hamlibDevice = device;
        settings.pollRateCode = QStringLiteral("F");
        control.setSettings(settings);
    }
};

// A stand-in for rigctld: a shell script in the folder.
QString script(const QTemporaryDir& folder, const char* name, const QByteArray& body)
{
    const QString path = folder.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QString firstChildOf(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/task/%1/children").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).section(u' ', 0, 0, QString::SectionSkipEmpty);
}

qint64 daemonPid(OwnDaemonLink& link)
{
    const rig::RigctldDaemon* daemon = link.control.rigctldLink().daemon();
    return daemon && daemon->isRunning() ? daemon->processId() : 0;
}

} // namespace

TEST(OwnRigctld, IsStartedWithTheRadioPolledAndNeverLeftRunning)
{
    if (QStandardPaths::findExecutable(QStringLiteral("rigctld")).isEmpty())
        GTEST_SKIP() << "rigctld (Debian package libhamlib-utils) is not installed";
    // Ended by the link's end, then by the program's end (the owner destroyed).
    for (const bool byDestruction : {false, true}) {
        auto link = std::make_unique<OwnDaemonLink>(1);
        ASSERT_TRUE(link->control.start());
        // Hamlib's dummy radio starts at 145 MHz.
        ASSERT_TRUE(waitFor([&] { return link->control.status().text == QLatin1String("Radio: 145.00000 MHz"); }, 15000))
            << link->control.status().text.toStdString();
        const qint64 pid = daemonPid(*link);
        ASSERT_TRUE(processAlive(pid));
        const quint16 port = link->control.rigctldLink().daemon()->port();
        EXPECT_EQ(commandLineOf(pid).mid(1),
                  (QStringList{QStringLiteral("--model=1"), QStringLiteral("--listen-addr=127.0.0.1"),
                               QStringLiteral("--port=%1").arg(port)}));
        EXPECT_TRUE(link->troubles.isEmpty()) << link->troubles.join(u'|').toStdString();

        // Starting again with the same radio keeps the daemon.
        ASSERT_TRUE(link->control.start());
        EXPECT_EQ(daemonPid(*link), pid);

        if (byDestruction)
            link.reset();
        else
            link->control.stop();
        EXPECT_TRUE(waitFor([&] { return !processAlive(pid); }, 5000)) << byDestruction;
    }
}

TEST(OwnRigctld, ADaemonKilledFromOutsideIsSaidByItsEndAndStartedAgain)
{
    const QString rigctld = QStandardPaths::findExecutable(QStringLiteral("rigctld"));
    if (rigctld.isEmpty())
        GTEST_SKIP() << "rigctld (Debian package libhamlib-utils) is not installed";
    // The real daemon under a shell that outlives it a moment and then dies
    // by a signal: the connection closes before the end is known, the order
    // in which a killed daemon is usually seen.
    QTemporaryDir tools;
    // Stopped by the link, it takes the daemon with it.
    const QString wrapper = script(tools, "wrapped-rigctld",
                                   "'" + rigctld.toLocal8Bit()
                                       + "' \"$@\" &\nchild=$!\ntrap 'kill $child; exit 0' TERM\nwait $child\n"
                                         "sleep 0.3\nkill -9 $$\n");
    OwnDaemonLink link(1);
    link.control.rigctldLink().setDaemonProgram(wrapper);
    ASSERT_TRUE(link.control.start());
    ASSERT_TRUE(waitFor([&] { return link.control.status().text == QLatin1String("Radio: 145.00000 MHz"); }, 15000))
        << link.control.status().text.toStdString();
    const qint64 shell = daemonPid(link);
    bool ok = false;
    const qint64 inner = firstChildOf(shell).toLongLong(&ok);
    ASSERT_TRUE(ok) << "no rigctld under the shell";

    ::kill(pid_t(inner), SIGKILL);
    ASSERT_TRUE(waitFor([&] { return link.troubles.size() >= 2; })) << link.troubles.join(u'|').toStdString();
    // (The shell's own last words follow.)
    EXPECT_TRUE(link.troubles.back().startsWith(QLatin1String(
        "Radio link lost, retrying by itself: rigctld for Hamlib model 1 ended by itself (killed by signal 9)")))
        << link.troubles.back().toStdString();
    EXPECT_TRUE(link.control.status().detail.startsWith(
        QLatin1String("rigctld for Hamlib model 1 ended by itself (killed by signal 9)")))
        << link.control.status().detail.toStdString();
    // Started again, and polled, by itself.
    ASSERT_TRUE(waitFor([&] { return link.control.status().text == QLatin1String("Radio: 145.00000 MHz"); }, 15000))
        << link.control.status().text.toStdString();
    const qint64 secondShell = daemonPid(link);
    EXPECT_NE(secondShell, shell);
    const qint64 secondInner = firstChildOf(secondShell).toLongLong();
    EXPECT_GT(secondInner, 0);
    link.control.stop();
    EXPECT_TRUE(waitFor([&] { return !processAlive(secondInner); }, 5000));
}

TEST(OwnRigctld, TroubleIsSaidWithWhatWasTriedAndTheDaemonGoes)
{
    QTemporaryDir tools;
    const struct {
        const char* what;
        QString program;
        QString device;
        rig::StartMode mode;
        const char* said; // the failure (ReportFailure) or the trouble (KeepTrying)
    } rows[] = {
        {"not installed", tools.filePath(QStringLiteral("no-rigctld")), QString(), rig::StartMode::ReportFailure,
         "Hamlib's rigctld is not installed"},
        {"no serial device", script(tools, "idle", "exec sleep 30\n"), QStringLiteral("/dev/tenlog-no-such-tty"),
         rig::StartMode::ReportFailure, "The radio's serial device /dev/tenlog-no-such-tty is not there."},
        {"ends at once", script(tools, "ends", "echo 'rig_open: error = IO error' >&2\nexit 2\n"), QString(),
         rig::StartMode::KeepTrying,
         "The radio link could not be opened, retrying by itself: rigctld for Hamlib model 1020 ended by itself "
         "(exit code 2): rig_open: error = IO error"},
        {"never listens", script(tools, "mute", "exec sleep 30\n"), QString(), rig::StartMode::KeepTrying,
         "The radio link could not be opened, retrying by itself: rigctld for Hamlib model 1020 did not open its "
         "port 127.0.0.1:"},
    };
    for (const auto& row : rows) {
        OwnDaemonLink link(1020, row.device);
        link.control.rigctldLink().setDaemonProgram(row.program);
        link.control.rigctldLink().setDaemonListenWaitMs(600);
        const bool opened = link.control.start(row.mode);
        if (row.mode == rig::StartMode::ReportFailure) {
            EXPECT_FALSE(opened) << row.what;
            ASSERT_EQ(link.failures.size(), 1) << row.what;
            EXPECT_TRUE(link.failures.front().startsWith(QLatin1String(row.said)))
                << row.what << ": " << link.failures.front().toStdString();
            EXPECT_FALSE(link.control.isRunning()) << row.what;
            continue;
        }
        ASSERT_TRUE(waitFor([&] { return !link.troubles.isEmpty(); })) << row.what;
        EXPECT_TRUE(link.troubles.front().startsWith(QLatin1String(row.said)))
            << row.what << ": " << link.troubles.front().toStdString();
        // The status line stays short; its detail names the radio and the reason.
        EXPECT_EQ(link.control.status().text, QStringLiteral("Radio: rigctld not reachable, retrying in 1 s")) << row.what;
        EXPECT_TRUE(link.control.status().detail.contains(QLatin1String("Hamlib model 1020"))) << row.what;
        // Nothing is left running while the link waits to try again.
        EXPECT_FALSE(link.control.rigctldLink().daemon()->isRunning()) << row.what;
        link.control.stop();
    }
    // The install hint is in the words the operator sees.
    OwnDaemonLink missing(1020);
    missing.control.rigctldLink().setDaemonProgram(tools.filePath(QStringLiteral("no-rigctld")));
    missing.control.start(rig::StartMode::KeepTrying);
    ASSERT_EQ(missing.troubles.size(), 1);
    EXPECT_TRUE(missing.troubles.front().endsWith(rig::kHamlibInstallHint)) << missing.troubles.front().toStdString();
}

TEST(HamlibModelCatalog, ListsTheModelsOrSaysWhyNot)
{
    QTemporaryDir tools;
    const struct {
        const char* what;
        QString program;
        QStringList models; // as listed, by maker and name
        const char* problem;
    } rows[] = {
        {"a list", script(tools, "rigctl-list",
                          "echo ' Rig #  Mfg                    Model                   Version         Status      Macro'\n"
                          "echo '  3073  Icom                   IC-7300                 20230109.0      Stable      RIG_MODEL_IC7300'\n"
                          "echo '     1  Hamlib                 Dummy                   20221128.0      Stable      RIG_MODEL_DUMMY'\n"),
         {QStringLiteral("Hamlib Dummy (1)"), QStringLiteral("Icom IC-7300 (3073)")}, ""},
        {"not installed", tools.filePath(QStringLiteral("no-rigctl")), {}, "Hamlib is not installed: sudo apt install libhamlib-utils"},
        {"no models", script(tools, "rigctl-broken", "echo 'error while loading shared libraries' >&2\nexit 127\n"), {},
         "rigctl-broken -l listed no radio models (exit code 127): error while loading shared libraries"},
    };
    for (const auto& row : rows) {
        rig::HamlibModelCatalog catalog(realChild(), row.program);
        bool done = false;
        catalog.load([&] { done = true; });
        ASSERT_TRUE(waitFor([&] { return done; })) << row.what;
        QStringList listed;
        for (const rig::HamlibModel& model : catalog.models())
            listed << model.text();
        EXPECT_EQ(listed, row.models) << row.what;
        if (*row.problem == '\0')
            EXPECT_TRUE(catalog.problem().isEmpty()) << row.what << ": " << catalog.problem().toStdString();
        else
            EXPECT_TRUE(catalog.problem().endsWith(QLatin1String(row.problem)))
                << row.what << ": " << catalog.problem().toStdString();
    }
}
