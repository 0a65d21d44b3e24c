// The real spot sources against the emulated cluster node, packet engine and
// TNC: the TCP connection on loopback, the TNC on a pseudo-terminal.
#include "EmulatorProcess.h"
#include "FakeSerialPort.h"
#include "FakeTcpClient.h"
#include "SpotChain.h"
#include "SpotLines.h"
#include "ScriptedDialogs.h"
#include "SettableClock.h"
#include "platform/SerialPort.h"
#include "platform/qt/QtTcpClient.h"
#include "spots/AgwSpotSource.h"
#include "spots/SpotIntake.h"
#include "spots/SpotLineQueue.h"
#include "spots/SpotPaths.h"
#include "spots/SpotSession.h"
#include "spots/SpotTerminal.h"
#include "spots/TelnetSpotSource.h"
#include "spots/TncSpotSource.h"

#include <QMap>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace tenlog::spots;
using tenlog::testing::EmulatorProcess;

namespace {

struct Spotting : tenlog::testing::SpotChain {
    int stored = 0;
    Spotting()
    {
        QObject::connect(&intake, &SpotIntake::spotStored, [this] { ++stored; });
    }
};

struct TelnetRig : Spotting {
    tenlog::platform::QtTcpClient client;
    TelnetSpotSource source{client};
    QStringList lines;
    QStringList failures;
    int closed = 0;
    TelnetRig()
    {
        QObject::connect(&source, &TelnetSpotSource::lineReceived, [this](const QString& line) {
            lines.append(line);
            paths.takeTelnetLine(line);
        });
        QObject::connect(&source, &TelnetSpotSource::partialLine,
                         [this](const QString& text) { paths.showTelnetPartial(text); });
        QObject::connect(&source, &TelnetSpotSource::failed, [this](const QString& text) { failures.append(text); });
        QObject::connect(&source, &TelnetSpotSource::closedByRemote, [this] { ++closed; });
    }
    // Connects, waits for the prompt and logs in.
    bool logIn(quint16 port)
    {
        if (!source.open(QStringLiteral("127.0.0.1"), QString::number(port)))
            return false;
        if (!QTest::qWaitFor([this] { return terminal.text().endsWith(QLatin1String("login: ")); }, 10000))
            return false;
        return source.sendLine(QStringLiteral("N1MM"));
    }
};

} // namespace

TEST(TelnetSpotSource, AThousandLinesInOneWriteAllReachTheStore)
{
    EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", "1000"});
    ASSERT_TRUE(node.started()) << node.errorOutput().toStdString();
    TelnetRig rig;
    ASSERT_TRUE(rig.logIn(node.port()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.stored == 1000; }, 30000)) << rig.stored;
    EXPECT_EQ(rig.lines.size(), 1002); // the banner's two lines and the spots
    // The node does not echo the call typed, so its greeting follows the prompt.
    EXPECT_TRUE(rig.lines.first().startsWith(QLatin1String("login: Hello N1MM,")));
    EXPECT_EQ(rig.store.entry(SpotStore::kNewest).call, rig.lines.last().mid(26, 13).trimmed());
    EXPECT_TRUE(rig.failures.isEmpty());
}

TEST(TelnetSpotSource, LinesSplitAcrossWritesAndNoiseBetweenLinesArriveWhole)
{
    for (const char* mode : {"split", "garbage"}) {
        EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", mode, "--count", "6", "--pace-ms", "30"});
        ASSERT_TRUE(node.started());
        TelnetRig rig;
        ASSERT_TRUE(rig.logIn(node.port()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return rig.stored == 6; }, 10000)) << mode << " " << rig.stored;
        for (const QString& line : rig.lines.filter(QStringLiteral("DX de")))
            EXPECT_EQ(line.size(), 75) << mode << ": " << line.toStdString();
        EXPECT_FALSE(rig.terminal.text().contains(QChar(0))) << mode;
        EXPECT_FALSE(rig.terminal.text().contains(QChar(0xff))) << mode;
    }
}

TEST(TelnetSpotSource, TenMegabytesWithoutALineEndStayBounded)
{
    EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "flood"});
    ASSERT_TRUE(node.started());
    TelnetRig rig;
    qsizetype longestPending = 0;
    QObject::connect(&rig.source, &TelnetSpotSource::partialLine,
                     [&](const QString& text) { longestPending = std::max(longestPending, text.size()); });
    ASSERT_TRUE(rig.logIn(node.port()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.stored == 1; }, 60000));
    EXPECT_LE(longestPending, kMaxLineLength);
    ASSERT_GE(rig.lines.size(), 2);
    EXPECT_EQ(rig.lines.at(rig.lines.size() - 2), QString(kMaxLineLength, QLatin1Char('x')));
    EXPECT_LE(rig.terminal.text().size(), SpotTerminal::kTrimAbove);
}

