// The main window: layout, load sequence, displays and menus. The entry
// line's key handling and logging are in MainWindowEntry.cpp.
#include "log/ui/MainWindow.h"

#include "log/EntryRules.h"
#include "export/ui/AdifExport.h"
#include "export/ui/CabrilloDialog.h"
#include "export/ui/ListClipboard.h"
#include "export/ui/TessaryExport.h"
#include "log/MultTable.h"
#include "log/ui/ColourDialog.h"
#include "log/ui/EditContactDialog.h"
#include "log/ui/HelpWindow.h"
#include "log/ui/MultiplierGrid.h"
#include "voice/ui/VoiceNavigationDialog.h"
#include "log/ui/StationIdDialog.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/DurableFile.h"
#include "text/DateText.h"
#include "text/NumberText.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tenlog::log {

namespace {

const QString kFileErrorText = QStringLiteral(
    "Error opening file.  This error is annoying but probably correctable.  In all likelihood, a character "
    "such as a quote got into your data or one of your entries has an invalid date/time format.  Close this "
    "program and open log.txt in the program's working directory with a text editor such as notepad.  "
    "Inspect the data and fix any errors you see (remove any extra quotes and make sure your date and time "
    "entries are valid).");

// Contact-list columns with their widths on the 9600-twip reference width.
const std::pair<const char*, int> kListColumns[] = {
    {"Rec#", 550}, {"Call", 900}, {"Rec", 500}, {"Sec", 550}, {"Snt", 500},
    {"Date", 600}, {"Time", 600}, {"Mo", 500}, {"Country", 1300},
};

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text = {})
{
    auto* label = new QLabel(text, parent);
    if (!name.isEmpty())
        label->setObjectName(name);
    // Text from files and the operator is never read as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QString& tip = {})
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    button->setFocusPolicy(Qt::NoFocus); // the entry line keeps the keyboard
    return button;
}

QColor teal()
{
    return QColor(0, 192, 192);
}

} // namespace

