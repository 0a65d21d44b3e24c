// A DX cluster node on loopback for tests and demonstrations. It prints
// "PORT <n>" as its first line of output, then serves one connection at a
// time: a "login: " prompt without a line end, a banner once a call is typed,
// then spot lines in the cluster's columns, e.g.
//   DX de K1TTT:     28025.0  VE3XYZ       CQ                             1234Z
// Modes (--mode):
//   pace     one line per --pace-ms (default), some followed by BEL BEL
//   burst    all --count lines in one write
//   split    every line cut into three writes, a third of --pace-ms apart
//   flood    --flood-bytes bytes without a line end, then one spot line
//   garbage  NUL bytes, telnet negotiation and binary noise between lines
//   cutoff   half a spot line, then the connection is closed
//   bands    in one write, spots on 14, 50 and 144 MHz naming AZ, CO and ME,
//            then one on 28 MHz naming MA (--count is not used)
//   hostile  in one write, 44 spots on 28025.0, then spots on 0, -28025.0
//            and 999999.0 kHz, a call of thirteen letters, a call and a
//            comment written as markup, and N0END on 28300.0 (--count is
//            not used)
// --close closes the connection after the last line. Stop it by its process id.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

QByteArray clusterLine(const QByteArray& spotter, const QByteArray& frequency, const QByteArray& call,
                       const QByteArray& comment, const QByteArray& time)
{
    return "DX de " + (spotter + ':').leftJustified(7, ' ') + frequency.rightJustified(11, ' ') + "  "
         + call.leftJustified(13, ' ') + comment.leftJustified(30, ' ') + ' ' + time;
}

QByteArray spotLine(int index)
{
    static const char* const kSpotters[] = {"K1TTT", "W3LPL", "VE3EJ", "N4ZR", "K9CT"};
    static const char* const kPrefixes[] = {"VE3", "K1", "W6", "JA1", "VE7", "KH6", "DL1", "PY2", "XE1", "KL7"};
    static const char* const kComments[] = {"CQ", "ON", "tnx qso", "59 MA", "BC", "loud", "", "up 2", "CQ TEST", "5NN"};
    const QByteArray frequency = QByteArray::number(28000.0 + (index % 1700) * 1.0 + 0.1 * (index % 10), 'f', 1);
    QByteArray suffix;
    for (int n = index, i = 0; i < 3; ++i, n /= 26)
        suffix.prepend(static_cast<char>('A' + n % 26));
    const QByteArray call = QByteArray(kPrefixes[index % 10]) + suffix;
    const QByteArray time = QByteArray::number(1000 + index % 60).rightJustified(4, '0') + 'Z';
    return clusterLine(kSpotters[index % 5], frequency, call, kComments[index % 10], time);
}

// Spots a cluster passes on from every band: only the last is on 10 m.
QByteArray otherBandsBurst()
{
    return clusterLine("K1TTT", "14025.0", "W7AAA", "AZ", "1200Z") + "\r\n"
         + clusterLine("W3LPL", "50100.0", "W0AAB", "CO", "1201Z") + "\r\n"
         + clusterLine("VE3EJ", "144200.0", "W1AAC", "ME", "1202Z") + "\r\n"
         + clusterLine("N4ZR", "28025.0", "W1AAD", "MA", "1203Z") + "\r\n";
}

// What a broken or hostile node may send, all of it in the columns.
QByteArray hostileBurst()
{
    QByteArray all;
    for (int i = 0; i < 44; ++i)
        all += clusterLine("K1TTT", "28025.0", "K" + QByteArray::number(i) + "SAME", "CQ", "1300Z") + "\r\n";
    all += clusterLine("W3LPL", "0.0", "W0ZERO", "", "1301Z") + "\r\n";
    all += clusterLine("W3LPL", "-28025.0", "W0NEG", "", "1301Z") + "\r\n";
    all += clusterLine("W3LPL", "999999.0", "W0ABSURD", "", "1301Z") + "\r\n";
    all += clusterLine("W3LPL", "28100.0", "ABCDEFGHIJKLM", "", "1302Z") + "\r\n";
    all += clusterLine("W3LPL", "28200.0", "<b>K1AB</b>", "<b>bold</b> <i>x</i>", "1302Z") + "\r\n";
    all += clusterLine("W3LPL", "28300.0", "N0END", "", "1303Z") + "\r\n";
    return all;
}

class Node : public QObject {
public:
    Node(QString mode, int count, int paceMs, qint64 floodBytes, bool closeAtEnd)
        : m_mode(std::move(mode)), m_count(count), m_paceMs(paceMs), m_floodBytes(floodBytes), m_closeAtEnd(closeAtEnd)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &Node::accept);
    }

    bool listen(quint16 port) { return m_server.listen(QHostAddress::LocalHost, port); }
    quint16 port() const { return m_server.serverPort(); }