TEST(TelnetSpotSource, ANodeClosingMidLineStoresNothingAndReportsTheClose)
{
    EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "cutoff"});
    ASSERT_TRUE(node.started());
    TelnetRig rig;
    ASSERT_TRUE(rig.logIn(node.port()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.closed == 1; }, 10000));
    EXPECT_EQ(rig.stored, 0);
    EXPECT_TRUE(rig.terminal.text().endsWith(QLatin1String("DX de K1TTT:     28000.0  VE3AAA       C")));
    EXPECT_FALSE(rig.source.isConnected());
    EXPECT_FALSE(rig.source.sendLine(QStringLiteral("SH/DX")));
}

TEST(TelnetSpotSource, RefusedConnectionAndBadPortText)
{
    quint16 unused = 0;
    {
        EmulatorProcess node(QStringLiteral("cluster_node"), {});
        ASSERT_TRUE(node.started());
        unused = node.port();
    } // the node is gone: nobody listens there
    TelnetRig rig;
    EXPECT_FALSE(rig.source.open(QStringLiteral("127.0.0.1"), QStringLiteral("73a")));
    EXPECT_FALSE(rig.source.open(QStringLiteral("127.0.0.1"), QStringLiteral("70000")));
    ASSERT_TRUE(rig.source.open(QStringLiteral("127.0.0.1"), QString::number(unused)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.failures.isEmpty(); }, 10000));
    EXPECT_EQ(rig.failures, QStringList{"ERROR: Connection is forcefully rejected."});
}

TEST(TelnetSpotSource, OptionRequestsAreRefusedAndRefusalsAreNotAnswered)
{
    QTcpServer node;
    ASSERT_TRUE(node.listen(QHostAddress::LocalHost));
    TelnetRig rig;
    ASSERT_TRUE(rig.source.open(QStringLiteral("127.0.0.1"), QString::number(node.serverPort())));
    ASSERT_TRUE(node.waitForNewConnection(10000));
    QTcpSocket* far = node.nextPendingConnection();
    // WILL ECHO, DO TERMINAL-TYPE, then WONT ECHO and DONT NAWS, then the prompt.
    far->write(QByteArray::fromHex("fffb01fffd18fffc01fffe1f") + "login: ");
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.terminal.text().endsWith(QLatin1String("login: ")); }, 10000));
    ASSERT_TRUE(rig.source.sendLine(QStringLiteral("N1MM")));
    QByteArray heard;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            heard += far->readAll();
            return heard.endsWith("\r\n");
        },
        10000));
    EXPECT_EQ(heard.toHex(' '), (QByteArray::fromHex("fffe01fffc18") + "N1MM\r\n").toHex(' '));
    EXPECT_EQ(rig.lines, QStringList{}) << "no line ended yet";
}

namespace {

// A loopback port whose listener's backlog is full: a connection to it is
// neither taken nor refused, it stays pending, as with a host that does not
// answer.
class UnansweringPort {
public:
    UnansweringPort()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(m_listener, 0) != 0
            || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        m_port = ntohs(address.sin_port);
        for (int i = 0; i < 4; ++i) {
            const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
            m_fillers.push_back(filler);
        }
    }
    ~UnansweringPort()
    {
        for (int filler : m_fillers)
            ::close(filler);
        ::close(m_listener);
    }
    quint16 port() const { return m_port; }

private:
    int m_listener = -1;
    quint16 m_port = 0;
    std::vector<int> m_fillers;
};

struct AgwRig : Spotting {
    tenlog::platform::QtTcpClient client;
    AgwSpotSource source{client};
    int started = 0;
    QStringList refusals;
    QStringList events;
    AgwRig()
    {
        QObject::connect(&source, &AgwSpotSource::started, [this] { ++started; });
        QObject::connect(&source, &AgwSpotSource::refused, [this](const QString& why) { refusals.append(why); });
        QObject::connect(&source, &AgwSpotSource::frameReceived,
                         [this](char kind, const QString& from, const QByteArray& data) {
                             paths.takeAgwFrame(kind, from, data, source.connectedCall());
                         });
        QObject::connect(&source, &AgwSpotSource::stationConnected, [this](const QString& c) { events << "+" + c; });
        QObject::connect(&source, &AgwSpotSource::stationDisconnected, [this](const QString& c) { events << "-" + c; });
    }
    // Polls as the spotting timer would, faster, until done() holds.
    bool pollUntil(const std::function<bool()>& done)
    {
        return QTest::qWaitFor(
            [&] {
                source.poll();
                return done();
            },
            10000);
    }
};

} // namespace