QString mainWindowCaption()
{
    return QStringLiteral(TENLOG_CAPTION " " TENLOG_VERSION);
}

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent)
    , m_services(std::move(services))
    , m_log(LogFile::pathIn(m_services.folders.workingFolder))
    , m_voiceNav(m_services.navigationPlayer, m_services.folders.workingFolder,
                 [this] { return m_prefs.VoiceNavLevel; })
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(mainWindowCaption());
    buildMenus();
    buildAreas();

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(60000);
    connect(m_timer1, &QTimer::timeout, this, &MainWindow::TimeStats);
    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer2->setInterval(1000);
    connect(m_timer2, &QTimer::timeout, this, &MainWindow::updateClocks);
    // The hold after a duplicate ends on the clock; checking it often keeps
    // the window painting and the held keys in order.
    m_holdTimer = new QTimer(this);
    m_holdTimer->setInterval(50);
    connect(m_holdTimer, &QTimer::timeout, this, &MainWindow::releaseHeldKeys);

    // The window covers the whole screen; its areas are laid out to that size.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, const char* name, const QString& caption, bool enabled = true) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(enabled);
        return action;
    };

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    // Items whose work arrives with later parts of the program stay disabled.
    connect(add(file, "mnuNew", QStringLiteral("&New")), &QAction::triggered, this, [this] {
        StartNewLog();
        TimeStats();
    });
    add(file, "mnuopen", QStringLiteral("&Open"), false);
    connect(add(file, "mnuArchive", QStringLiteral("Archive Current &Log")), &QAction::triggered, this,
            &MainWindow::mnuArchive_Click);
    connect(add(file, "mnuRestore", QStringLiteral("&Restore from Archive or Backup")), &QAction::triggered, this,
            &MainWindow::mnuRestore_Click);
    connect(add(file, "mnuWriteSumm", QStringLiteral("&Write Cabrillo Summary Sheet")), &QAction::triggered, this,
            [this] {
                exports::runCabrillo(this, {m_log, m_prefs, m_services.dialogs, m_services.settings,
                                            m_services.sharedPreferences, m_services.folders, windowTitle()});
            });
    connect(add(file, "mnuADIF", QStringLiteral("Export &ADIF")), &QAction::triggered, this, [this] {
        exports::runAdifExport({m_services.dialogs, m_services.clock, m_services.folders, m_log.records(),
                                windowTitle()});
    });
    // Created switched off and never switched on, as the general-logger
    // export is superseded by ADIF; its handler is complete.
    QAction* tessary = add(file, "mnuTessaryImport", QStringLiteral("E&xport for Tessary Import"), false);
    connect(tessary, &QAction::triggered, this, [this] {
        exports::runTessaryExport(m_services.dialogs, m_services.folders.workingFolder, m_log.records());
    });
    connect(add(file, "mnuCopyListtoClipboard", QStringLiteral("&Copy Listed Items to Clipboard")),
            &QAction::triggered, this, [this] { exports::copyListedItemsToClipboard(*m_listView1); });
    file->addSeparator();
    connect(add(file, "mnuExit", QStringLiteral("&Exit")), &QAction::triggered, this, &MainWindow::mnuExit_Click);

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    QMenu* appearance = options->addMenu(QStringLiteral("&Appearance"));
    appearance->setObjectName(QStringLiteral("mnuAppearance"));
    connect(add(appearance, "mnuFormSize", QStringLiteral("&Form Size")), &QAction::triggered, this,
            &MainWindow::mnuFormSize_Click);
    connect(add(appearance, "mnuColors", QStringLiteral("&Colors")), &QAction::triggered, this,
            &MainWindow::mnuColors_Click);
    m_mnuTaskbar = add(appearance, "mnuTaskbar", QStringLiteral("&Taskbar"));
    m_mnuTaskbar->setCheckable(true);
    connect(m_mnuTaskbar, &QAction::triggered, this, &MainWindow::mnuTaskbar_Click);
    QMenu* transmit = options->addMenu(QStringLiteral("&Transmit"));
    transmit->setObjectName(QStringLiteral("mnuTransmit"));
    add(transmit, "mnuCWSetup", QStringLiteral("&CW Setup"), false);
    add(transmit, "mnuVoiceSetup", QStringLiteral("&Voice Setup"), false);
    add(options, "mnuRigInterface", QStringLiteral("&Rig Interface"), false);
    QMenu* spotting = options->addMenu(QStringLiteral("&DX Spotting"));
    spotting->setObjectName(QStringLiteral("mnuDXSpotting"));
    add(spotting, "mnuConfigure", QStringLiteral("&Configure"), false);
    add(spotting, "mnuSpectrum", QStringLiteral("&View Spectrum Map"), false);
    m_mnuColorSpots = add(spotting, "mnuDXSpotsColor", QStringLiteral("C&olor Needed DX Spots Green"), false);
    m_mnuColorSpots->setCheckable(true);
    m_mnuAudioSpots = add(spotting, "mnuAudioAlert", QStringLiteral("&Audio Alert of Needed Spots"), false);
    m_mnuAudioSpots->setCheckable(true);
    connect(add(options, "mnuVoiceNav", QStringLiteral("&Voice Navigation")), &QAction::triggered, this,
            &MainWindow::mnuVoiceNav_Click);
    add(options, "mnuPrivileges", QStringLiteral("&Privileges"), false);
    m_mnuPostContest = add(options, "mnuPostContest", QStringLiteral("P&ost Contest Mode"));
    m_mnuPostContest->setCheckable(true);
    connect(m_mnuPostContest, &QAction::triggered, this, &MainWindow::mnuPostContest_Click);

    QAction* setup = bar->addAction(QStringLiteral("&Setup"));
    setup->setObjectName(QStringLiteral("mnuSetup"));
    connect(setup, &QAction::triggered, this, &MainWindow::mnuSetup_Click);

    QMenu* mode = bar->addMenu(QStringLiteral("&Mode"));
    mode->setObjectName(QStringLiteral("mnuMode"));
    m_mnuCW = add(mode, "mnuCW", QStringLiteral("&CW"));
    m_mnuCW->setCheckable(true);
    m_mnuPH = add(mode, "mnuPH", QStringLiteral("&PH"));
    m_mnuPH->setCheckable(true);
    connect(m_mnuCW, &QAction::triggered, this, [this] { setMode(QStringLiteral("CW")); });
    connect(m_mnuPH, &QAction::triggered, this, [this] { setMode(QStringLiteral("PH")); });

    QAction* graph = bar->addAction(QStringLiteral("&Graph"));
    graph->setObjectName(QStringLiteral("mnuGraph"));
    graph->setEnabled(false);

    QAction* help = bar->addAction(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    connect(help, &QAction::triggered, this, &MainWindow::mnuHelp_Click);
}