private:
    void accept()
    {
        QTcpSocket* next = m_server.nextPendingConnection();
        if (m_client) {
            next->write("Node busy\r\n");
            next->disconnectFromHost();
            return;
        }
        m_client = next;
        m_loggedIn = false;
        m_typed.clear();
        m_sent = 0;
        connect(m_client, &QTcpSocket::readyRead, this, &Node::read);
        connect(m_client, &QTcpSocket::disconnected, this, [this] {
            m_timer.reset();
            m_client->deleteLater();
            m_client = nullptr;
        });
        m_client->write("login: ");
    }

    void read()
    {
        m_typed += m_client->readAll();
        if (m_loggedIn) {
            m_typed.clear();
            return;
        }
        const qsizetype end = m_typed.indexOf('\r') >= 0 ? m_typed.indexOf('\r') : m_typed.indexOf('\n');
        if (end < 0)
            return;
        const QByteArray call = m_typed.left(end).trimmed().toUpper();
        m_loggedIn = true;
        m_client->write("Hello " + call + ", this is TEST-7 in Newington, CT\r\n" + call + " de TEST-7 >\r\n");
        startMode();
    }

    void startMode()
    {
        if (m_mode == QLatin1String("burst")) {
            QByteArray all;
            for (int i = 0; i < m_count; ++i)
                all += spotLine(i) + "\r\n";
            m_client->write(all);
            finish();
        } else if (m_mode == QLatin1String("bands")) {
            m_client->write(otherBandsBurst());
            finish();
        } else if (m_mode == QLatin1String("hostile")) {
            m_client->write(hostileBurst());
            finish();
        } else if (m_mode == QLatin1String("flood")) {
            const QByteArray chunk(64 * 1024, 'x');
            for (qint64 sent = 0; sent < m_floodBytes; sent += chunk.size())
                m_client->write(chunk.left(static_cast<qsizetype>(std::min<qint64>(chunk.size(), m_floodBytes - sent))));
            m_client->write("\r\n" + spotLine(0) + "\r\n");
            finish();
        } else if (m_mode == QLatin1String("cutoff")) {
            m_client->write(spotLine(0).left(40));
            m_client->flush();
            m_client->disconnectFromHost();
        } else {
            m_timer = std::make_unique<QTimer>();
            connect(m_timer.get(), &QTimer::timeout, this, &Node::tick);
            m_timer->start(m_mode == QLatin1String("split") ? std::max(1, m_paceMs / 3) : m_paceMs);
        }
    }

    void tick()
    {
        if (!m_client)
            return;
        if (m_mode == QLatin1String("split")) {
            splitTick();
            return;
        }
        if (m_sent >= m_count) {
            m_timer->stop();
            finish();
            return;
        }
        const QByteArray line = spotLine(m_sent) + "\r\n";
        if (m_mode == QLatin1String("garbage")) {
            QByteArray noise("\0\0\xff\xfb\x01\xff\xfa\x18\x01\xff\xf0\x07", 12);
            for (int i = 0; i < 8; ++i)
                noise += static_cast<char>(0x80 + QRandomGenerator::global()->bounded(0x70));
            m_client->write(noise + "\r\n" + line);
        } else {
            m_client->write(m_sent % 7 == 0 ? spotLine(m_sent) + "\a\a\r\n" : line);
        }
        ++m_sent;
    }

    // One third of a line per tick, from one queue, so a late timer can
    // never put the next line's start before the last line's end.
    void splitTick()
    {
        if (m_fragments.isEmpty()) {
            if (m_sent >= m_count) {
                m_timer->stop();
                finish();
                return;
            }
            const QByteArray line = spotLine(m_sent++) + "\r\n";
            const qsizetype third = line.size() / 3;
            m_fragments = {line.left(third), line.mid(third, third), line.mid(2 * third)};
        }
        m_client->write(m_fragments.takeFirst());
        m_client->flush();
    }

    void finish()
    {
        if (m_closeAtEnd && m_client)
            m_client->disconnectFromHost();
    }

    QTcpServer m_server;
    QTcpSocket* m_client = nullptr;
    std::unique_ptr<QTimer> m_timer;
    QByteArrayList m_fragments; // the rest of the line being split
    QByteArray m_typed;
    QString m_mode;
    int m_count;
    int m_paceMs;
    qint64 m_floodBytes;
    bool m_closeAtEnd;
    bool m_loggedIn = false;
    int m_sent = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A DX cluster node on 127.0.0.1 for tests."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port (0: any free one)."), QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption mode(QStringLiteral("mode"), QStringLiteral("pace, burst, split, flood, garbage, cutoff, bands or hostile."), QStringLiteral("mode"), QStringLiteral("pace"));
    const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("Spot lines to send."), QStringLiteral("n"), QStringLiteral("20"));
    const QCommandLineOption pace(QStringLiteral("pace-ms"), QStringLiteral("Milliseconds between lines."), QStringLiteral("ms"), QStringLiteral("1000"));
    const QCommandLineOption flood(QStringLiteral("flood-bytes"), QStringLiteral("Bytes without a line end in flood mode."), QStringLiteral("n"), QStringLiteral("10485760"));
    const QCommandLineOption close(QStringLiteral("close"), QStringLiteral("Close the connection after the last line."));
    parser.addOptions({port, mode, count, pace, flood, close});
    parser.process(app);

    Node node(parser.value(mode), parser.value(count).toInt(), std::max(3, parser.value(pace).toInt()),
              parser.value(flood).toLongLong(), parser.isSet(close));
    if (!node.listen(static_cast<quint16>(parser.value(port).toUInt()))) {
        std::fprintf(stderr, "cannot listen\n");
        return 1;
    }
    std::printf("PORT %u\n", static_cast<unsigned>(node.port()));
    std::fflush(stdout);
    return app.exec();
}