TEST(AgwSpotSource, RegistersMonitorsConnectsAndDisconnects)
{
    EmulatorProcess engine(QStringLiteral("agw_engine"), {"--count", "3", "--pace-ms", "0"});
    ASSERT_TRUE(engine.started());
    AgwRig rig;
    rig.source.start(QStringLiteral("n1mm"), QStringLiteral("127.0.0.1"), engine.port());
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.started == 1; }, 10000));
    ASSERT_TRUE(rig.pollUntil([&] { return rig.stored == 3; }));
    EXPECT_EQ(rig.store.entry(SpotStore::kNewest).call, "VE3AAC");

    EXPECT_EQ(rig.source.sendLine(QStringLiteral(":c")), AgwSpotSource::SendOutcome::CallRequired);
    EXPECT_EQ(rig.source.sendLine(QStringLiteral("nobody hears this")), AgwSpotSource::SendOutcome::Dropped);
    EXPECT_EQ(rig.source.sendLine(QStringLiteral(":c k1ttt")), AgwSpotSource::SendOutcome::Sent);
    ASSERT_TRUE(rig.pollUntil([&] { return rig.stored == 4; })); // the node's greeting spot
    EXPECT_EQ(rig.events, QStringList{"+K1TTT"});
    EXPECT_EQ(rig.source.sendLine(QStringLiteral("SH/DX")), AgwSpotSource::SendOutcome::Sent);
    ASSERT_TRUE(rig.pollUntil([&] { return rig.terminal.text().endsWith(QLatin1String("SH/DX\r\n")); }));
    EXPECT_EQ(rig.source.sendLine(QStringLiteral(":x")), AgwSpotSource::SendOutcome::Dropped);
    EXPECT_EQ(rig.source.sendLine(QStringLiteral(":D")), AgwSpotSource::SendOutcome::Sent);
    ASSERT_TRUE(rig.pollUntil([&] { return rig.events.size() == 2; }));
    EXPECT_EQ(rig.events.last(), "-K1TTT");
    EXPECT_TRUE(rig.refusals.isEmpty());
}

TEST(AgwSpotSource, OneFramePerPollAndAbsurdFramesAreSurvived)
{
    EmulatorProcess engine(QStringLiteral("agw_engine"), {"--count", "4", "--pace-ms", "0", "--absurd"});
    ASSERT_TRUE(engine.started());
    AgwRig rig;
    rig.source.start(QStringLiteral("N1MM"), QStringLiteral("127.0.0.1"), engine.port());
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.started == 1; }, 10000));
    // The absurd header throws away what follows it in the same stream.
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.source.decoder().resynchronisations() > 0; }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(rig.source.decoder().resynchronisations(), 1);
    EXPECT_LE(rig.source.decoder().buffered(), kAgwHeaderSize + static_cast<qsizetype>(kAgwMaxDataLength));
    const size_t waiting = rig.source.decoder().queued();
    if (waiting > 0) {
        rig.source.poll();
        EXPECT_EQ(rig.source.decoder().queued(), waiting - 1);
    }
    EXPECT_TRUE(rig.source.isStarted());
}

TEST(AgwSpotSource, AnEngineThatDoesNotAnswerIsGivenUp)
{
    UnansweringPort silent;
    ASSERT_NE(silent.port(), 0);
    AgwRig rig;
    rig.source.setStartTimeout(300);
    rig.source.start(QStringLiteral("N1MM"), QStringLiteral("127.0.0.1"), silent.port());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.refusals.isEmpty(); }, 5000));
    EXPECT_EQ(rig.refusals, QStringList{QStringLiteral("The packet engine did not answer within 0.3 seconds.")});
    EXPECT_FALSE(rig.source.isStarted());
    QTest::qWait(400);
    EXPECT_EQ(rig.refusals.size(), 1) << "said once";
}

TEST(AgwSpotSource, AnEngineThatRefusesTheCallEndsTheSession)
{
    EmulatorProcess engine(QStringLiteral("agw_engine"), {"--refuse"});
    ASSERT_TRUE(engine.started());
    AgwRig rig;
    rig.source.start(QStringLiteral("N1MM"), QStringLiteral("127.0.0.1"), engine.port());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.refusals.isEmpty(); }, 10000));
    EXPECT_EQ(rig.started, 0);
    EXPECT_FALSE(rig.source.isStarted());
    EXPECT_EQ(rig.source.sendLine(QStringLiteral(":c k1ttt")), AgwSpotSource::SendOutcome::Dropped);
}

