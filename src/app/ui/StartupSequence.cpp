// The start-up sequence.
#include "app/ui/StartupSequence.h"

#include "common/DataFolders.h"
#include "app/ui/LogoWindow.h"
#include "log/ui/MainWindow.h"

#include <QCoreApplication>

namespace tenlog::app {

using namespace tenlog::common;

StartupSequence::StartupSequence(StartupServices services)
    : m_services(services)
    , m_startup(services.paths, services.dialogs)
{
}

StartupSequence::~StartupSequence()
{
    if (m_logo)
        delete m_logo.data();
}

log::MainWindow* StartupSequence::run()
{
    if (!m_startup.lockWorkingFolder())
        return nullptr;
    m_startup.recordWorkingFolder();

    DataFolders folders(m_services.paths, m_services.dialogs);
    const QString company = folders.resolveUserDataFolder(QString::fromLatin1(kCompanySubPath),
                                                          QString::fromLatin1(kSharedChild));
    m_logo = new LogoWindow(company);
    m_logo->show();

    m_startup.prepareUserFolders();

    m_main = std::make_unique<log::MainWindow>(log::MainWindowServices{
        m_services.clock, m_services.dialogs, m_services.settings, m_startup.folders(),
        m_startup.sharedPreferences(), m_services.navigationPlayer, [this](int code) {
            m_ended = true;
            QCoreApplication::exit(code);
        }});
    m_main->show();
    // The logo stays in front of the main window until its timer closes it.
    if (m_logo)
        m_logo->raise();
    m_main->runLoadSequence();
    return m_ended ? nullptr : m_main.get();
}

} // namespace tenlog::app
