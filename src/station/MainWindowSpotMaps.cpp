// The main window's side of the spot views: the spot area under the other
// areas (the list or the 10 m band map), laid out by the spotting window's
// "&Done", and the spectrum map (Ctrl+B). Spots reach both as the intake
// stores them, redrawn once per slice of received lines; a spot clicked on
// either tunes the radio and fills the call box, and one taken off either
// map is gone from both.
#include "station/MainWindow.h"

#include "geo/PrefixTable.h"
#include "station/EntryLineArea.h"
#include "station/MainMenus.h"
#include "station/SpotArea.h"
#include "rig/RigCommander.h"
#include "rig/RigControl.h"
#include "spots/DxSpotting.h"
#include "spots/ui/SpectrumMapWindow.h"
#include "spots/ui/SpottingWindow.h"
#include "platform/Dialogs.h"
#include "text/NumberText.h"

#include <QAction>
#include <QShortcut>
#include <QVBoxLayout>

namespace tenlog::station {

// The main window is built over the log's session, records and rules.
using namespace tenlog::log;

void MainWindow::connectSpotMaps()
{
    auto utcOffset = [this] { return m_session->prefs().UtcOffsetHours; };
    m_spotArea = new SpotArea(m_spotting->store, m_services.clock, utcOffset,
                              [this](const QString& call) { return m_session->prefixes().lookupSpotCountry(call); },
                              centralWidget());
    // Under everything else; hidden, it takes no room at all.
    static_cast<QVBoxLayout*>(centralWidget()->layout())->addWidget(m_spotArea);

    connect(&m_spotting->intake, &spots::SpotIntake::spotStored, m_spotArea, &SpotArea::takeSpot);
    connect(&m_spotting->intake, &spots::SpotIntake::storeChanged, m_spotArea, &SpotArea::storeChanged);
    connect(&m_spotting->intake, &spots::SpotIntake::storeChanged, this, [this] {
        if (m_spectrumMap)
            m_spectrumMap->redraw();
    });
    connect(&m_spotting->session, &spots::SpotSession::bandMapRefreshDue, m_spotArea, &SpotArea::redrawBandMap);

    connect(m_spotArea, &SpotArea::tuneRequested, this, &MainWindow::workBandMapSpot);
    connect(m_spotArea, &SpotArea::removeRequested, this, &MainWindow::removeSpot);
    connect(m_spotArea, &SpotArea::listRowChosen, this, &MainWindow::takeSpotListRow);
    connect(m_spotArea, &SpotArea::spotHovered, m_entryLine, &EntryLineArea::showHoverText);
    connect(m_spotArea, &SpotArea::spottingWindowRequested, this, &MainWindow::openSpotting);
    connect(m_spotArea, &SpotArea::spectrumMapRequested, this, &MainWindow::openSpectrumMap);
    connect(m_spotArea, &SpotArea::leaveArea, m_entryLine, &EntryLineArea::focusCall);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this), &QShortcut::activated, m_spotArea,
            &SpotArea::enter);

    m_menus->spectrumMap->setEnabled(true);
    connect(m_menus->spectrumMap, &QAction::triggered, this, &MainWindow::openSpectrumMap);
}

void MainWindow::layOutSpotArea()
{
    if (!m_spotArea || !m_spottingWindow)
        return;
    // No source chosen yet counts as "None".
    const QString source = m_spottingWindow->sourceWord();
    const bool none = source.isEmpty() || source.compare(spots::kSourceNone, Qt::CaseInsensitive) == 0;
    m_spotArea->fitHeight(height());
    m_spotArea->fitColumns(width());
    m_spotArea->setDisplay(none                                ? SpotArea::Display::None
                           : m_spottingWindow->listChosen() ? SpotArea::Display::List
                                                            : SpotArea::Display::BandMap);
}

void MainWindow::openSpectrumMap()
{
    if (!m_spotting || m_spectrumMap)
        return;
    spots::SpectrumMapWindow window(m_spotting->store, m_services.clock,
                                    [this] { return m_session->prefs().UtcOffsetHours; }, this);
    connect(&window, &spots::SpectrumMapWindow::tuneRequested, this, &MainWindow::takeSpectrumMapSpot);
    connect(&window, &spots::SpectrumMapWindow::removeRequested, this, &MainWindow::removeSpot);
    m_spectrumMap = &window;
    m_services.dialogs.runModal(&window);
    m_spectrumMap = nullptr;
}

void MainWindow::workBandMapSpot(int storeIndex)
{
    const spots::Spot spot = m_spotting->store.entry(storeIndex);
    // Whether a radio is chosen and linked is the frequency command's to
    // say; without one it does nothing.
    if (m_services.rigControl)
        m_services.rigControl->commander().tuneTo(spot.frequencyMhz);
    m_entryLine->takeSpottedCall(spot.call);
}

void MainWindow::takeSpectrumMapSpot(int storeIndex)
{
    const spots::Spot spot = m_spotting->store.entry(storeIndex);
    if (m_services.rigControl)
        m_services.rigControl->commander().tuneTo(spot.frequencyMhz);
    m_entryLine->putSpottedCall(spot.call);
}

void MainWindow::takeSpotListRow(const QString& call, const QString& frequencyText)
{
    m_entryLine->focusCall();
    if (!text::isNumeric(frequencyText))
        return;
    if (m_services.rigControl && !rig::isNoRig(m_session->prefs().RigName))
        m_services.rigControl->commander().tuneTo(text::valSingle(frequencyText));
    m_entryLine->putSpottedCall(call);
}

void MainWindow::removeSpot(int storeIndex)
{
    m_spotting->store.hide(storeIndex);
    m_spotArea->redrawBandMap();
}

} // namespace tenlog::station