namespace {

// The test's serial port: the emulator's pseudo-terminal, whatever the
// port number. Control lines are not there on a pty and are ignored.
class PtySerialPort final : public tenlog::platform::SerialPort {
public:
    explicit PtySerialPort(QString path) : m_path(std::move(path)) {}
    ~PtySerialPort() override { close(); }
    void setPortNumber(int number) override { m_number = number; }
    int portNumber() const override { return m_number; }
    bool setSettings(const QString& settings) override { return settings.count(QLatin1Char(',')) == 3; }
    void setRtsHandshake(bool) override {}
    void setXonXoff(bool) override {}
    bool open() override
    {
        m_fd = ::open(m_path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        m_error = m_fd >= 0 ? QString() : QString::fromLocal8Bit(std::strerror(errno));
        return m_fd >= 0;
    }
    void close() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    bool isOpen() const override { return m_fd >= 0; }
    QString errorString() const override
    {
        return m_error.isEmpty() ? QString() : QStringLiteral("COM%1 (%2) cannot be opened: %3.").arg(m_number).arg(m_path, m_error);
    }
    void setRts(bool) override {}
    void setDtr(bool) override {}
    bool write(const QByteArray& bytes) override
    {
        return isOpen() && ::write(m_fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    }
    QByteArray readAll() override
    {
        QByteArray out;
        char buffer[4096];
        ssize_t n = 0;
        while (isOpen() && (n = ::read(m_fd, buffer, sizeof buffer)) > 0)
            out.append(buffer, n);
        return out;
    }
    qint64 bytesToWrite() const override { return 0; }
    void setReadyReadHandler(std::function<void()>) override {}
    void setFailureHandler(std::function<void(const QString&)>) override {}

private:
    QString m_path;
    int m_number = 1;
    int m_fd = -1;
    QString m_error;
};

} // namespace

TEST(TncSpotSource, EachHandshakingChoiceSetsItsFlowControl)
{
    struct Case {
        int handshake;
        const char* rts;
        const char* xonXoff;
    };
    // 1 none, 2 XON/XOFF, 3 RTS, 4 RTS with XON/XOFF.
    for (const Case& c : {Case {1, "handshake 0", "xonxoff 0"}, Case {2, "handshake 0", "xonxoff 1"},
                          Case {3, "handshake 1", "xonxoff 0"}, Case {4, "handshake 1", "xonxoff 1"}}) {
        tenlog::testing::FakeSerialPort port;
        TncSpotSource source(port);
        TncSettings settings;
        settings.handshake = c.handshake;
        ASSERT_TRUE(source.open(settings));
        EXPECT_TRUE(port.calls().contains(QLatin1String(c.rts))) << c.handshake;
        EXPECT_TRUE(port.calls().contains(QLatin1String(c.xonXoff))) << c.handshake;
    }
}

TEST(TncSpotSource, MonitoredSpotsHeardTwiceAreShownAndStoredOnce)
{
    EmulatorProcess tnc(QStringLiteral("tnc_emulator"), {"--count", "3", "--pace-ms", "20"});
    ASSERT_TRUE(tnc.started());
    Spotting s;
    PtySerialPort port(tnc.ptyPath());
    TncSpotSource source(port);
    QObject::connect(&source, &TncSpotSource::lineReceived, [&](const QString& line) { s.paths.takeTncLine(line); });
    ASSERT_TRUE(source.open({}));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            source.poll();
            return s.stored == 3;
        },
        10000));
    QTest::qWait(100);
    source.poll();
    EXPECT_EQ(s.stored, 3);
    EXPECT_EQ(s.terminal.text().count(QStringLiteral("DX de W1AW")), 3);
    // A header line repeated within the recent text shows once too.
    EXPECT_EQ(s.terminal.text().count(QStringLiteral("W1AW-3>DX <UI>:")), 1);
    EXPECT_EQ(s.terminal.text().count(QStringLiteral("K1TTT-1*")), 1);
    EXPECT_FALSE(source.sendCommandCharacter(QStringLiteral("0G")));
    EXPECT_TRUE(source.sendCommandCharacter(QStringLiteral("03")));
    EXPECT_TRUE(source.sendLine(QStringLiteral("MONITOR ON")));
}

namespace {

// The whole chain with the session in front, as the spotting window uses it.
struct SessionRig : Spotting {
    tenlog::platform::QtTcpClient telnetClient;
    tenlog::platform::QtTcpClient agwClient;
    TelnetSpotSource telnet{telnetClient};
    PtySerialPort port;
    TncSpotSource tnc{port};
    AgwSpotSource agw{agwClient};
    QString ownCall = QStringLiteral("N1MM");
    SpotSession session{terminal, paths, intake, {telnet, tnc, agw}, dialogs, [this] { return ownCall; }};
    QStringList troubles; // the main window's line for each
    QStringList troubleBoxes; // the spotting window's box: title, then text
    QStringList captions;
    explicit SessionRig(const QString& ptyPath = QStringLiteral("/nonexistent/tty"))
        : port(ptyPath)
    {
        QObject::connect(&session, &SpotSession::trouble,
                         [this](const QString& title, const QString& text, const QString& line) {
                             troubles.append(line);
                             troubleBoxes.append(title + "|" + text);
                         });
        QObject::connect(&session, &SpotSession::captionChanged, [this](const QString& c) { captions.append(c); });
    }
};

} // namespace

