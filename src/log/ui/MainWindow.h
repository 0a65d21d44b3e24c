// The main window (Form1): the program's hub. It holds the entry line, the
// message and partial-dupe lines, the call information, the score panel, the
// multiplier grid, the DX country list, the contact list, the clocks and the
// menus. The rules it applies live in the log, geo and text modules; this
// class lays out the areas, turns key and mouse events into calls on them and
// shows their state.
#pragma once

#include "app/AppStartup.h"
#include "geo/PrefixTable.h"
#include "log/ContestLog.h"
#include "log/OperatingTime.h"
#include "log/Prefs.h"
#include "voice/VoiceNavigation.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace tenlog::platform {
class AudioPlayer;
class Clock;
class Dialogs;
class SettingsStore;
}

namespace tenlog::log {

class MultiplierGrid;

// What the main window needs from the rest of the program, handed in by the
// start-up sequence.
struct MainWindowServices {
    platform::Clock& clock;
    platform::Dialogs& dialogs;
    platform::SettingsStore& settings;
    app::AppFolders folders;
    app::SharedPreferences& sharedPreferences;
    // Plays the navigation prompts (a player of its own, apart from the voice keyer's).
    platform::AudioPlayer& navigationPlayer;
    // Ends the program with an exit code ("&Exit", or a log that cannot be read).
    std::function<void(int)> endProgram;
};

QString mainWindowCaption();

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);

    // The load sequence, run once the window is shown. Returns false when a
    // step failed (its message was shown and the rest was skipped).
    bool runLoadSequence();

    // Public routines other parts of the program call.
    void Mains();
    bool reload();
    void SavePref();
    void BandFreqConversion(float megahertz);
    void ModeSelection(const QString& mode);
    void mnuSetup_Click();
    // False when the log could not be read afterwards (the program ends).
    bool StartNewLog();
    void backupTo();

    const app::AppFolders& folders() const { return m_services.folders; }
    const ContestLog& contestLog() const { return m_log; }
    const Prefs& prefs() const { return m_prefs; }
    const geo::PrefixTable& prefixTable() const { return m_prefixes; }
    const QString& CurrentCall() const { return m_currentCall; }
    const QString& PendingFreq() const { return m_pendingFreq; }
    bool LoggedOn() const { return m_opTime.loggedOn(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Layout.
    void buildMenus();
    void buildAreas();
    QLineEdit* makeEntryBox(const char* name, int maxLength);

    // Entry line (MainWindowEntry.cpp).
    bool callKey(QKeyEvent* key);
    bool rstRcvdKey(QKeyEvent* key);
    bool secSerKey(QKeyEvent* key);
    bool rstSntKey(QKeyEvent* key);
    bool countryKey(QKeyEvent* key);
    void callChanged(const QString& text);
    void callLeft();
    void countryChanged();
    void lookupCall();
    void typeInto(QLineEdit* box, QChar key);
    void placeCarried(QLineEdit* box);
    bool checkEntryComplete();
    bool checkExchange();
    bool dupcheck();
    void clearEntry();
    void clearCallInfo();
    void setMessage(const QString& text, bool red = false);
    void setMessageRed(bool red);
    void setDupeLine(const QString& text);
    void PartialDupeCheck(QChar key);
    bool holdAfterDupe(QKeyEvent* key);
    void releaseHeldKeys();
    void updateNewFlag();

    // Displays.
    // Everything shown from the log: grid colours, list, rates, DX list, score.
    void refreshFromLog();
    void RefreshContactList();
    void Labeldisplay();
    void TimeStats();
    void showDxList();
    void colourGrid();
    void updateClocks();
    void setMode(const QString& mode);
    void timeOn();
    void timeOff();
    void CheckUtcOffset();
    void saveOperatingTime();
    void fileError();
    void loadError();

    // Grid, colours and the contact list.
    void gridHovered(int index);
    void gridClicked(int index);
    void mnuColors_Click();
    void showListButtons();
    void cmdList_Click();
    void cmdEdit_Click();
public:
    void cmdDelete_Click();
private:

    // Menus.
    void mnuFormSize_Click();
    void mnuTaskbar_Click();
    void FitToWorkArea();
    void mnuHelp_Click();
    void mnuVoiceNav_Click();
    void mnuArchive_Click();
    void mnuRestore_Click();
    void mnuPostContest_Click();
    bool postContestKey(QLineEdit* box, QKeyEvent* key);
    bool postContestChecks();
    void mnuExit_Click();

    MainWindowServices m_services;
    Prefs m_prefs;
    ContestLog m_log;
    geo::PrefixTable m_prefixes;
    voice::VoiceNavigation m_voiceNav;

    QString m_currentCall;
    QString m_pendingFreq;
    QChar m_carryKey;
    int m_carryTarget = 0; // 4 report received, 3 exchange, 1 report sent, 2 country
    OperatingTime m_opTime;
    bool m_dupeFlag = false;
    bool m_incompleteFlag = false;
    bool m_badSectionFlag = false;
    bool m_partialDupesOn = true;
    bool m_showAllContacts = false;
    bool m_loaded = false;

    // Entry line.
    QLineEdit* m_txtCall = nullptr;
    QLineEdit* m_txtRSTR = nullptr;
    QLineEdit* m_txtSec = nullptr;
    QLineEdit* m_txtRSTS = nullptr;
    QLineEdit* m_txtCntry = nullptr;
    QLineEdit* m_txtPostConDate = nullptr;
    QLineEdit* m_txtPostConTime = nullptr;
    // Lines and labels.
    QLabel* m_lblDialog = nullptr;
    QLabel* m_lblDupe = nullptr;
    QLabel* m_label3New = nullptr;
    QLabel* m_label19Cont = nullptr;
    QLabel* m_label22Bearing = nullptr;
    QLabel* m_label23Miles = nullptr;
    QLabel* m_label2Call = nullptr;
    QLabel* m_label4State = nullptr;
    QLabel* m_label30Mode = nullptr;
    QLabel* m_lblTotCon = nullptr;
    QLabel* m_lblsectogo = nullptr;
    QLabel* m_lblTotSec = nullptr;
    QLabel* m_lblTotScore = nullptr;
    QLabel* m_lblAQSO20 = nullptr;
    QLabel* m_lblAQSO60 = nullptr;
    QLabel* m_lblCurTime = nullptr;
    QLabel* m_label16AmPm = nullptr;
    QLabel* m_lblutctime = nullptr;
    QLabel* m_lblttrack = nullptr;
    QLabel* m_dxHeading = nullptr; // lblStation_5
    QListWidget* m_list1 = nullptr;
    QTreeWidget* m_listView1 = nullptr;
    MultiplierGrid* m_grid = nullptr;
    QPushButton* m_cmdClear = nullptr;
    QPushButton* m_cmdList = nullptr;
    QPushButton* m_cmdDup = nullptr;
    QPushButton* m_cmdEdit = nullptr;
    QPushButton* m_cmdDelete = nullptr;
    QPushButton* m_cmdLogOn = nullptr;
    // Menu items.
    QAction* m_mnuCW = nullptr;
    QAction* m_mnuPH = nullptr;
    QAction* m_mnuTaskbar = nullptr;
    QAction* m_mnuPostContest = nullptr;
    QList<QWidget*> m_postContestWidgets;
    QAction* m_mnuColorSpots = nullptr;
    QAction* m_mnuAudioSpots = nullptr;

    // Keys typed into the call box during the hold after a duplicate, in order.
    QList<std::pair<int, QString>> m_heldKeys;
    qint64 m_dupeTimeMs = 0;
    QTimer* m_holdTimer = nullptr;

    QTimer* m_timer1 = nullptr;
    QTimer* m_timer2 = nullptr;
};

} // namespace tenlog::log
