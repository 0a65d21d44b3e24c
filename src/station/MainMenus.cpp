// The main window's menus.
#include "station/MainMenus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace tenlog::station {

namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& caption, bool enabled = true)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(enabled);
    return action;
}

QMenu* addMenu(QMenu* parent, QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = parent ? parent->addMenu(caption) : bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* addBarItem(QMenuBar* bar, const char* name, const QString& caption, bool enabled = true)
{
    QAction* action = bar->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(enabled);
    return action;
}

// Shows the key beside the item without making it a second shortcut: the
// main window's key map answers it, in this window and the others.
void showKeyOfKeyMap(QAction* action, const char* key)
{
    action->setShortcut(QKeySequence(QString::fromLatin1(key)));
    action->setShortcutContext(Qt::WidgetShortcut);
}

} // namespace

MainMenus::MainMenus(QMenuBar* bar)
    : QObject(bar)
{
    QMenu* file = addMenu(nullptr, bar, "mnuFile", QStringLiteral("&File"));
    newLog = addItem(file, "mnuNew", QStringLiteral("&New"));
    addItem(file, "mnuopen", QStringLiteral("&Open"), false);
    archiveLog = addItem(file, "mnuArchive", QStringLiteral("Archive Current &Log"));
    restoreLog = addItem(file, "mnuRestore", QStringLiteral("&Restore from Archive or Backup"));
    writeCabrillo = addItem(file, "mnuWriteSumm", QStringLiteral("&Write Cabrillo Summary Sheet"));
    exportAdif = addItem(file, "mnuADIF", QStringLiteral("Export &ADIF"));
    // Created switched off and never switched on, as the general-logger
    // export is superseded by ADIF; its handler is complete.
    exportTessary = addItem(file, "mnuTessaryImport", QStringLiteral("E&xport for Tessary Import"), false);
    copyList = addItem(file, "mnuCopyListtoClipboard", QStringLiteral("&Copy Listed Items to Clipboard"));
    file->addSeparator();
    exit = addItem(file, "mnuExit", QStringLiteral("&Exit"));

    QMenu* options = addMenu(nullptr, bar, "mnuOptions", QStringLiteral("&Options"));
    QMenu* appearance = addMenu(options, bar, "mnuAppearance", QStringLiteral("&Appearance"));
    formSize = addItem(appearance, "mnuFormSize", QStringLiteral("&Form Size"));
    colours = addItem(appearance, "mnuColors", QStringLiteral("&Colors"));
    taskbarFit = addItem(appearance, "mnuTaskbar", QStringLiteral("&Taskbar"));
    taskbarFit->setCheckable(true);
    QMenu* transmit = addMenu(options, bar, "mnuTransmit", QStringLiteral("&Transmit"));
    cwSetup = addItem(transmit, "mnuCWSetup", QStringLiteral("&CW Setup"), false);
    showKeyOfKeyMap(cwSetup, "Ctrl+S");
    cwStrings = addItem(transmit, "actCwStrings", QStringLiteral("CW &Strings"), false);
    cwStrings->setShortcut(QKeySequence(QStringLiteral("Ctrl+W")));
    voiceSetup = addItem(transmit, "mnuVoiceSetup", QStringLiteral("&Voice Setup"), false);
    // The menu opens the window modally, the key beside the log: the key map's.
    showKeyOfKeyMap(voiceSetup, "Ctrl+P");
    rigInterface = addItem(options, "mnuRigInterface", QStringLiteral("&Rig Interface"));
    rigInterface->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    tuningPanel = addItem(options, "actTuningPanel", QStringLiteral("Rig &Tuning Panel"), false);
    tuningPanel->setShortcut(QKeySequence(QStringLiteral("Ctrl+G")));
    QMenu* spotting = addMenu(options, bar, "mnuDXSpotting", QStringLiteral("&DX Spotting"));
    configureSpotting = addItem(spotting, "mnuConfigure", QStringLiteral("&Configure"));
    configureSpotting->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    spectrumMap = addItem(spotting, "mnuSpectrum", QStringLiteral("&View Spectrum Map"), false);
    spectrumMap->setShortcut(QKeySequence(QStringLiteral("Ctrl+B")));
    colourNeededSpots = addItem(spotting, "mnuDXSpotsColor", QStringLiteral("C&olor Needed DX Spots Green"));
    colourNeededSpots->setCheckable(true);
    audioNeededSpots = addItem(spotting, "mnuAudioAlert", QStringLiteral("&Audio Alert of Needed Spots"));
    audioNeededSpots->setCheckable(true);
    voiceNavigation = addItem(options, "mnuVoiceNav", QStringLiteral("&Voice Navigation"));
    privileges = addItem(options, "mnuPrivileges", QStringLiteral("&Privileges"));
    privileges->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    postContest = addItem(options, "mnuPostContest", QStringLiteral("P&ost Contest Mode"));
    postContest->setCheckable(true);

    stationSetup = addBarItem(bar, "mnuSetup", QStringLiteral("&Setup"));

    QMenu* mode = addMenu(nullptr, bar, "mnuMode", QStringLiteral("&Mode"));
    modeCw = addItem(mode, "mnuCW", QStringLiteral("&CW"));
    modeCw->setCheckable(true);
    modePhone = addItem(mode, "mnuPH", QStringLiteral("&PH"));
    modePhone->setCheckable(true);

    graph = addBarItem(bar, "mnuGraph", QStringLiteral("&Graph"));
    help = addBarItem(bar, "mnuHelp", QStringLiteral("&Help"));
}

} // namespace tenlog::station
