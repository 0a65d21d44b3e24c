// The main window's menu commands: the log files, the station and the
// appearance settings, the exports, voice navigation, the rate graph, help
// and leaving.
#include "station/MainWindow.h"

#include "common/ui/ScreenFit.h"
#include "export/ui/AdifExport.h"
#include "export/ui/CabrilloDialog.h"
#include "export/ui/ListClipboard.h"
#include "export/ui/TessaryExport.h"
#include "graph/ui/RateGraphWindow.h"
#include "log/ui/ColourDialog.h"
#include "station/ContactListArea.h"
#include "station/EntryLineArea.h"
#include "log/ui/HelpWindow.h"
#include "station/MainMenus.h"
#include "station/StationArea.h"
#include "log/ui/StationIdDialog.h"
#include "platform/Dialogs.h"
#include "voice/ui/VoiceNavigationDialog.h"

#include <QAction>
#include <QDir>
#include <QScreen>

namespace tenlog::station {

// The main window is built over the log's session, records and rules.
using namespace tenlog::log;

void MainWindow::connectMenus()
{
    ContestSession* s = m_session;
    connect(m_menus->newLog, &QAction::triggered, this, &MainWindow::newLog);
    connect(m_menus->archiveLog, &QAction::triggered, s, &ContestSession::archiveLog);
    connect(m_menus->restoreLog, &QAction::triggered, s, &ContestSession::restoreLog);
    connect(m_menus->writeCabrillo, &QAction::triggered, this, &MainWindow::writeCabrillo);
    connect(m_menus->exportAdif, &QAction::triggered, this, &MainWindow::exportAdif);
    connect(m_menus->exportTessary, &QAction::triggered, this, [this] {
        exports::runTessaryExport(m_services.dialogs, m_services.folders.workingFolder, m_session->log().records());
    });
    connect(m_menus->copyList, &QAction::triggered, this,
            [this] { exports::copyListedItemsToClipboard(*m_contactList->list()); });
    connect(m_menus->exit, &QAction::triggered, this, &MainWindow::exitProgram);
    connect(m_menus->formSize, &QAction::triggered, this, &MainWindow::chooseFormSize);
    connect(m_menus->colours, &QAction::triggered, this, &MainWindow::chooseColours);
    connect(m_menus->taskbarFit, &QAction::triggered, this, &MainWindow::toggleTaskbarFit);
    connect(m_menus->voiceNavigation, &QAction::triggered, this, &MainWindow::openVoiceNavigation);
    connect(m_menus->postContest, &QAction::triggered, this, &MainWindow::togglePostContest);
    connect(m_menus->stationSetup, &QAction::triggered, this, &MainWindow::openStationSetup);
    connect(m_menus->modeCw, &QAction::triggered, s, [s] { s->switchMode(QStringLiteral("CW")); });
    connect(m_menus->modePhone, &QAction::triggered, s, [s] { s->switchMode(QStringLiteral("PH")); });
    connect(m_menus->help, &QAction::triggered, this, &MainWindow::showHelp);
    connect(m_menus->graph, &QAction::triggered, this, &MainWindow::openRateGraph);

    // Until log.txt has been read nothing may write it or write from it.
    const QList<QAction*> writers{m_menus->newLog, m_menus->archiveLog, m_menus->restoreLog, m_menus->writeCabrillo,
                                  m_menus->exportAdif};
    for (QAction* item : writers)
        item->setEnabled(false);
    connect(s, &ContestSession::logReloaded, this, [writers] {
        for (QAction* item : writers)
            item->setEnabled(true);
    });
}

void MainWindow::newLog()
{
    m_session->startNewLog();
}

void MainWindow::writeCabrillo()
{
    exports::runCabrillo(this, {m_session->log(), m_session->mutablePrefs(), m_services.dialogs, m_services.settings,
                                m_services.sharedPreferences, m_services.folders, windowTitle()});
}

void MainWindow::exportAdif()
{
    exports::runAdifExport({m_services.dialogs, m_services.clock, m_services.folders, m_session->log().records(),
                            windowTitle(), m_session->prefs().OwnCall, m_session->prefs().OwnState,
                            &m_services.settings});
}

void MainWindow::openStationSetup()
{
    StationIdDialog dialog(m_session->prefs(), m_session->prefixes(), m_services.dialogs, m_services.sharedPreferences,
                           this);
    m_services.dialogs.runModal(&dialog);
    m_session->setPrefs(dialog.applyTo(m_session->prefs()));
    m_station->showStation(m_session->prefs().OwnCall, m_session->prefs().OwnState);
    m_session->savePrefs();
}

void MainWindow::chooseColours()
{
    Prefs& prefs = m_session->mutablePrefs();
    ColourDialog dialog(prefs.WorkedColor, prefs.RemainingColor, m_services.dialogs, this);
    m_services.dialogs.runModal(&dialog);
    prefs.WorkedColor = dialog.worked();
    prefs.RemainingColor = dialog.remaining();
    m_session->savePrefs();
    m_session->reloadLog();
}

void MainWindow::chooseFormSize()
{
    Prefs& prefs = m_session->mutablePrefs();
    const auto answer = m_services.dialogs.inputBox(
        QStringLiteral("Please enter screen percentage."),
        QStringLiteral("Enter the % of the screen you would like the form to cover.  Try between 90 and 100 for "
                       "best results.  Values below 75 do not display well."),
        QString::number(prefs.FormSizePercent));
    const auto percent = formSizeFromAnswer(answer);
    if (!percent) {
        m_services.dialogs.message(QStringLiteral("Numeric Values Required"),
                                   QStringLiteral("Please enter only numeric values."));
        return;
    }
    prefs.FormSizePercent = *percent;
    m_services.dialogs.message(QStringLiteral("For this setting to take effect please restart this program."),
                               QStringLiteral("This program must be closed and restarted for this setting to take effect."));
    m_session->savePrefs();
}

void MainWindow::toggleTaskbarFit()
{
    Prefs& prefs = m_session->mutablePrefs();
    if (prefs.FormSizePercent != 100) {
        m_menus->taskbarFit->setChecked(prefs.TaskbarFit == 1);
        m_services.dialogs.message(QStringLiteral("Please set your form size to 100% to use this option."),
                                   QStringLiteral("The form size must be set to 100% to use the taskbar display option."));
        return;
    }
    prefs.TaskbarFit = prefs.TaskbarFit == 1 ? 0 : 1;
    m_session->savePrefs();
    fitToWorkArea();
}

void MainWindow::fitToWorkArea()
{
    const Prefs& prefs = m_session->prefs();
    m_menus->taskbarFit->setChecked(prefs.TaskbarFit == 1);
    if (prefs.FormSizePercent != 100)
        return;
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    // Without a taskbar the work area is the whole screen; the layouts
    // rescale the areas. The frame lies on the area from its top-left
    // corner, which is not 0,0 under a top panel or on a second monitor.
    const QRect area = prefs.TaskbarFit == 1 ? screen->availableGeometry() : screen->geometry();
    common::fillWithFrame(this, area);
}

void MainWindow::openVoiceNavigation()
{
    voice::VoiceNavigationDialog settings(m_voiceNav, m_services.dialogs, this);
    if (m_services.dialogs.runModal(&settings) == QDialog::Accepted) {
        m_session->mutablePrefs().VoiceNavLevel = settings.chosenLevel();
        QDir::setCurrent(m_services.folders.workingFolder);
        m_session->savePrefs();
    }
    m_entryLine->focusCall();
}

void MainWindow::togglePostContest()
{
    const bool on = !m_entryLine->postContestVisible();
    m_entryLine->setPostContestVisible(on);
    m_menus->postContest->setChecked(on);
}

void MainWindow::showHelp()
{
    HelpWindow help(m_services.folders.workingFolder, m_services.dialogs, this);
    m_services.dialogs.runModal(&help);
}

void MainWindow::openRateGraph()
{
    graph::RateGraphWindow window(m_session->log().records(), m_services.dialogs, this);
    m_services.dialogs.runModal(&window);
}

void MainWindow::exitProgram()
{
    // The operating time is kept with the other preferences before leaving.
    m_session->saveOperatingTime();
    closeRig();
    closeSpotting();
    if (m_services.endProgram)
        m_services.endProgram(0);
}

} // namespace tenlog::station