QLineEdit* MainWindow::makeEntryBox(const char* name, int maxLength)
{
    auto* box = new QLineEdit(centralWidget());
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxLength(maxLength);
    box->installEventFilter(this);
    QFont font = box->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    box->setFont(font);
    return box;
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

    // Station, mode and clocks.
    auto* top = new QHBoxLayout;
    m_label2Call = makeLabel(central, QStringLiteral("Label2"), QStringLiteral("CALL"));
    m_label4State = makeLabel(central, QStringLiteral("Label4"), QStringLiteral("SEC"));
    QFont big = m_label2Call->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    m_label2Call->setFont(big);
    m_label4State->setFont(big);
    top->addWidget(m_label2Call);
    top->addSpacing(12);
    top->addWidget(m_label4State);
    top->addSpacing(30);
    top->addWidget(makeLabel(central, {}, QStringLiteral("Mode:")));
    m_label30Mode = makeLabel(central, QStringLiteral("Label30"), QStringLiteral("CW"));
    m_label30Mode->setFont(big);
    m_label30Mode->setToolTip(QStringLiteral("Click to change modes."));
    m_label30Mode->installEventFilter(this);
    top->addWidget(m_label30Mode);
    top->addStretch(1);
    top->addWidget(makeLabel(central, {}, QStringLiteral("Local")));
    m_lblCurTime = makeLabel(central, QStringLiteral("lblCurTime"));
    m_label16AmPm = makeLabel(central, QStringLiteral("Label16"));
    top->addWidget(m_lblCurTime);
    top->addWidget(m_label16AmPm);
    top->addSpacing(16);
    top->addWidget(makeLabel(central, {}, QStringLiteral("UTC")));
    m_lblutctime = makeLabel(central, QStringLiteral("lblutctime"));
    top->addWidget(m_lblutctime);
    top->addSpacing(16);
    top->addWidget(makeLabel(central, {}, QStringLiteral("Tot Op Time:")));
    m_lblttrack = makeLabel(central, QStringLiteral("lblttrack"), QStringLiteral("00:00:00"));
    top->addWidget(m_lblttrack);
    page->addLayout(top);

    // The entry line under its headings, with the call information beside it.
    auto* entry = new QGridLayout;
    const QString headings[] = {QStringLiteral("Call"), QStringLiteral("RS(T) Rc"), QStringLiteral("Sec/Serial"),
                                QStringLiteral("RS(T) Sn"), QStringLiteral("Country")};
    m_txtCall = makeEntryBox("txtCall", 12);
    m_txtRSTR = makeEntryBox("txtRSTR", 3);
    m_txtSec = makeEntryBox("txtSec", 5);
    m_txtRSTS = makeEntryBox("txtRSTS", 3);
    m_txtCntry = makeEntryBox("txtCntry", 30);
    QLineEdit* boxes[] = {m_txtCall, m_txtRSTR, m_txtSec, m_txtRSTS, m_txtCntry};
    const int stretch[] = {4, 2, 2, 2, 6};
    for (int i = 0; i < 5; ++i) {
        entry->addWidget(makeLabel(central, {}, headings[i]), 0, i);
        entry->addWidget(boxes[i], 1, i);
        entry->setColumnStretch(i, stretch[i]);
    }
    setTabOrder(m_txtCall, m_txtRSTR);
    setTabOrder(m_txtRSTR, m_txtSec);
    setTabOrder(m_txtSec, m_txtRSTS);
    setTabOrder(m_txtRSTS, m_txtCntry);
    connect(m_txtCall, &QLineEdit::textChanged, this, &MainWindow::callChanged);
    connect(m_txtCntry, &QLineEdit::textChanged, this, &MainWindow::countryChanged);

    m_txtPostConDate = makeEntryBox("txtPostConDate", 10);
    m_txtPostConTime = makeEntryBox("txtPostConTime", 8);
    auto* dateLabel = makeLabel(central, QStringLiteral("lblPostConDate"), QStringLiteral("Date"));
    auto* timeLabel = makeLabel(central, QStringLiteral("lblPostConTime"), QStringLiteral("Time"));
    entry->addWidget(dateLabel, 0, 5);
    entry->addWidget(m_txtPostConDate, 1, 5);
    entry->addWidget(timeLabel, 0, 6);
    entry->addWidget(m_txtPostConTime, 1, 6);
    m_postContestWidgets = {dateLabel, timeLabel, m_txtPostConDate, m_txtPostConTime};
    for (QWidget* w : m_postContestWidgets)
        w->hide();

    auto* info = new QHBoxLayout;
    m_label3New = makeLabel(central, QStringLiteral("Label3"), QStringLiteral("New"));
    QPalette newPalette = m_label3New->palette();
    newPalette.setColor(QPalette::WindowText, Qt::red);
    m_label3New->setPalette(newPalette);
    m_label3New->setFont(big);
    m_label3New->hide();
    info->addWidget(m_label3New);
    info->addSpacing(10);
    info->addWidget(makeLabel(central, {}, QStringLiteral("Cont:")));
    m_label19Cont = makeLabel(central, QStringLiteral("Label19"));
    info->addWidget(m_label19Cont);
    info->addSpacing(10);
    info->addWidget(makeLabel(central, {}, QStringLiteral("Bearing:")));
    m_label22Bearing = makeLabel(central, QStringLiteral("Label22"));
    info->addWidget(m_label22Bearing);
    info->addSpacing(10);
    info->addWidget(makeLabel(central, {}, QStringLiteral("Miles:")));
    m_label23Miles = makeLabel(central, QStringLiteral("Label23"));
    info->addWidget(m_label23Miles);
    info->addStretch(1);
    entry->addLayout(info, 2, 0, 1, 5);
    page->addLayout(entry);

    // Message line, then the partial-dupe line under its heading.
    m_lblDialog = makeLabel(central, QStringLiteral("lblDialog"));
    m_lblDialog->setAutoFillBackground(true);
    m_lblDialog->setMinimumHeight(m_lblDialog->fontMetrics().height() * 2 + 6);
    m_lblDialog->setFont(big);
    m_lblDialog->setWordWrap(true);
    page->addWidget(m_lblDialog);
    page->addWidget(makeLabel(central, QStringLiteral("lblPossDup"), QStringLiteral("               Possible Duplicates")));
    m_lblDupe = makeLabel(central, QStringLiteral("lblDupe"));
    m_lblDupe->setAutoFillBackground(true);
    m_lblDupe->setWordWrap(true);
    m_lblDupe->setMinimumHeight(m_lblDupe->fontMetrics().height() * 3);
    page->addWidget(m_lblDupe);

    // Buttons.
    auto* buttons = new QHBoxLayout;
    m_cmdClear = makeButton(central, "cmdClear", QStringLiteral("&Clear"),
                            QStringLiteral("Click to clear entry fields or press ALT C"));
    connect(m_cmdClear, &QPushButton::clicked, this, &MainWindow::clearEntry);
    m_cmdList = makeButton(central, "cmdList", QStringLiteral("Last 20"));
    m_cmdList->setToolTip(QStringLiteral("List all or last 20 contacts (Listing all will slow the program)"));
    connect(m_cmdList, &QPushButton::clicked, this, &MainWindow::cmdList_Click);
    m_cmdDup = makeButton(central, "cmdDup", QStringLiteral("On"),
                          QStringLiteral("Displaying partial dupes slows the program on older pc's."));
    connect(m_cmdDup, &QPushButton::clicked, this, [this] {
        m_partialDupesOn = !m_partialDupesOn;
        m_cmdDup->setText(m_partialDupesOn ? QStringLiteral("On") : QStringLiteral("Off"));
        setDupeLine(QString());
        m_txtCall->setFocus();
    });
    m_cmdEdit = makeButton(central, "cmdEdit", QStringLiteral("Edit Contact"));
    m_cmdDelete = makeButton(central, "cmdDelete", QStringLiteral("Delete Contact"));
    m_cmdEdit->hide();
    m_cmdDelete->hide();
    connect(m_cmdEdit, &QPushButton::clicked, this, &MainWindow::cmdEdit_Click);
    connect(m_cmdDelete, &QPushButton::clicked, this, &MainWindow::cmdDelete_Click);
    m_cmdLogOn = makeButton(central, "cmdLogOn", QStringLiteral("&Log \"Time On\""),
                            QStringLiteral("Records On/Off times and controls duration clock."));
    connect(m_cmdLogOn, &QPushButton::clicked, this, [this] { LoggedOn() ? timeOff() : timeOn(); });
    for (QPushButton* b : {m_cmdClear, m_cmdList, m_cmdDup, m_cmdEdit, m_cmdDelete, m_cmdLogOn})
        buttons->addWidget(b);
    buttons->addStretch(1);
    page->addLayout(buttons);

    // The multiplier grid across the window, then the contact list beside
    // the score panel and the DX country list.
    page->addWidget(makeLabel(central, {}, QStringLiteral("Multipliers worked in current mode:")));
    m_grid = new MultiplierGrid(central);
    connect(m_grid, &MultiplierGrid::entryHovered, this, &MainWindow::gridHovered);
    connect(m_grid, &MultiplierGrid::entryClicked, this, &MainWindow::gridClicked);
    page->addWidget(m_grid);

    auto* lower = new QHBoxLayout;
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(makeLabel(central, {}, QStringLiteral("Recent Contacts")));
    m_listView1 = new QTreeWidget(central);
    m_listView1->setObjectName(QStringLiteral("ListView1"));
    m_listView1->setToolTip(QStringLiteral("Click record to edit or delete."));
    m_listView1->setRootIsDecorated(false);
    m_listView1->setFocusPolicy(Qt::NoFocus);
    QStringList columnNames;
    for (const auto& [name, width] : kListColumns)
        columnNames << QString::fromLatin1(name);
    m_listView1->setHeaderLabels(columnNames);
    m_listView1->header()->setSectionsClickable(true);
    // A header click sorts once, by text; the next refresh is newest first again.
    connect(m_listView1->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { m_listView1->sortItems(column, Qt::AscendingOrder); });
    connect(m_listView1, &QTreeWidget::itemClicked, this, &MainWindow::showListButtons);
    m_listView1->viewport()->installEventFilter(this);
    listColumn->addWidget(m_listView1);
    lower->addLayout(listColumn, 7);

    auto* side = new QVBoxLayout;
    side->addWidget(makeLabel(central, {}, QStringLiteral("Score Statistics")));
    auto* score = new QGridLayout;
    const std::pair<QString, QLabel**> scoreRows[] = {
        {QStringLiteral("Total Contacts ............"), &m_lblTotCon},
        {QStringLiteral("Total Multipliers ..........."), &m_lblsectogo},
        {QStringLiteral("Total QSO Points ........"), &m_lblTotSec},
        {QStringLiteral("Total Score.................."), &m_lblTotScore},
        {QStringLiteral("QSOs / Hr (last 20 min)"), &m_lblAQSO20},
        {QStringLiteral("QSOs / Hr (last 60 min)"), &m_lblAQSO60},
    };
    const char* scoreNames[] = {"lblTotCon", "lblsectogo", "lblTotSec", "lblTotScore", "lblAQSO20", "lblAQSO60"};
    for (int i = 0; i < 6; ++i) {
        score->addWidget(makeLabel(central, {}, scoreRows[i].first), i, 0);
        *scoreRows[i].second = makeLabel(central, QString::fromLatin1(scoreNames[i]), QStringLiteral("0"));
        score->addWidget(*scoreRows[i].second, i, 1);
    }
    side->addLayout(score);
    m_dxHeading = makeLabel(central, QStringLiteral("lblStation_5"), QStringLiteral("DX-CW 0"));
    side->addWidget(m_dxHeading);
    m_list1 = new QListWidget(central);
    m_list1->setObjectName(QStringLiteral("List1"));
    m_list1->setFocusPolicy(Qt::NoFocus);
    side->addWidget(m_list1, 1); // the DX list stretches down to the bottom line
    lower->addLayout(side, 3);
    page->addLayout(lower, 1);

    setMessage(QString());
}

