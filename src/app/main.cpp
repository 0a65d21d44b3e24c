// TenLog: wires the real platform seams to the start-up sequence and runs
// the event loop.
#include "app/ui/StartupSequence.h"
#include "platform/qt/QtAudioPlayer.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/SystemClock.h"
#include "platform/qt/SystemPaths.h"

#include <QApplication>
#include <QDir>
#include <QProcessEnvironment>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TenLog"));

    tenlog::platform::SystemClock clock;
    tenlog::platform::QtDialogs dialogs;
    tenlog::platform::QtSettingsStore settings;
    const tenlog::platform::SystemPaths paths(QProcessEnvironment::systemEnvironment(),
                                              QDir::currentPath(), QApplication::applicationDirPath());

    tenlog::platform::QtAudioPlayer navigationPlayer;

    tenlog::app::StartupSequence startup({clock, dialogs, settings, paths, navigationPlayer});
    if (!startup.run())
        return 1;
    return QApplication::exec();
}
