// The main window (Form1): the program's hub, holding the entry line, the
// contact list, score, grid, clocks and spot area.
#pragma once

#include "app/AppStartup.h"

#include <QMainWindow>

namespace tenlog::platform {
class Clock;
class Dialogs;
class SettingsStore;
}

namespace tenlog::log {

// What the main window needs from the rest of the program, handed in by the
// start-up sequence.
struct MainWindowServices {
    platform::Clock& clock;
    platform::Dialogs& dialogs;
    platform::SettingsStore& settings;
    app::AppFolders folders;
    app::SharedPreferences& sharedPreferences;
};

QString mainWindowCaption();

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);

    const app::AppFolders& folders() const { return m_services.folders; }

private:
    MainWindowServices m_services;
};

} // namespace tenlog::log
