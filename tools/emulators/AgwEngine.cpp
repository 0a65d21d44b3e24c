// An AGW packet engine on loopback for tests and demonstrations. It prints
// "PORT <n>" as its first line of output and speaks the engine's TCP frames
// (36-byte little-endian header, then the data):
//   'X' register: answers 'X' with 1 (accepted), or 0 with --refuse
//   'm' monitoring on: sends --count monitored UI frames carrying spot lines,
//       --pace-ms apart (all at once with --pace-ms 0)
//   'C' connect: answers 'C' "*** CONNECTED With Station <call>" and a 'D'
//       frame from that station holding a spot line
//   'd' disconnect: answers 'd' "*** DISCONNECTED From Station <call>"
//   'D' data: echoed back from the connected station
// --absurd sends, after registering, a header whose length field is 2 GB.
// Every frame received is reported on standard output as "GOT <kind> <from> <to>".
// Stop it by its process id.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtEndian>

#include <cstdio>

namespace {

QByteArray frame(char kind, const QByteArray& from, const QByteArray& to, const QByteArray& data, quint32 length)
{
    QByteArray out(36, '\0');
    out[4] = kind;
    out[6] = static_cast<char>(0xF0);
    out.replace(8, std::min<qsizetype>(from.size(), 9), from.left(9));
    out.replace(18, std::min<qsizetype>(to.size(), 9), to.left(9));
    qToLittleEndian<quint32>(length, out.data() + 28);
    return out + data;
}

QByteArray frame(char kind, const QByteArray& from, const QByteArray& to, const QByteArray& data)
{
    return frame(kind, from, to, data, static_cast<quint32>(data.size()));
}

QByteArray spotLine(int index)
{
    const QByteArray frequency = QByteArray::number(28000.0 + index * 1.5, 'f', 1);
    QByteArray suffix;
    for (int n = index, i = 0; i < 3; ++i, n /= 26)
        suffix.prepend(static_cast<char>('A' + n % 26));
    return "DX de " + QByteArray("K1TTT:").leftJustified(7, ' ') + frequency.rightJustified(11, ' ') + "  "
         + QByteArray("VE3" + suffix).leftJustified(13, ' ') + QByteArray("CQ").leftJustified(30, ' ') + " 1234Z";
}

class Engine : public QObject {
public:
    Engine(bool refuse, bool absurd, int count, int paceMs) : m_refuse(refuse), m_absurd(absurd), m_count(count), m_paceMs(paceMs)
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* client = m_server.nextPendingConnection();
            auto* buffer = new QByteArray;
            connect(client, &QTcpSocket::readyRead, this, [this, client, buffer] {
                *buffer += client->readAll();
                while (buffer->size() >= 36) {
                    const quint32 length = qFromLittleEndian<quint32>(buffer->constData() + 28);
                    if (buffer->size() < 36 + static_cast<qsizetype>(length))
                        return;
                    answer(client, buffer->at(4), buffer->mid(8, 10), buffer->mid(18, 10), buffer->mid(36, length));
                    buffer->remove(0, 36 + length);
                }
            });
            connect(client, &QTcpSocket::disconnected, this, [client, buffer] {
                delete buffer;
                client->deleteLater();
            });
        });
    }

    bool listen(quint16 port) { return m_server.listen(QHostAddress::LocalHost, port); }
    quint16 port() const { return m_server.serverPort(); }

private:
    static QByteArray call(const QByteArray& field)
    {
        const qsizetype nul = field.indexOf('\0');
        return nul < 0 ? field : field.left(nul);
    }

    void answer(QTcpSocket* client, char kind, const QByteArray& fromField, const QByteArray& toField, const QByteArray& data)
    {
        const QByteArray from = call(fromField);
        const QByteArray to = call(toField);
        std::printf("GOT %c %s %s\n", kind, from.constData(), to.constData());
        std::fflush(stdout);
        switch (kind) {
        case 'X':
            client->write(frame('X', from, {}, QByteArray(1, m_refuse ? '\0' : '\1')));
            if (m_absurd && !m_refuse)
                client->write(frame('U', "K1TTT", "DX", "short", 0x7fffffffu));
            break;
        case 'm':
            monitor(client, 0);
            break;
        case 'C':
            m_station = to;
            client->write(frame('C', to, from, "*** CONNECTED With Station " + to + "\r"));
            client->write(frame('D', to, from, spotLine(9999) + "\r"));
            break;
        case 'd':
            client->write(frame('d', to, from, "*** DISCONNECTED From Station " + to + "\r"));
            m_station.clear();
            break;
        case 'D':
            if (!m_station.isEmpty())
                client->write(frame('D', m_station, from, data));
            break;
        default:
            break;
        }
    }

    void monitor(QTcpSocket* client, int index)
    {
        while (index < m_count) {
            // The monitor text ends in a NUL, as direwolf sends it.
            const QByteArray text =
                " 1:Fm K1TTT-1 To DX <UI pid=F0 Len=80 >[12:34:56]\r" + spotLine(index) + QByteArray("\r\0", 2);
            client->write(frame('U', "K1TTT-1", "DX", text));
            ++index;
            if (m_paceMs > 0) {
                QTimer::singleShot(m_paceMs, client, [this, client, index] { monitor(client, index); });
                return;
            }
        }
    }

    QTcpServer m_server;
    bool m_refuse;
    bool m_absurd;
    int m_count;
    int m_paceMs;
    QByteArray m_station;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("An AGW packet engine on 127.0.0.1 for tests."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port (0: any free one)."), QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption refuse(QStringLiteral("refuse"), QStringLiteral("Refuse every registration."));
    const QCommandLineOption absurd(QStringLiteral("absurd"), QStringLiteral("Send a frame with a 2 GB length field."));
    const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("Monitored spot frames."), QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption pace(QStringLiteral("pace-ms"), QStringLiteral("Milliseconds between frames."), QStringLiteral("ms"), QStringLiteral("1000"));
    parser.addOptions({port, refuse, absurd, count, pace});
    parser.process(app);

    Engine engine(parser.isSet(refuse), parser.isSet(absurd), parser.value(count).toInt(), parser.value(pace).toInt());
    if (!engine.listen(static_cast<quint16>(parser.value(port).toUInt()))) {
        std::fprintf(stderr, "cannot listen\n");
        return 1;
    }
    std::printf("PORT %u\n", static_cast<unsigned>(engine.port()));
    std::fflush(stdout);
    return app.exec();
}
