// The main window's menu bar: every menu and item with its caption and
// name. Items whose capability is not built yet are present and disabled.
// The window connects the items to its commands. Every window key shows
// beside its item; a key the key map owns (it works in the windows that pass
// their keys on too) is only shown there, so it never fires twice.
#pragma once

#include <QObject>

class QAction;
class QMenuBar;

namespace tenlog::station {

class MainMenus : public QObject {
    Q_OBJECT
public:
    explicit MainMenus(QMenuBar* bar);

    QAction* newLog = nullptr;
    QAction* archiveLog = nullptr;
    QAction* restoreLog = nullptr;
    QAction* writeCabrillo = nullptr;
    QAction* exportAdif = nullptr;
    QAction* exportTessary = nullptr;
    QAction* copyList = nullptr;
    QAction* exit = nullptr;
    QAction* formSize = nullptr;
    QAction* colours = nullptr;
    QAction* taskbarFit = nullptr;
    QAction* configureSpotting = nullptr;
    QAction* spectrumMap = nullptr;
    QAction* colourNeededSpots = nullptr;
    QAction* audioNeededSpots = nullptr;
    QAction* rigInterface = nullptr;
    QAction* tuningPanel = nullptr;
    QAction* cwSetup = nullptr;
    QAction* cwStrings = nullptr;
    QAction* voiceSetup = nullptr;
    QAction* voiceNavigation = nullptr;
    QAction* privileges = nullptr;
    QAction* postContest = nullptr;
    QAction* stationSetup = nullptr;
    QAction* modeCw = nullptr;
    QAction* modePhone = nullptr;
    QAction* graph = nullptr;
    QAction* help = nullptr;
};

} // namespace tenlog::station