TEST(SpotSession, TelnetOpensLogsInAndClosesWhenTheNodeHangsUp)
{
    EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", "5", "--close"});
    ASSERT_TRUE(node.started());
    SessionRig rig;
    rig.session.setSource(QStringLiteral("telnet"));
    rig.session.setTelnetAddress(QStringLiteral("127.0.0.1"), QString::number(node.port()));
    rig.session.open();
    EXPECT_TRUE(rig.session.isListening());
    EXPECT_TRUE(rig.session.isTicking());
    EXPECT_EQ(rig.session.status().health, tenlog::common::LinkHealth::Waiting);
    EXPECT_EQ(rig.terminal.text(), "Attempting connection to: 127.0.0.1:" + QString::number(node.port()) + "\r\n\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.terminal.text().endsWith(QLatin1String("login: ")); }, 10000));
    EXPECT_TRUE(rig.terminal.text().endsWith("** Connected to 127.0.0.1:" + QString::number(node.port())
                                             + " **\r\n\r\nlogin: "))
        << rig.terminal.text().toStdString();
    EXPECT_EQ(rig.session.status().text, "Spots: cluster 127.0.0.1:" + QString::number(node.port()));
    rig.session.sendLine(QStringLiteral("N1MM"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.session.isListening(); }, 10000));
    EXPECT_EQ(rig.session.status().text, QStringLiteral("Spots: the cluster closed the connection"));
    EXPECT_EQ(rig.troubles.size(), 1);
    EXPECT_EQ(rig.stored, 5);
    EXPECT_TRUE(rig.terminal.text().endsWith(QLatin1String("1004Z\r\n\r\n\r\n** Port Closed **")));
    EXPECT_FALSE(rig.session.isTicking());
}

TEST(SpotSession, FailuresOfEachSource)
{
    quint16 unused = 0;
    {
        EmulatorProcess node(QStringLiteral("cluster_node"), {});
        ASSERT_TRUE(node.started());
        unused = node.port();
    }
    {
        SessionRig rig; // refused: the message follows the text directly, then the close
        rig.session.setSource(kSourceTelnet);
        rig.session.setTelnetAddress(QStringLiteral("127.0.0.1"), QString::number(unused));
        rig.session.open();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.session.isListening(); }, 10000));
        EXPECT_TRUE(rig.terminal.text().endsWith(
            QLatin1String("\r\n\r\nERROR: Connection is forcefully rejected.\r\n\r\n** Port Closed **")));
        EXPECT_EQ(rig.dialogs.beeps, 1);
        EXPECT_EQ(rig.session.status().text, "Spots: cluster 127.0.0.1:" + QString::number(unused) + " lost");
        EXPECT_EQ(rig.troubles, QStringList{rig.session.status().text + ": ERROR: Connection is forcefully rejected."});
    }
    {
        SessionRig rig; // a port of letters: said and closed, never left "Listening" with nothing connecting
        rig.session.setSource(kSourceTelnet);
        rig.session.setTelnetAddress(QStringLiteral("127.0.0.1"), QStringLiteral("73ab0"));
        rig.session.open();
        EXPECT_FALSE(rig.session.isListening());
        EXPECT_EQ(rig.dialogs.beeps, 1);
        EXPECT_EQ(rig.troubles, QStringList{"Spots: bad cluster port: ERROR: the cluster port \"73ab0\" "
                                            "is not a port number (1 to 65535)."});
        EXPECT_TRUE(rig.terminal.text().endsWith(QLatin1String("(1 to 65535).\r\n\r\n** Port Closed **")))
            << rig.terminal.text().toStdString();
        EXPECT_EQ(rig.session.status().health, tenlog::common::LinkHealth::Trouble);
        rig.session.setTelnetAddress(QStringLiteral("127.0.0.1"), QStringLiteral(" "));
        rig.session.open();
        EXPECT_EQ(rig.troubles.back(), QStringLiteral("Spots: bad cluster port: ERROR: no cluster port is set: type it "
                                                      "(1 to 65535) beside the host."));
    }
    {
        SessionRig rig; // a TNC port that cannot be opened
        rig.session.setSource(kSourceTnc);
        rig.session.open();
        EXPECT_FALSE(rig.session.isListening());
        EXPECT_TRUE(rig.dialogs.messageTitles().isEmpty()) << "the window that shows it decides where it is said";
        ASSERT_EQ(rig.troubles.size(), 1);
        EXPECT_TRUE(rig.troubles[0].startsWith("Spots: the TNC port cannot be opened: ")) << rig.troubles[0].toStdString();
        EXPECT_EQ(rig.session.status().health, tenlog::common::LinkHealth::Trouble);
        EXPECT_EQ(rig.terminal.text(), "** Attempting to Open Port **\r\n\r\n** Unable to open TNC Serial Port **\r\n\r\n"
                                       "\r\n\r\n** Port Closed **");
    }
    // The box names the port, its device and the reason after the words it has always had.
    const struct {
        const char* settings;
        const char* reason;
    } tncCases[] = {{"9600,N,8,1", "COM4 (/nonexistent/tty) cannot be opened: No such file or directory."},
                    {"9600,N,8", "COM4 cannot be opened: the settings 9600,N,8 are not valid."}};
    for (const auto& c : tncCases) {
        SessionRig rig;
        rig.session.setSource(kSourceTnc);
        TncSettings settings;
        settings.port = 4;
        settings.settings = QString::fromLatin1(c.settings);
        rig.session.setTncSettings(settings);
        rig.session.open();
        ASSERT_EQ(rig.troubleBoxes.size(), 1) << c.settings;
        EXPECT_EQ(rig.troubleBoxes[0],
                  "Invalid Comm Settings.|The comm port that you selected for DX Spotting is either in use, invalid or "
                  "the settings that you have selected are invalid.  Please select another combination or choose None "
                  "for your DX Spot selection.\n\n"
                      + QString::fromLatin1(c.reason));
    }
    {
        SessionRig rig; // the packet engine needs the station's call
        rig.ownCall = QStringLiteral("  ");
        rig.session.setSource(kSourceAgw);
        rig.session.open();
        EXPECT_EQ(rig.dialogs.messageTitles(), QStringList{"Call Sign Required!"});
        EXPECT_TRUE(rig.session.isListening());
    }
    {
        SessionRig rig; // no engine on the port: the help goes to the terminal
        rig.session.setSource(kSourceAgw);
        rig.session.setAgwAddress(QStringLiteral("127.0.0.1"), unused);
        rig.session.open();
        ASSERT_TRUE(QTest::qWaitFor([&] { return rig.troubles.size() == 1; }, 10000));
        EXPECT_EQ(rig.troubles[0], "Spots: the packet engine cannot be reached at 127.0.0.1:" + QString::number(unused));
        EXPECT_EQ(rig.session.status().text, QStringLiteral("Spots: the packet engine cannot be reached"));
        EXPECT_TRUE(rig.terminal.text().endsWith(QLatin1String("- Click Open from this program.\r\n\r\n")));
        ASSERT_EQ(rig.troubleBoxes.size(), 1);
        const QString box = rig.troubleBoxes[0];
        EXPECT_TRUE(box.startsWith("Unable to connect to the AGW Packet Engine.|Unable to connect to the AGW Packet "
                                   "Engine.  To use the AGW Packet Engine"));
        EXPECT_TRUE(box.endsWith("described on the AGW Packet Engine website.\r\n\r\nTried the packet engine at 127.0.0.1:"
                                 + QString::number(unused) + ": ERROR: Connection is forcefully rejected.\r\n\r\n"
                                 "On Linux the packet engine is usually direwolf: start it, and check that its AGWPORT is "
                                 + QString::number(unused) + "."))
            << box.toStdString();
    }
}

