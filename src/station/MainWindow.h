// The main window: it composes the areas (station and mode, clocks, entry
// line, call information, multiplier grid, contact list, score panel, DX
// country list) over one contest session, keeps the layout and the menus,
// and routes keys between the areas. The areas read the session and react to
// its signals; the menu commands are in MainWindowCommands.cpp.
#pragma once

#include "common/AppFolders.h"
#include "common/SharedPreferences.h"
#include "cw/KeyMap.h"
#include "log/ContestSession.h"
#include "voice/VoiceNavigation.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QKeyEvent;
class QScrollArea;

namespace tenlog::platform {
class AudioPlayer;
class Clock;
class Dialogs;
class SettingsStore;
}

namespace tenlog::common {
struct PortDevices;
}

namespace tenlog::rig {
class RigControl;
class RigSetupWindow;
}

namespace tenlog::spots {
class DxSpotting;
class NeededSpotAlerts;
class SpectrumMapWindow;
class SpottingWindow;
struct SpotTransports;
}

namespace tenlog::platform {
class KeyingClock;
}

namespace tenlog::cw {
class CwKeyer;
class CwSetupWindow;
class CwStation;
class CwStringsWindow;
class WinKeySetupWindow;
class WinKeyStation;
}

namespace tenlog::voice {
class VoiceKeyer;
class VoiceKeyerWindow;
}

namespace tenlog::station {

class CallInfoArea;
class ClockArea;
class ContactListArea;
class DxCountryList;
class EntryLineArea;
class LinkStatusArea;
class MainMenus;
class MultiplierGrid;
class ScorePanel;
class SpotArea;
class StationArea;

// The CW and voice keyers, made at start-up with their ports.
struct KeyerServices {
    cw::CwKeyer& keyer;
    cw::CwStation& cw;
    voice::VoiceKeyer& voice;
    platform::KeyingClock& keyingClock;
    cw::WinKeyStation& winKey;
};

// What the main window needs from the rest of the program, handed in by the
// start-up sequence.
struct MainWindowServices {
    platform::Clock& clock;
    platform::Dialogs& dialogs;
    platform::SettingsStore& settings;
    common::AppFolders folders;
    common::SharedPreferences& sharedPreferences;
    // Plays the navigation prompts (a player of its own, apart from the voice keyer's).
    platform::AudioPlayer& navigationPlayer;
    // Ends the program with an exit code ("&Exit", or a log that cannot be read).
    std::function<void(int)> endProgram;
    // The radio link; without one the rig interface stays unavailable.
    rig::RigControl* rigControl = nullptr;
    // Where DX spots come from; without them spotting stays unavailable.
    spots::SpotTransports* spotTransports = nullptr;
    // The keyers; without them CW and voice sending stay unavailable.
    KeyerServices* keyers = nullptr;
    // The port mapping and the devices present, for the device shown and
    // chosen beside each serial port choice; without them none is shown.
    common::PortDevices* portDevices = nullptr;
};

QString mainWindowCaption();

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The load sequence, run once the window is shown. Returns false when a
    // step failed (its message was shown and the rest was skipped).
    bool runLoadSequence();

    log::ContestSession& session() { return *m_session; }
    const log::ContestSession& session() const { return *m_session; }
    // Enter on the entry line: checks and logs it (also for a CW message's "!").
    void logEntry();
    // The call being typed (a CW message's "$").
    const QString& currentCall() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildAreas();
    void connectAreas();
    void connectMenus();
    void showMode(const QString& mode);
    void colourGrid();

    // Menu commands (MainWindowCommands.cpp).
    void newLog();
    void openStationSetup();
    void chooseColours();
    void chooseFormSize();
    void toggleTaskbarFit();
    void fitToWorkArea();
    void openVoiceNavigation();
    void togglePostContest();
    void showHelp();
    // "&Graph": the rate over the whole log.
    void openRateGraph();
    void writeCabrillo();
    void exportAdif();
    void exitProgram();