bool MainWindow::runLoadSequence()
{
    m_label3New->hide();
    m_prefs.FormSizePercent = 100;
    setMessage(QStringLiteral("Select a mode from the menu bar and click Log \"Time On\" below!"));

    // Contact-list column widths follow the window's width.
    int column = 0;
    for (const auto& [name, width] : kListColumns)
        m_listView1->header()->resizeSection(column++, qRound(width * this->width() / 9600.0));
    m_partialDupesOn = true;

    QString error;
    const auto loaded = loadPrefs(m_services.folders.workingFolder, &error);
    if (!loaded) {
        loadError();
        return false;
    }
    m_prefs = *loaded;
    m_opTime = OperatingTime(m_prefs.SavedOpSeconds);
    m_mnuColorSpots->setChecked(m_prefs.NeededSpotsGreen == 1);
    m_mnuAudioSpots->setChecked(m_prefs.NeededSpotAudio == 1);
    CheckUtcOffset();
    if (m_prefs.FormSizePercent < 100) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            const QSize size(area.width() * m_prefs.FormSizePercent / 100,
                             area.height() * m_prefs.FormSizePercent / 100);
            setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
        }
    }
    setMode(m_prefs.CurrentMode == QLatin1String("PH") ? QStringLiteral("PH") : QStringLiteral("CW"));

    const auto prefixes = m_prefixes.loadFirstFound(
        {m_services.folders.sharedFolder, m_services.folders.userDataFolder, m_services.folders.workingFolder},
        &error);
    if (prefixes == geo::PrefixTable::LoadResult::Error) {
        loadError();
        return false;
    }

    mnuSetup_Click();

    const platform::Answer answer = m_services.dialogs.message(
        QStringLiteral("Open existing log?"),
        QStringLiteral("Do you want to continue an existing contest? (Yes opens your existing log, No erases any "
                       "existing log and starts a new log.)"),
        platform::MessageIcon::Question, platform::MessageButtons::YesNo);
    if (answer == platform::Answer::Yes) {
        if (!mnuopen2())
            return false;
    } else if (!StartNewLog()) {
        return false;
    }
    m_cmdEdit->hide();
    m_cmdDelete->hide();

    FitToWorkArea();
    m_timer1->start();
    m_timer2->start();
    updateClocks();
    m_loaded = true;
    // The modal questions are gone: give the keyboard back to the entry line.
    activateWindow();
    raise();
    m_txtCall->setFocus();
    return true;
}