TEST(SpotSession, AClusterThatDoesNotAnswerIsGivenUpAndNamed)
{
    UnansweringPort silent;
    ASSERT_NE(silent.port(), 0);
    SessionRig rig;
    rig.telnet.setConnectTimeout(300);
    rig.session.setSource(kSourceTelnet);
    rig.session.setTelnetAddress(QStringLiteral("127.0.0.1"), QString::number(silent.port()));
    rig.session.open();
    EXPECT_TRUE(rig.session.isListening());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.session.isListening(); }, 10000));
    const QString address = "127.0.0.1:" + QString::number(silent.port());
    EXPECT_EQ(rig.terminal.text(), "Attempting connection to: " + address + "\r\n\r\nERROR: No connection to " + address
                                       + " within 0.3 seconds: the host did not answer.\r\n\r\n** Port Closed **");
    EXPECT_EQ(rig.troubles, QStringList{"Spots: cluster " + address + " lost: ERROR: No connection to " + address
                                        + " within 0.3 seconds: the host did not answer."});
    EXPECT_EQ(rig.session.status().health, tenlog::common::LinkHealth::Trouble);
    EXPECT_FALSE(rig.session.isTicking());
    EXPECT_FALSE(rig.telnet.isConnected());
}

TEST(SpotSession, PacketEngineSessionAndTheRefreshTick)
{
    EmulatorProcess engine(QStringLiteral("agw_engine"), {"--count", "1", "--pace-ms", "0"});
    ASSERT_TRUE(engine.started());
    SessionRig rig;
    int refreshes = 0;
    QObject::connect(&rig.session, &SpotSession::bandMapRefreshDue, [&] { ++refreshes; });
    rig.session.setSource(kSourceAgw);
    rig.session.setAgwAddress(QStringLiteral("127.0.0.1"), engine.port());
    rig.session.open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.session.isTicking(); }, 10000));
    EXPECT_TRUE(rig.terminal.text().contains(QLatin1String("** Successfully connected to AGW Packet Engine **")));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            rig.session.tick();
            return rig.stored == 1;
        },
        10000));
    rig.session.sendLine(QStringLiteral(":C k1ttt"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            rig.session.tick();
            return !rig.captions.isEmpty();
        },
        10000));
    EXPECT_EQ(rig.captions, QStringList{"DX Spotting Setup - Connected to K1TTT"});
    rig.session.sendLine(QStringLiteral(":c"));
    EXPECT_EQ(rig.dialogs.messageTitles(), QStringList{"Call sign Required"});

    // 361 ticks without a spot (the one that brought it counts) ask once for a redraw.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            rig.session.tick();
            return rig.stored == 2;
        },
        10000)); // the node's greeting spot
    refreshes = 0;
    for (int i = 0; i < 359; ++i)
        rig.session.tick();
    EXPECT_EQ(refreshes, 0);
    rig.session.tick();
    EXPECT_EQ(refreshes, 1);

    rig.session.close();
    EXPECT_EQ(rig.captions.last(), "DX Spotting Setup");
    EXPECT_TRUE(rig.terminal.text().endsWith(QLatin1String("** Port Closed **")));
    EXPECT_TRUE(engine.waitForOutputLine(QStringLiteral("GOT d N1MM K1TTT"))) << "closing disconnects the station";
}