    // The radio (MainWindowRig.cpp): the log follows its frequency and mode.
    void connectRig();
    rig::RigSetupWindow& rigWindow();
    void openRigInterface();
    void startRigAtLoad();
    // Ctrl+G: the tuning panel, while a radio link exists.
    void openTuningPanel();
    // "&Privileges" (Ctrl+F): the privileges chart from BandPlan.txt.
    void openPrivileges();
    void closeRig();

    // DX spots (MainWindowSpots.cpp): the spotting window, the spot store
    // behind the multiplier grid, needed multipliers in green.
    void connectSpots();
    void openSpotting();
    void markNeededSpots();
    QString recentSpotText(int multiplier) const;
    void applySpotsOf(int multiplier);
    void closeSpotting();
    // The spot list, the band map and the spectrum map (MainWindowSpotMaps.cpp).
    void connectSpotMaps();
    // "&Done" in the spotting window: the spot area comes, switches or goes.
    void layOutSpotArea();
    void openSpectrumMap();
    // A band-map spot's right button: the radio goes there and its call
    // into the call box, on as Tab goes.
    void workBandMapSpot(int storeIndex);
    // A spectrum-map spot's right button: the same without the Tab.
    void takeSpectrumMapSpot(int storeIndex);
    void takeSpotListRow(const QString& call, const QString& frequencyText);
    void removeSpot(int storeIndex);
    // The keyers (MainWindowKeyers.cpp): the key map, the setup windows and
    // the CW station's status on the message line.
    void connectKeyers();
    bool handleMainKey(QKeyEvent* key);
    bool runKeyAction(const cw::KeyDecision& decision);
    cw::KeyState keyState() const;
    cw::CwSetupWindow& cwWindow();
    cw::CwStringsWindow& cwStringsWindow();
    voice::VoiceKeyerWindow& voiceWindow();
    void openCwSetup();
    void openCwStrings();
    void openVoiceKeyer(bool modal);
    // From the CW setup window: the WinKey setup (kept, shown modally) and
    // the code practice window (made for one use, modal).
    void openWinKeySetup();
    void openCodePractice();
    // A keyer problem: a beep, and the message line says it, unless the
    // operator is in that keyer's setup window, where a box may say it.
    void sayKeyerProblem(QWidget* setupWindow, const QString& title, const QString& text, const QString& lineText,
                         const QString& statusText);
    // A close request while CW goes out stops it and is refused this once.
    bool refuseCloseWhileSending();

    MainWindowServices m_services;
    log::ContestSession* m_session = nullptr;
    voice::VoiceNavigation m_voiceNav;

    MainMenus* m_menus = nullptr;
    StationArea* m_station = nullptr;
    LinkStatusArea* m_linkStatus = nullptr;
    ClockArea* m_clocks = nullptr;
    EntryLineArea* m_entryLine = nullptr;
    CallInfoArea* m_callInfo = nullptr;
    MultiplierGrid* m_grid = nullptr;
    ContactListArea* m_contactList = nullptr;
    ScorePanel* m_scorePanel = nullptr;
    DxCountryList* m_dxList = nullptr;
    SpotArea* m_spotArea = nullptr;
    QScrollArea* m_lowerScroll = nullptr;
    rig::RigSetupWindow* m_rigWindow = nullptr; // made on first use, then only hidden
    std::unique_ptr<spots::DxSpotting> m_spotting;
    std::unique_ptr<spots::NeededSpotAlerts> m_neededSpots;
    spots::SpottingWindow* m_spottingWindow = nullptr; // made on first use, then only hidden
    spots::SpectrumMapWindow* m_spectrumMap = nullptr;  // while it is open
    cw::KeyMap m_keyMap;
    cw::CwSetupWindow* m_cwWindow = nullptr;       // made on first use, then only hidden
    cw::CwStringsWindow* m_cwStrings = nullptr;
    voice::VoiceKeyerWindow* m_voiceWindow = nullptr;
    cw::WinKeySetupWindow* m_winKeyWindow = nullptr; // made on first use, then only hidden
};

} // namespace tenlog::station
