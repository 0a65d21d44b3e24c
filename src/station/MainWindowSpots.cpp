// The main window's side of DX spotting: the spotting window (made on first
// use, then only hidden), the spot store behind the multiplier grid's hover
// and click, the station's own call spotted, and needed multipliers in green.
#include "station/MainWindow.h"

#include "log/MultTable.h"
#include "station/EntryLineArea.h"
#include "station/LinkStatusArea.h"
#include "station/MainMenus.h"
#include "station/MultiplierGrid.h"
#include "rig/RigCommander.h"
#include "platform/Dialogs.h"
#include "rig/RigControl.h"
#include "spots/DxSpotting.h"
#include "spots/NeededSpots.h"
#include "spots/SpotSession.h"
#include "spots/ui/SpottingWindow.h"
#include "text/NumberText.h"

#include <QAction>

#include <vector>

namespace tenlog::station {

// The main window is built over the log's session, records and rules.
using namespace tenlog::log;

namespace {

// The green of a multiplier some stored spot names.
constexpr qint32 kNeededGreen = 0x00C000; // red in the low byte: RGB 0, 192, 0

} // namespace

void MainWindow::connectSpots()
{
    auto savePrefs = [this] { m_session->savePrefs(); };
    spots::SpotTransports* transports = m_services.spotTransports;
    m_menus->configureSpotting->setEnabled(transports != nullptr);
    if (transports) {
        m_spotting = std::make_unique<spots::DxSpotting>(*transports, m_services.clock, m_services.dialogs,
                                                         [this] { return m_session->prefs().OwnCall; });
        m_neededSpots = std::make_unique<spots::NeededSpotAlerts>(m_spotting->store, m_session->mutablePrefs(),
                                                                  savePrefs, [this] { m_voiceNav.neededSpot(); });
        connect(m_menus->configureSpotting, &QAction::triggered, this, &MainWindow::openSpotting);
        // Once per slice of received lines, however many spots it held.
        connect(&m_spotting->intake, &spots::SpotIntake::neededMarkingDue, this, [this](int freshSpots) {
            m_neededSpots->noteFreshSpots(freshSpots);
            markNeededSpots();
        });
        connect(&m_spotting->intake, &spots::SpotIntake::ownCallSpotted, this,
                [this](const QString& message, const QString& record) {
                    m_entryLine->showOwnCallSpotted(message, record);
                });
        m_linkStatus->showSpots(m_spotting->session.status());
        connect(&m_spotting->session, &spots::SpotSession::statusChanged, m_linkStatus, &LinkStatusArea::showSpots);
        connect(&m_spotting->session, &spots::SpotSession::trouble, this,
                [this](const QString& title, const QString& text, const QString& line) {
                    // In the spotting window the operator reads its terminal
                    // and, for a port or engine that will not open, the box;
                    // anywhere else they may be typing a call.
                    if (m_spottingWindow && m_spottingWindow->isActiveWindow()) {
                        if (!title.isEmpty())
                            m_services.dialogs.message(title, text, platform::MessageIcon::Information);
                        return;
                    }
                    m_session->showMessage(line);
                });
        // A reload (a mode switch among them) recolours the grid first.
        connect(m_session, &ContestSession::logReloaded, this, &MainWindow::markNeededSpots);
        connectSpotMaps();
    }
    // The check marks are preferences even before any spot has come.
    connect(m_menus->colourNeededSpots, &QAction::triggered, this, [this, savePrefs](bool on) {
        m_session->mutablePrefs().NeededSpotsGreen = on ? 1 : 0;
        savePrefs();
        if (on)
            markNeededSpots();
        else
            colourGrid();
    });
    connect(m_menus->audioNeededSpots, &QAction::triggered, this, [this, savePrefs](bool on) {
        m_session->mutablePrefs().NeededSpotAudio = on ? 1 : 0;
        savePrefs();
    });
}

void MainWindow::openSpotting()
{
    if (!m_spotting)
        return;
    if (!m_spottingWindow) {
        spots::SpottingWindow::Hooks hooks;
        hooks.lastCall = [this] {
            const QList<QsoRecord>& records = m_session->log().records();
            return records.isEmpty() ? QString() : records.back().Call;
        };
        hooks.done = [this] {
            m_session->savePrefs();
            layOutSpotArea();
        };
        m_spottingWindow = new spots::SpottingWindow(m_spotting->session, m_spotting->terminal, m_spotting->paths,
                                                     m_services.dialogs, m_services.folders.workingFolder, hooks,
                                                     m_services.portDevices, this);
    }
    m_spottingWindow->show();
    m_spottingWindow->showNormal();
    m_spottingWindow->raise();
    m_spottingWindow->activateWindow();
}

void MainWindow::markNeededSpots()
{
    if (!m_spotting || m_session->prefs().NeededSpotsGreen != 1)
        return;
    const Prefs& prefs = m_session->prefs();
    const LogTally& tally = m_session->log().tally();
    const std::array<int, 101>& hits = isCw(prefs.CurrentMode) ? tally.cwMultHits : tally.phMultHits;
    std::vector<spots::GridMark> marks(kMultCount);
    QStringList abbreviations;
    for (int i = 1; i <= kMultCount; ++i) {
        marks[static_cast<size_t>(i - 1)] = hits.at(static_cast<size_t>(i)) > 0 ? spots::GridMark::Worked
                                                                                : spots::GridMark::Remaining;
        abbreviations.append(QString::fromLatin1(multEntry(i).Abbrev));
    }
    m_neededSpots->mark(abbreviations, marks);
    for (int i = 1; i <= kMultCount; ++i) {
        const spots::GridMark mark = marks[static_cast<size_t>(i - 1)];
        m_grid->setColour(i, mark == spots::GridMark::Needed ? kNeededGreen
                             : mark == spots::GridMark::Worked ? prefs.WorkedColor
                                                               : prefs.RemainingColor);
    }
}

QString MainWindow::recentSpotText(int multiplier) const
{
    if (!m_spotting)
        return {};
    return spots::recentSpotHoverText(m_spotting->store, QString::fromLatin1(multEntry(multiplier).Abbrev));
}

void MainWindow::applySpotsOf(int multiplier)
{
    if (!m_spotting)
        return;
    // Newest to oldest, so the oldest spot naming it is the one left on the
    // line. Only 10 m spots offer a multiplier: the radio is never sent off
    // the contest band, nor to a spot taken off the band map.
    const QString abbreviation = QString::fromLatin1(multEntry(multiplier).Abbrev);
    for (int j = spots::SpotStore::kNewest; j >= 0; --j) {
        if (!m_spotting->store.names(j, abbreviation))
            continue;
        const spots::Spot& spot = m_spotting->store.entry(j);
        // Commands run in the order asked, so the radio ends on the oldest spot too.
        if (m_services.rigControl && !rig::isNoRig(m_session->prefs().RigName))
            m_services.rigControl->commander().tuneTo(spot.frequencyMhz);
        m_entryLine->takeSpottedCall(spot.call);
        m_session->showMessage(spot.call + QStringLiteral("  -  ") + abbreviation + QLatin1Char('\n')
                               + text::plainNumber(spot.frequencyMhz) + QLatin1Char('\n')
                               + spot.time.toString(QStringLiteral("hh:mm")));
    }
}

void MainWindow::closeSpotting()
{
    if (m_spotting)
        m_spotting->session.endOfRun();
}

} // namespace tenlog::station
