// The main window: areas, layout, load sequence and the routing between areas.
#include "station/MainWindow.h"

#include "common/ui/ScreenFit.h"
#include "log/MultTable.h"
#include "station/AreaWidgets.h"
#include "station/CallInfoArea.h"
#include "station/ClockArea.h"
#include "station/ContactListArea.h"
#include "station/DxCountryList.h"
#include "station/EntryLineArea.h"
#include "station/LinkStatusArea.h"
#include "station/MainMenus.h"
#include "station/MultiplierGrid.h"
#include "station/ScorePanel.h"
#include "station/SpotArea.h"
#include "station/StationArea.h"
#include "platform/Dialogs.h"
#include "spots/DxSpotting.h"
#include "spots/NeededSpots.h"
#include "spots/ui/SpottingWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

namespace tenlog::station {

// The main window is built over the log's session, records and rules.
using namespace tenlog::log;

QString mainWindowCaption()
{
    return QStringLiteral(TENLOG_CAPTION " " TENLOG_VERSION);
}

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent)
    , m_services(std::move(services))
    , m_session(new ContestSession(m_services.clock, m_services.dialogs, m_services.folders, this))
    , m_voiceNav(m_services.navigationPlayer, m_services.folders.workingFolder,
                 [this] { return m_session->prefs().VoiceNavLevel; })
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(mainWindowCaption());
    setAccessibleName(QStringLiteral("TenLog contest log"));
    m_menus = new MainMenus(menuBar());
    buildAreas();
    connectAreas();
    connectMenus();
    connectRig();
    connectSpots();
    connectKeyers();
    // The clocks tick from the start, through the start-up questions and after a load error.
    m_clocks->start();
    m_scorePanel->start();

    // The window, title bar included, covers the screen's available area;
    // its areas are laid out to that size.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        common::fillWithFrame(this, screen->availableGeometry());
}

MainWindow::~MainWindow()
{
    // The areas go first, while the session and the voice prompts they use still exist.
    delete takeCentralWidget();
    // The spotting window uses the spotting parts this window owns.
    delete m_spottingWindow;
}

void MainWindow::buildAreas()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    setCentralWidget(central);
    // Moving over the window's background clears the hover line.
    central->setMouseTracking(true);
    central->installEventFilter(this);
    auto* page = new QVBoxLayout(central);

    auto* top = new QHBoxLayout;
    m_station = new StationArea(central);
    m_linkStatus = new LinkStatusArea(m_station);
    m_station->placeBesideMode(m_linkStatus);
    m_clocks = new ClockArea(*m_session, central);
    top->addWidget(m_station, 1);
    top->addWidget(m_clocks);
    page->addLayout(top);

    m_entryLine = new EntryLineArea(*m_session, m_voiceNav, m_services.dialogs, central);
    m_callInfo = new CallInfoArea(central);
    m_entryLine->placeUnderBoxes(m_callInfo);
    page->addWidget(m_entryLine);

    // Below the entry line everything may shrink and scroll, so the window
    // fits a small or scaled screen and the entry line never leaves it.
    auto* lower = new QWidget;
    lower->setObjectName(QStringLiteral("lowerAreas"));
    lower->setMouseTracking(true);
    lower->installEventFilter(this);
    auto* lowerColumn = new QVBoxLayout(lower);
    lowerColumn->setContentsMargins(0, 0, 0, 0);
    auto* gridHeading = makeLabel(lower, {}, QStringLiteral("Multipliers worked in current mode:"));
    lowerColumn->addWidget(gridHeading);
    m_grid = new MultiplierGrid(lower);
    lowerColumn->addWidget(m_grid);
    auto* bottom = new QHBoxLayout;
    m_contactList = new ContactListArea(*m_session, m_services.dialogs, lower);
    m_contactList->setMinimumHeight(fontMetrics().height() * 8);
    bottom->addWidget(m_contactList, 7);
    auto* side = new QVBoxLayout;
    m_scorePanel = new ScorePanel(*m_session, lower);
    m_dxList = new DxCountryList(*m_session, lower);
    side->addWidget(m_scorePanel);
    side->addWidget(m_dxList, 1); // the DX list stretches down to the bottom line
    bottom->addLayout(side, 3);
    lowerColumn->addLayout(bottom, 1);

    auto* scroll = m_lowerScroll = new QScrollArea(central);
    scroll->setObjectName(QStringLiteral("lowerScroll"));
    scroll->setAccessibleName(QStringLiteral("Multipliers, contacts and score"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(lower);
    page->addWidget(scroll, 1);
}

void MainWindow::connectAreas()
{
    ContestSession* s = m_session;
    connect(m_entryLine, &EntryLineArea::callInfoChanged, m_callInfo, &CallInfoArea::showCallInfo);
    connect(m_entryLine, &EntryLineArea::newCountryChanged, m_callInfo, &CallInfoArea::showNewCountry);
    connect(m_entryLine, &EntryLineArea::callBoxEntered, m_contactList, &ContactListArea::hideRecordButtons);
    connect(m_contactList, &ContactListArea::leaveList, m_entryLine, &EntryLineArea::focusCall);
    connect(m_grid, &MultiplierGrid::entryHovered, this, [this](int index) {
        m_entryLine->showHoverText(m_session->multiplierSummary(index) + recentSpotText(index));
    });
    connect(m_grid, &MultiplierGrid::entryClicked, this, [this](int index) {
        m_entryLine->setExchange(QString::fromLatin1(multEntry(index).Abbrev));
        applySpotsOf(index);
    });
    connect(m_station, &StationArea::modeClicked, this,
            [s] { s->switchMode(isCw(s->mode()) ? QStringLiteral("PH") : QStringLiteral("CW")); });

    connect(s, &ContestSession::modeChanged, this, &MainWindow::showMode);
    connect(s, &ContestSession::logReloaded, this, &MainWindow::colourGrid);
    connect(s, &ContestSession::contactLogged, this, [this](int, const QsoRecord& r, bool) {
        const int c = multIndex(r.SecSer);
        if (c <= 0)
            return;
        m_grid->setColour(c, m_session->prefs().WorkedColor);
        const LogTally& t = m_session->log().tally();
        m_grid->describeWorked(c, t.cwMultHits[static_cast<size_t>(c)] > 0, t.phMultHits[static_cast<size_t>(c)] > 0);
    });
    connect(s, &ContestSession::logUnreadable, this, [this](int code) {
        if (m_services.endProgram)
            m_services.endProgram(code);
    });

    // Everything the buttons do can be done from the keyboard too.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), this), &QShortcut::activated, m_contactList,
            &ContactListArea::toggleAllOrLast);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), this), &QShortcut::activated, m_entryLine,
            &EntryLineArea::togglePartialDupes);
    auto* toList = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    connect(toList, &QShortcut::activated, this, [this] {
        m_contactList->enterList();
        m_lowerScroll->ensureWidgetVisible(m_contactList);
    });
}