TEST(SpotSession, TheEndOfTheRunDisconnectsAStationConnectedThroughTheEngine)
{
    EmulatorProcess engine(QStringLiteral("agw_engine"), {"--count", "0"});
    ASSERT_TRUE(engine.started());
    SessionRig rig;
    rig.session.setSource(kSourceAgw);
    rig.session.setAgwAddress(QStringLiteral("127.0.0.1"), engine.port());
    rig.session.open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.session.isTicking(); }, 10000));
    rig.session.sendLine(QStringLiteral(":C K1TTT"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            rig.session.tick();
            return !rig.agw.connectedCall().isEmpty();
        },
        10000));
    rig.session.endOfRun();
    rig.agwClient.abort(); // the program ends here: nothing queued survives this
    EXPECT_TRUE(engine.waitForOutputLine(QStringLiteral("GOT d N1MM K1TTT")));
    EXPECT_FALSE(rig.session.isTicking());
}

namespace {

// The calls of the DX lines a source handed on, in order.
QStringList spottedCalls(const QStringList& lines)
{
    QStringList calls;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("DX de")))
            calls << line.mid(26, 13).trimmed();
    }
    return calls;
}

// A rig whose cluster logs in as the operator would, and which notes what
// the source hands on and what reaches the store, with the turn of the event
// loop (a zero timer's count) at which each spot was stored.
struct BurstRig : SessionRig {
    QStringList received;
    QStringList storedCalls;
    QList<int> turnOfStore;
    QList<int> turnOfTerminalChange;
    int turns = 0;
    QTimer heartbeat;
    BurstRig()
    {
        QObject::connect(&telnet, &TelnetSpotSource::lineReceived, [this](const QString& line) { received << line; });
        QObject::connect(&intake, &SpotIntake::spotStored, [this](const Spot& spot) {
            storedCalls << spot.call;
            turnOfStore << turns;
        });
        QObject::connect(&terminal, &SpotTerminal::changed, [this] { turnOfTerminalChange << turns; });
        heartbeat.setInterval(0);
        QObject::connect(&heartbeat, &QTimer::timeout, [this] { ++turns; });
        heartbeat.start();
    }
    bool logIn(quint16 nodePort)
    {
        session.setSource(kSourceTelnet);
        session.setTelnetAddress(QStringLiteral("127.0.0.1"), QString::number(nodePort));
        session.open();
        if (!QTest::qWaitFor([this] { return terminal.text().endsWith(QLatin1String("login: ")); }, 10000))
            return false;
        session.sendLine(QStringLiteral("N1MM"));
        return true;
    }
};

} // namespace

TEST(SpotSession, ABurstIsTakenInOrderASliceAtATimeWhileTheLoopTurns)
{
    constexpr int kSpots = 20000;
    EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", QString::number(kSpots)});
    ASSERT_TRUE(node.started());
    BurstRig rig;
    ASSERT_TRUE(rig.logIn(node.port()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.stored == kSpots && rig.session.waitingLines().isEmpty(); }, 240000))
        << rig.stored;

    EXPECT_EQ(rig.storedCalls, spottedCalls(rig.received)) << "every spot, in the order sent";
    EXPECT_EQ(rig.session.waitingLines().droppedInAll(), 0);
    EXPECT_TRUE(rig.terminal.text().endsWith(rig.received.last() + "\r\n"));
    // The loop turned while the burst was taken, and never more than one
    // slice went by without a turn.
    EXPECT_GT(rig.turnOfStore.last(), rig.turnOfStore.first());
    QMap<int, int> storedInTurn;
    for (int turn : rig.turnOfStore)
        ++storedInTurn[turn];
    for (auto it = storedInTurn.cbegin(); it != storedInTurn.cend(); ++it)
        ASSERT_LE(it.value(), SpotLineQueue::kLinesPerSlice) << "turn " << it.key();
    // The terminal, and the window showing it, hear of a slice once.
    QList<int> changesInTheBurst;
    for (int turn : rig.turnOfTerminalChange) {
        if (turn >= rig.turnOfStore.first())
            changesInTheBurst << turn;
    }
    for (qsizetype i = 1; i < changesInTheBurst.size(); ++i)
        ASSERT_NE(changesInTheBurst[i], changesInTheBurst[i - 1]) << i;
    EXPECT_LT(changesInTheBurst.size(), kSpots / 2);
}