void MainWindow::loadError()
{
    m_services.dialogs.message(QStringLiteral("Error opeining file"), QStringLiteral("Error opening file"),
                               platform::MessageIcon::Critical);
}

void MainWindow::fileError()
{
    m_services.dialogs.message(QStringLiteral("File Error"), kFileErrorText, platform::MessageIcon::Critical);
    if (m_services.endProgram)
        m_services.endProgram(1);
}

bool MainWindow::mnuopen2()
{
    if (const auto error = m_log.mnuopen2()) {
        fileError();
        return false;
    }
    refreshFromLog();
    return true;
}

void MainWindow::refreshFromLog()
{
    colourGrid();
    RefreshContactList();
    TimeStats();
    showDxList();
    Labeldisplay();
}

void MainWindow::colourGrid()
{
    const LogTally& t = m_log.tally();
    m_grid->colourAll(isCw(m_prefs.CurrentMode) ? t.cwMultHits : t.phMultHits, m_prefs.WorkedColor,
                      m_prefs.RemainingColor);
}

void MainWindow::showDxList()
{
    const QStringList& list = m_log.dxCountries(m_prefs.CurrentMode);
    m_list1->clear();
    m_list1->addItems(list);
    m_dxHeading->setText((isCw(m_prefs.CurrentMode) ? QStringLiteral("DX-CW ") : QStringLiteral("DX-PH "))
                         + QString::number(list.size()));
}