void MainWindow::showMode(const QString& mode)
{
    m_station->showMode(mode);
    m_menus->modeCw->setChecked(isCw(mode));
    m_menus->modePhone->setChecked(!isCw(mode));
}

void MainWindow::colourGrid()
{
    const Prefs& prefs = m_session->prefs();
    const LogTally& t = m_session->log().tally();
    m_grid->colourAll(isCw(prefs.CurrentMode) ? t.cwMultHits : t.phMultHits, prefs.WorkedColor, prefs.RemainingColor);
    m_grid->describeWorked(t.cwMultHits, t.phMultHits);
}

bool MainWindow::runLoadSequence()
{
    m_callInfo->showNewCountry(false);
    m_session->mutablePrefs().FormSizePercent = 100;
    m_session->showMessage(QStringLiteral("Select a mode from the menu bar and click Log \"Time On\" below!"));

    // A stop before the log is read (no prefix file) leaves the window up,
    // but says why nothing can be logged.
    auto stopped = [this] {
        m_session->showMessage(kLogNotReadText);
        return false;
    };
    // Damaged or missing preferences leave their defaults and are reported
    // once start-up is done; the log still loads.
    m_session->loadPreferences();
    const Prefs& prefs = m_session->prefs();
    m_menus->colourNeededSpots->setChecked(prefs.NeededSpotsGreen == 1);
    m_menus->audioNeededSpots->setChecked(prefs.NeededSpotAudio == 1);
    m_session->checkUtcOffset();
    m_clocks->updateClocks(); // the stored offset is known now
    if (prefs.FormSizePercent < 100) {
        if (const QScreen* screen = this->screen()) {
            const QRect whole = screen->geometry();
            const QSize size(whole.width() * prefs.FormSizePercent / 100, whole.height() * prefs.FormSizePercent / 100);
            // Centred on the screen, and never over its taskbar or panels.
            const QRect wanted(whole.center() - QPoint(size.width() / 2, size.height() / 2), size);
            common::fillWithFrame(this, wanted.intersected(screen->availableGeometry()));
        }
    }
    m_session->switchMode(prefs.CurrentMode == QLatin1String("PH") ? QStringLiteral("PH") : QStringLiteral("CW"));
    if (!m_session->loadPrefixes())
        return stopped();

    openStationSetup();

    const platform::Answer answer = m_services.dialogs.message(
        QStringLiteral("Open existing log?"),
        QStringLiteral("Do you want to continue an existing contest? (Yes opens your existing log, No erases any "
                       "existing log and starts a new log.)"),
        platform::MessageIcon::Question, platform::MessageButtons::YesNo);
    if (answer == platform::Answer::Yes) {
        if (!m_session->reloadLog())
            return false;
    } else if (!m_session->startNewLog()) {
        return false;
    }
    m_contactList->hideRecordButtons();

    fitToWorkArea();
    startRigAtLoad();
    m_clocks->updateClocks();
    m_session->setStarted();
    // The modal questions are gone: give the keyboard back to the entry line.
    activateWindow();
    raise();
    m_entryLine->focusCall();
    return true;
}

void MainWindow::logEntry()
{
    m_entryLine->logEntry();
}

const QString& MainWindow::currentCall() const
{
    return m_entryLine->currentCall();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == this && handleMainKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::MouseMove && (watched == centralWidget() || watched->objectName() == QLatin1String("lowerAreas")))
        m_entryLine->showHoverText(QString());
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The columns follow the window's width (form size, taskbar fit, the operator's own resizing).
    m_contactList->fitColumns(width());
    if (m_spotArea) {
        m_spotArea->fitColumns(width());
        m_spotArea->fitHeight(height());
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (refuseCloseWhileSending()) {
        event->ignore();
        return;
    }
    closeRig();
    closeSpotting();
    m_session->backupLog();
    m_session->saveOperatingTime();
    event->accept();
}

} // namespace tenlog::station
