// The main window's side of the radio link: the setup window, made on first
// use and then only hidden, polling started at load when a radio is chosen,
// the log following the radio's frequency and mode, the link's status beside
// the mode and its troubles on the message line, the tuning panel (Ctrl+G)
// and the privileges chart. Nothing the link reports opens a window: the
// operator may be typing a call.
#include "station/MainWindow.h"

#include "bandplan/ui/PrivilegesWindow.h"
#include "station/LinkStatusArea.h"
#include "station/MainMenus.h"
#include "platform/Dialogs.h"
#include "rig/RigControl.h"
#include "rig/ui/RigSetupWindow.h"
#include "rig/ui/TuningPanel.h"

#include <QAction>
#include <QDir>

namespace tenlog::station {

// The main window is built over the log's session, records and rules.
using namespace tenlog::log;

void MainWindow::connectRig()
{
    rig::RigControl* rig = m_services.rigControl;
    connect(m_menus->privileges, &QAction::triggered, this, &MainWindow::openPrivileges);
    m_menus->rigInterface->setEnabled(rig != nullptr);
    m_menus->tuningPanel->setEnabled(rig != nullptr);
    if (!rig)
        return;
    connect(m_menus->rigInterface, &QAction::triggered, this, &MainWindow::openRigInterface);
    connect(m_menus->tuningPanel, &QAction::triggered, this, &MainWindow::openTuningPanel);
    // The link reports a frequency only once one has been decoded, and says
    // when it is no longer current.
    connect(rig, &rig::RigControl::frequencyPolled, m_session, &ContestSession::setRadioFrequency);
    connect(rig, &rig::RigControl::frequencyUnknown, m_session, &ContestSession::forgetRadioFrequency);
    connect(rig, &rig::RigControl::modePolled, m_session, &ContestSession::followRadioMode);
    m_linkStatus->showRadio(rig->status());
    connect(rig, &rig::RigControl::statusChanged, m_linkStatus, &LinkStatusArea::showRadio);
    connect(rig, &rig::RigControl::trouble, this, [this](const QString& message) {
        m_session->showMessage(message);
        m_services.dialogs.beep();
    });
}

rig::RigSetupWindow& MainWindow::rigWindow()
{
    if (!m_rigWindow) {
        m_rigWindow = new rig::RigSetupWindow(*m_services.rigControl, m_services.dialogs, m_services.portDevices, this);
        m_rigWindow->loadSettings();
        connect(m_rigWindow, &rig::RigSetupWindow::rigChosen, m_session, [this](const QString& rigName) {
            m_session->mutablePrefs().RigName = rigName;
            m_session->savePrefs();
        });
    }
    return *m_rigWindow;
}

void MainWindow::openRigInterface()
{
    rig::RigSetupWindow& window = rigWindow();
    window.show();
    window.raise();
    window.activateWindow();
}

void MainWindow::startRigAtLoad()
{
    if (m_services.rigControl && !rig::isNoRig(m_session->prefs().RigName))
        rigWindow().startPollingAtLoad();
}

void MainWindow::openTuningPanel()
{
    rig::TuningPanel panel(*m_services.rigControl, m_services.dialogs, this);
    m_services.dialogs.runModal(&panel);
}

void MainWindow::openPrivileges()
{
    QDir::setCurrent(m_services.folders.workingFolder);
    bandplan::PrivilegesWindow window(m_services.folders.workingFolder, m_services.dialogs, this);
    m_services.dialogs.runModal(&window);
}

void MainWindow::closeRig()
{
    if (m_rigWindow)
        m_rigWindow->closeLink();
}

} // namespace tenlog::station