void MainWindow::Labeldisplay()
{
    const Score s = m_log.currentScore();
    m_lblTotCon->setText(QString::number(s.contacts));
    m_lblsectogo->setText(QString::number(s.multipliers));
    m_lblTotSec->setText(QString::number(s.points));
    m_lblTotScore->setText(QString::number(s.score));
}

void MainWindow::TimeStats()
{
    const auto rates = m_log.rates(utcFromLocal(m_services.clock.localNow(), m_prefs.UtcOffsetHours));
    if (!rates)
        return; // a record with an unreadable stamp leaves the rates as they were
    m_lblAQSO20->setText(QString::number(rates->last20));
    m_lblAQSO60->setText(QString::number(rates->last60));
}

void MainWindow::updateClocks()
{
    const QDateTime local = m_services.clock.localNow();
    const QDateTime utc = utcFromLocal(local, m_prefs.UtcOffsetHours);
    m_lblutctime->setText(text::formatDateTime(utc, QStringLiteral("hh:nn:ss")));
    const QString twelve = text::formatDateTime(local, QStringLiteral("h:nn:ss AMPM"));
    m_lblCurTime->setText(twelve.left(twelve.size() - 3));
    m_label16AmPm->setText(text::formatDateTime(local, QStringLiteral("AMPM")));
    if (LoggedOn())
        m_lblttrack->setText(formatOperatingTime(m_opTime.opSeconds(local)));
}

