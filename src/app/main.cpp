// TenLog: reads the command line, settles the working folder, wires the real
// platform seams to the start-up sequence and runs the event loop.
#include "app/ui/StartupSequence.h"
#include "common/ui/OptionGroupTabbing.h"
#include "platform/ComPortMap.h"
#include "platform/qt/PpdevPortIo.h"
#include "platform/qt/QtAudioPlayer.h"
#include "platform/qt/QtSerialDeviceList.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtChildProcess.h"
#include "platform/qt/QtTcpClient.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/SystemClock.h"
#include "platform/qt/SystemPaths.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QProcessEnvironment>

#include <cstdio>

namespace {

// A usage mistake ends like Qt's own option errors; a folder that cannot be
// used has a code of its own, so a launcher script can tell the two apart.
constexpr int kUsageError = 1;
constexpr int kFolderError = 2;

void describeCommandLine(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("A logger for the ARRL 10 Meter Contest. The log and its settings files live in "
                       "the working folder, which is seeded with the starting files on first use."));
    // Qt's own options (-platform, -style, -reverse) are single-dash words;
    // read as words they are never mistaken for -v or -h.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("desktop"),
                      QStringLiteral("Work in ~/TenLog (created on first use), whatever the current folder; "
                                     "the desktop entry starts TenLog this way.")});
    parser.addPositionalArgument(
        QStringLiteral("folder"),
        QStringLiteral("The contest's working folder, created when missing. Without it: the current folder, "
                       "or ~/TenLog when the current folder is the home folder."),
        QStringLiteral("[folder]"));
}

// Chooses and enters the working folder the command line asks for. Returns 0
// with the folder in *folder, or the exit code after saying why on stderr.
int settleWorkingFolder(const QCommandLineParser& parser, QString* folder)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        std::fprintf(stderr, "tenlog: one working folder at most, not %lld; see tenlog --help\n",
                     static_cast<long long>(positional.size()));
        return kUsageError;
    }
    tenlog::platform::WorkingFolderRequest request;
    request.argument = positional.value(0);
    request.desktop = parser.isSet(QStringLiteral("desktop"));
    const QString chosen = tenlog::platform::chooseWorkingFolder(request, QDir::currentPath(), QDir::homePath());
    const QString error = tenlog::platform::enterWorkingFolder(chosen);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "tenlog: %s\n", qPrintable(error));
        return kFolderError;
    }
    // The resolved current folder, as the working folder was before it could be chosen.
    *folder = QDir::currentPath();
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("TenLog"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TENLOG_VERSION));

    QString workingFolder;
    {
        // A first reading without the window system, so that --help,
        // --version and an unusable folder answer on a terminal with no
        // display. A command line holding one of Qt's own options fails
        // here and is read again once QApplication has taken those out.
        QCoreApplication probe(argc, argv);
        QCommandLineParser parser;
        describeCommandLine(parser);
        const bool parsed = parser.parse(QCoreApplication::arguments());
        if (parser.isSet(QStringLiteral("help")))
            parser.showHelp(0);
        if (parser.isSet(QStringLiteral("version")))
            parser.showVersion();
        // --help-all lists Qt's own options, which only QApplication knows.
        if (parsed && !parser.isSet(QStringLiteral("help-all"))) {
            if (const int code = settleWorkingFolder(parser, &workingFolder))
                return code;
        }
    }

    QApplication app(argc, argv);
    // Ties the windows to the installed desktop entry (icon, task switcher).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tenlog.TenLog"));
    tenlog::common::OptionGroupTabbing optionTabbing;
    app.installEventFilter(&optionTabbing);
    if (workingFolder.isEmpty()) {
        QCommandLineParser parser;
        describeCommandLine(parser);
        parser.process(app);
        if (const int code = settleWorkingFolder(parser, &workingFolder))
            return code;
    }

    tenlog::platform::SystemClock clock;
    tenlog::platform::QtDialogs dialogs;
    tenlog::platform::QtSettingsStore settings;
    const tenlog::platform::SystemPaths paths(QProcessEnvironment::systemEnvironment(), workingFolder,
                                              QApplication::applicationDirPath());

    tenlog::platform::QtAudioPlayer navigationPlayer;

    tenlog::app::StartupSequence startup(
        {clock, dialogs, settings, paths, navigationPlayer,
         [](std::shared_ptr<const tenlog::platform::ComPortMap> ports) -> std::unique_ptr<tenlog::platform::SerialPort> {
             return std::make_unique<tenlog::platform::QtSerialPort>(std::move(ports));
         },
         []() -> std::unique_ptr<tenlog::platform::TcpClient> {
             return std::make_unique<tenlog::platform::QtTcpClient>();
         },
         []() -> std::unique_ptr<tenlog::platform::PortIo> {
             return std::make_unique<tenlog::platform::PpdevPortIo>();
         },
         []() -> std::unique_ptr<tenlog::platform::AudioPlayer> {
             return std::make_unique<tenlog::platform::QtAudioPlayer>();
         },
         []() -> std::unique_ptr<tenlog::platform::SerialDeviceList> {
             return std::make_unique<tenlog::platform::QtSerialDeviceList>();
         },
         []() -> std::unique_ptr<tenlog::platform::ChildProcess> {
             return std::make_unique<tenlog::platform::QtChildProcess>();
         }});
    if (!startup.run())
        return 1;
    return QApplication::exec();
}