TEST(SpotSession, ABacklogPastItsBoundLosesItsOldestLinesAndTheTerminalSaysHowMany)
{
    constexpr int kSpots = 100;
    EmulatorProcess node(QStringLiteral("cluster_node"), {"--mode", "burst", "--count", QString::number(kSpots)});
    ASSERT_TRUE(node.started());
    BurstRig rig;
    rig.session.limitWaitingLines(20 * (75 + SpotLineQueue::kLineWeight)); // about twenty spot lines
    ASSERT_TRUE(rig.logIn(node.port()));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return spottedCalls(rig.received).size() == kSpots && rig.session.waitingLines().isEmpty()
                && !rig.storedCalls.isEmpty() && rig.storedCalls.last() == spottedCalls(rig.received).last();
        },
        30000));

    const qsizetype dropped = rig.session.waitingLines().droppedInAll();
    ASSERT_GT(dropped, 0);
    qsizetype told = 0;
    static const QRegularExpression notice(QStringLiteral("\\*\\* (\\d+) received lines dropped: they came faster than "
                                                          "they could be shown \\*\\*\r\n"));
    for (auto match = notice.globalMatch(rig.terminal.text()); match.hasNext();)
        told += match.next().captured(1).toInt();
    EXPECT_EQ(told, dropped) << rig.terminal.text().toStdString();
    // What was kept is the newest, in order.
    const QStringList sent = spottedCalls(rig.received);
    EXPECT_GE(rig.storedCalls.size(), kSpots - dropped);
    EXPECT_LE(rig.storedCalls.size(), kSpots);
    qsizetype at = -1;
    for (const QString& call : rig.storedCalls) {
        const qsizetype next = sent.indexOf(call, at + 1);
        ASSERT_GT(next, at) << call.toStdString();
        at = next;
    }
}

TEST(SpotSession, TncLinesGoThroughTheSameSlicesOnTheTick)
{
    EmulatorProcess tnc(QStringLiteral("tnc_emulator"), {"--count", "3", "--pace-ms", "20"});
    ASSERT_TRUE(tnc.started());
    SessionRig rig(tnc.ptyPath());
    rig.session.setSource(kSourceTnc);
    rig.session.open();
    ASSERT_TRUE(rig.session.isTicking());
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.stored == 3 && rig.session.waitingLines().isEmpty(); }, 10000));
    EXPECT_EQ(rig.terminal.text().count(QStringLiteral("DX de W1AW")), 3) << "each heard twice, shown once";
}

TEST(SpotSession, AConnectionFailingMidBurstSaysSoAfterTheLinesBeforeIt)
{
    tenlog::testing::FakeTcpClient cluster;
    tenlog::testing::FakeSerialPort tncPort;
    tenlog::testing::FakeTcpClient engine;
    Spotting s;
    TelnetSpotSource telnet{cluster};
    TncSpotSource tnc{tncPort};
    AgwSpotSource agw{engine};
    SpotSession session{s.terminal, s.paths, s.intake, {telnet, tnc, agw}, s.dialogs, [] { return QStringLiteral("N1MM"); }};
    session.setSource(kSourceTelnet);
    session.setTelnetAddress(QStringLiteral("127.0.0.1"), QStringLiteral("7300"));
    session.open();
    cluster.acceptConnection();

    constexpr int kSpots = 3000;
    QByteArray burst;
    for (int i = 0; i < kSpots; ++i)
        burst += tenlog::testing::clusterSpotLine("K1TTT", QString::number(28000 + i % 1700) + ".0",
                                                  QStringLiteral("W%1AB").arg(i), "cq")
                     .toLatin1()
               + "\r\n";
    cluster.queueIncoming(burst);
    cluster.failWith(tenlog::platform::TcpError::Network, QStringLiteral("Network unreachable"));
    EXPECT_TRUE(session.isListening()) << "the lines before the failure come first";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !session.isListening(); }, 60000));
    EXPECT_EQ(s.stored, kSpots);
    EXPECT_EQ(s.store.entry(SpotStore::kNewest).call, QStringLiteral("W%1AB").arg(kSpots - 1));
    EXPECT_TRUE(s.terminal.text().endsWith(QStringLiteral("cq                             1234Z\r\n"
                                                          "ERROR: The network cannot be reached from this host at this "
                                                          "time.\r\n\r\n** Port Closed **")))
        << s.terminal.text().right(200).toStdString();
    EXPECT_EQ(s.dialogs.beeps, 1);
}