void MainWindow::setMode(const QString& mode)
{
    m_prefs.CurrentMode = mode;
    m_label30Mode->setText(mode);
    if (m_loaded) {
        SavePref();
        mnuopen2();
    }
    m_mnuCW->setChecked(isCw(mode));
    m_mnuPH->setChecked(!isCw(mode));
    const int length = reportLength(mode);
    m_txtRSTR->setMaxLength(length);
    m_txtRSTS->setMaxLength(length);
    if (!m_txtCall->text().isEmpty())
        updateNewFlag();
}

void MainWindow::ModeSelection(const QString& mode)
{
    if (mode.isEmpty() || mode == m_prefs.CurrentMode)
        return;
    if (mode == QLatin1String("PH") || mode == QLatin1String("CW"))
        setMode(mode);
}

void MainWindow::timeOn()
{
    m_opTime.timeOn(m_services.clock.localNow());
    m_cmdLogOn->setText(QStringLiteral("&Log \"Time Off\""));
    setMessage(QStringLiteral(" "));
    m_txtCall->setFocus();
}

void MainWindow::timeOff()
{
    const QDateTime local = m_services.clock.localNow();
    m_prefs.SavedOpSeconds = static_cast<float>(m_opTime.timeOff(local));
    m_cmdLogOn->setText(QStringLiteral("&Log \"Time On\""));
    const QDateTime utc = utcFromLocal(local, m_prefs.UtcOffsetHours);
    setMessage(QStringLiteral("Logged Off at ") + QLocale::system().toString(utc.date(), QLocale::ShortFormat)
               + QLatin1Char(' ') + text::formatDateTime(utc, QStringLiteral("hh:mm:ss")));
    SavePref();
    m_txtCall->setFocus();
}

// Keeps the running total in the preferences (on "&Exit" and when the window ends).
void MainWindow::saveOperatingTime()
{
    if (!LoggedOn())
        return;
    m_prefs.SavedOpSeconds = static_cast<float>(m_opTime.timeOff(m_services.clock.localNow()));
    SavePref();
}

void MainWindow::CheckUtcOffset()
{
    const QDateTime local = m_services.clock.localNow();
    const QDateTime utc = m_services.clock.utcNow();
    const double recommended = recommendedUtcOffset(local, utc);
    if (static_cast<double>(m_prefs.UtcOffsetHours) == recommended
        || text::roundHalfEven(m_prefs.UtcOffsetHours, 2) == recommended)
        return;
    const auto answer = m_services.dialogs.inputBox(
        QStringLiteral("Update the Local Time / UTC Offset?"),
        utcOffsetPrompt(local, utc, m_prefs.UtcOffsetHours, recommended), text::plainNumber(recommended));
    if (!answer || !text::isNumeric(*answer))
        return; // the remembered offset stays and nothing is saved
    m_prefs.UtcOffsetHours = static_cast<float>(text::val(*answer));
    SavePref();
}

void MainWindow::SavePref()
{
    QString error;
    if (!savePrefs(m_services.folders.workingFolder, m_prefs, &error))
        m_services.dialogs.message(QStringLiteral("Settings Not Saved"),
                                   QStringLiteral("tnpref.txt could not be written: ") + error,
                                   platform::MessageIcon::Warning);
}

void MainWindow::mnuSetup_Click()
{
    StationIdDialog dialog(m_prefs, m_prefixes, m_services.dialogs, m_services.sharedPreferences, this);
    m_services.dialogs.runModal(&dialog);
    m_prefs = dialog.applyTo(m_prefs);
    m_label2Call->setText(m_prefs.OwnCall);
    m_label4State->setText(m_prefs.OwnState);
    SavePref();
}

void MainWindow::gridHovered(int index)
{
    const MultEntry& entry = multEntry(index);
    const ContestLog::MultCount count = m_log.multiplierCount(QString::fromLatin1(entry.Abbrev));
    m_lblDupe->setText(QStringLiteral("  ") + QString::fromLatin1(entry.Name) + QStringLiteral("    Total =")
                       + QString::number(count.cw + count.phone) + QStringLiteral("\n   CW =")
                       + QString::number(count.cw) + QStringLiteral("  PH =") + QString::number(count.phone));
}

void MainWindow::gridClicked(int index)
{
    // Spots of this multiplier are offered once spotting is running; the
    // exchange box takes the abbreviation now.
    m_txtSec->setText(QString::fromLatin1(multEntry(index).Abbrev));
}

