// The folder part of start-up, in its fixed order: remember the working
// folder, seed it on a first run, resolve the per-user data and shared
// folders, load the shared preferences document, make sure the backup folder
// exists, and return to the working folder. The windows (logo, main window)
// are shown around it by the start-up sequence in app/ui.
#pragma once

#include "common/AppFolders.h"
#include "common/SharedPreferences.h"
#include "platform/WorkingFolderLock.h"

#include <memory>

#include <QString>

namespace tenlog::platform {
class Dialogs;
class Paths;
}

namespace tenlog::app {


class AppStartup {
public:
    AppStartup(const platform::Paths& paths, platform::Dialogs& dialogs);

    // Takes the working folder for this copy before anything in it is
    // touched, then clears the temporary files a crash left behind (only
    // those of files this program writes there). False
    // (after saying so) when another copy of the program is using the log.
    bool lockWorkingFolder();

    // Remembers the working folder and seeds it with the shipped files.
    void recordWorkingFolder();
    // Resolves the per-user folders, loads the shared preferences, ensures
    // the backup folder and changes back to the working folder.
    void prepareUserFolders();

    const common::AppFolders& folders() const { return m_folders; }
    common::SharedPreferences& sharedPreferences() { return m_shared; }

private:
    const platform::Paths& m_paths;
    platform::Dialogs& m_dialogs;
    common::AppFolders m_folders;
    common::SharedPreferences m_shared;
    std::unique_ptr<platform::WorkingFolderLock> m_lock;
};

} // namespace tenlog::app
