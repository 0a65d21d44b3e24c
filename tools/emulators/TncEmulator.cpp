// A packet TNC in monitor mode on a pseudo-terminal, for tests and
// demonstrations. It prints "PTY /dev/pts/N" (the end a program opens as its
// serial port) as its first line of output, then every --pace-ms writes a
// monitored frame the way a TNC shows it: a header line, then the frame's
// text, each ending in CR LF. Every spot is heard twice, once direct and once
// through a digipeater, as on a busy channel. Stop it by its process id.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

QByteArray spotLine(int index)
{
    const QByteArray frequency = QByteArray::number(28010.0 + index * 2.5, 'f', 1);
    QByteArray suffix;
    for (int n = index, i = 0; i < 3; ++i, n /= 26)
        suffix.prepend(static_cast<char>('A' + n % 26));
    return "DX de " + QByteArray("W1AW:").leftJustified(7, ' ') + frequency.rightJustified(11, ' ') + "  "
         + QByteArray("VE7" + suffix).leftJustified(13, ' ') + QByteArray("BC").leftJustified(30, ' ') + " 2100Z";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A monitoring packet TNC on a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("Spots to send."), QStringLiteral("n"), QStringLiteral("10"));
    const QCommandLineOption pace(QStringLiteral("pace-ms"), QStringLiteral("Milliseconds between frames."), QStringLiteral("ms"), QStringLiteral("500"));
    parser.addOptions({count, pace});
    parser.process(app);

    int master = -1;
    int slave = -1;
    char name[128] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    std::printf("PTY %s\n", name);
    std::fflush(stdout);

    // Whatever the program writes (commands, the command-mode character) is read and ignored.
    QSocketNotifier input(master, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [master] {
        char buffer[256];
        [[maybe_unused]] const ssize_t n = read(master, buffer, sizeof buffer);
    });

    const int total = parser.value(count).toInt();
    int sent = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (sent >= total) {
            timer.stop();
            return;
        }
        const QByteArray spot = spotLine(sent++);
        const QByteArray direct = "W1AW-3>DX <UI>:\r\n" + spot + "\r\n";
        const QByteArray digipeated = "W1AW-3>DX,K1TTT-1* <UI>:\r\n" + spot + "\r\n";
        [[maybe_unused]] const ssize_t a = write(master, direct.constData(), static_cast<size_t>(direct.size()));
        [[maybe_unused]] const ssize_t b = write(master, digipeated.constData(), static_cast<size_t>(digipeated.size()));
    });
    timer.start(std::max(1, parser.value(pace).toInt()));
    const int result = app.exec();
    close(slave);
    close(master);
    return result;
}