void MainWindow::mnuColors_Click()
{
    ColourDialog dialog(m_prefs.WorkedColor, m_prefs.RemainingColor, m_services.dialogs, this);
    m_services.dialogs.runModal(&dialog);
    m_prefs.WorkedColor = dialog.worked();
    m_prefs.RemainingColor = dialog.remaining();
    SavePref();
    mnuopen2();
}

void MainWindow::mnuFormSize_Click()
{
    const auto answer = m_services.dialogs.inputBox(
        QStringLiteral("Please enter screen percentage."),
        QStringLiteral("Enter the % of the screen you would like the form to cover.  Try between 90 and 100 for "
                       "best results.  Values below 75 do not display well."),
        QString::number(m_prefs.FormSizePercent));
    const auto percent = formSizeFromAnswer(answer);
    if (!percent) {
        m_services.dialogs.message(QStringLiteral("Numeric Values Required"),
                                   QStringLiteral("Please enter only numeric values."));
        return;
    }
    m_prefs.FormSizePercent = *percent;
    m_services.dialogs.message(QStringLiteral("For this setting to take effect please restart this program."),
                               QStringLiteral("This program must be closed and restarted for this setting to take effect."));
    SavePref();
}

void MainWindow::mnuTaskbar_Click()
{
    if (m_prefs.FormSizePercent != 100) {
        m_mnuTaskbar->setChecked(m_prefs.TaskbarFit == 1);
        m_services.dialogs.message(QStringLiteral("Please set your form size to 100% to use this option."),
                                   QStringLiteral("The form size must be set to 100% to use the taskbar display option."));
        return;
    }
    m_prefs.TaskbarFit = m_prefs.TaskbarFit == 1 ? 0 : 1;
    SavePref();
    FitToWorkArea();
}

void MainWindow::FitToWorkArea()
{
    m_mnuTaskbar->setChecked(m_prefs.TaskbarFit == 1);
    if (m_prefs.FormSizePercent != 100)
        return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Without a taskbar the work area is the whole screen; the layouts rescale the areas.
    const QRect area = m_prefs.TaskbarFit == 1 ? screen->availableGeometry() : screen->geometry();
    setGeometry(QRect(QPoint(0, 0), area.size()));
}

void MainWindow::BandFreqConversion(float megahertz)
{
    m_pendingFreq = text::formatNumber(megahertz, QStringLiteral("#####.##0"));
}

void MainWindow::mnuHelp_Click()
{
    HelpWindow help(m_services.folders.workingFolder, this);
    m_services.dialogs.runModal(&help);
}

void MainWindow::mnuPostContest_Click()
{
    const bool on = !m_txtPostConTime->isVisible();
    for (QWidget* w : m_postContestWidgets)
        w->setVisible(on);
    m_mnuPostContest->setChecked(on);
}

void MainWindow::mnuVoiceNav_Click()
{
    voice::VoiceNavigationDialog settings(m_voiceNav, m_services.dialogs, this);
    if (m_services.dialogs.runModal(&settings) == QDialog::Accepted) {
        m_prefs.VoiceNavLevel = settings.chosenLevel();
        QDir::setCurrent(m_services.folders.workingFolder);
        SavePref();
    }
    m_txtCall->setFocus();
}

void MainWindow::mnuExit_Click()
{
    // The operating time is kept with the other preferences before leaving.
    saveOperatingTime();
    if (m_services.endProgram)
        m_services.endProgram(0);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    Backup();
    saveOperatingTime();
    event->accept();
}

void MainWindow::setMessage(const QString& text, bool red)
{
    setMessageRed(red);
    m_lblDialog->setText(text);
}

void MainWindow::setMessageRed(bool red)
{
    // Only a real change touches the palette: every key in the call box comes
    // through here, and a palette change restyles the label.
    const QColor wanted = red ? QColor(255, 0, 0) : teal();
    if (m_lblDialog->palette().color(QPalette::Window) == wanted)
        return;
    QPalette p = m_lblDialog->palette();
    p.setColor(QPalette::Window, wanted);
    m_lblDialog->setPalette(p);
}

void MainWindow::setDupeLine(const QString& text)
{
    const QColor wanted = text.isEmpty() ? palette().color(QPalette::Button) : teal();
    if (m_lblDupe->palette().color(QPalette::Window) != wanted) {
        QPalette p = m_lblDupe->palette();
        p.setColor(QPalette::Window, wanted);
        m_lblDupe->setPalette(p);
    }
    m_lblDupe->setText(text);
}

} // namespace tenlog::log
