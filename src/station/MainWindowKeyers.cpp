// The main window's side of the CW and voice keyers: every key pressed in
// the window goes through the key map first; the map's answer opens a
// window, sends or plays a message, changes speed, toggles keyboard CW or
// stops what is on the air. The setup windows are made on first use and then
// only hidden. The CW station's "!" logs the entry line; its unsent text and
// the speed show on the message line.
#include "station/MainWindow.h"

#include "cw/CwKeyer.h"
#include "cw/CwStation.h"
#include "cw/ui/CwSetupWindow.h"
#include "cw/ui/CodePracticeWindow.h"
#include "cw/ui/CwStringsWindow.h"
#include "cw/ui/WinKeySetupWindow.h"
#include "station/EntryLineArea.h"
#include "station/LinkStatusArea.h"
#include "station/MainMenus.h"
#include "platform/Dialogs.h"
#include "voice/VoiceKeyer.h"
#include "voice/ui/VoiceKeyerWindow.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QRandomGenerator>

namespace tenlog::station {

// The main window is built over the log's session, records and rules.
using namespace tenlog::log;

namespace {

// The virtual key numbers the key map speaks: F1 = 112, Up 38, Down 40,
// letters their capitals.
int virtualKey(const QKeyEvent* key)
{
    const int k = key->key();
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12)
        return 112 + (k - Qt::Key_F1);
    if (k == Qt::Key_Up)
        return cw::KeyMap::keyUp;
    if (k == Qt::Key_Down)
        return cw::KeyMap::keyDown_;
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return k;
    return 0;
}

int characterCode(const QKeyEvent* key)
{
    switch (key->key()) {
    case Qt::Key_Escape: return cw::KeyMap::escape;
    case Qt::Key_Backspace: return cw::KeyMap::backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Tab: return 9;
    default: break;
    }
    const QString text = key->text();
    return text.size() == 1 ? text.at(0).unicode() : -1;
}

} // namespace

void MainWindow::connectKeyers()
{
    KeyerServices* keyers = m_services.keyers;
    m_menus->cwSetup->setEnabled(keyers != nullptr);
    m_menus->voiceSetup->setEnabled(keyers != nullptr);
    m_menus->cwStrings->setEnabled(keyers != nullptr);
    if (!keyers)
        return;
    qApp->installEventFilter(this);
    connect(m_menus->cwSetup, &QAction::triggered, this, &MainWindow::openCwSetup);
    connect(m_menus->cwStrings, &QAction::triggered, this, &MainWindow::openCwStrings);
    connect(m_menus->voiceSetup, &QAction::triggered, this, [this] { openVoiceKeyer(true); });
    cw::CwStation& station = keyers->cw;
    connect(&station, &cw::CwStation::logContactRequested, this, &MainWindow::logEntry);
    connect(&station, &cw::CwStation::unsentChanged, this, [this, &station](const QString& rest) {
        if (station.settings().showOnMainWindow)
            m_entryLine->showKeyerStatus(rest);
    });
    connect(&station, &cw::CwStation::sendingFinished, this, [this, &station] {
        if (station.settings().showOnMainWindow)
            m_entryLine->showKeyerStatus(station.keyboardCw() ? QStringLiteral("Keyboard CW Mode is on.  Press F12 to exit.")
                                                              : QString());
    });
    connect(&station, &cw::CwStation::keyingPortFailed, this,
            [this](const QString& title, const QString& text, const QString& detail) {
                sayKeyerProblem(m_cwWindow, title, detail.isEmpty() ? text : text + QStringLiteral("\n\n") + detail,
                                QStringLiteral("CW keying port: ") + (detail.isEmpty() ? text : detail),
                                QStringLiteral("CW: the keying port failed"));
            });
    connect(&station, &cw::CwStation::keyLineFailed, this, [this](const QString& reason) {
        sayKeyerProblem(m_cwWindow, QStringLiteral("CW keying"), reason, QStringLiteral("CW keying: ") + reason,
                        QStringLiteral("CW: keying failed"));
    });
    connect(&station, &cw::CwStation::winKeyProblem, this, [this](const QString& title, const QString& text) {
        sayKeyerProblem(m_winKeyWindow, title, text, QStringLiteral("WinKey: ") + text,
                        QStringLiteral("CW: the WinKey keyer is not answering"));
    });
    connect(&keyers->voice, &voice::VoiceKeyer::problem, this, [this](const QString& title, const QString& text) {
        sayKeyerProblem(m_voiceWindow, title, text, QStringLiteral("Voice keyer: ") + text,
                        title == QLatin1String("Voice message") ? QStringLiteral("Voice: the message cannot be played")
                                                                : QStringLiteral("Voice: the PTT line failed"));
    });
}

void MainWindow::sayKeyerProblem(QWidget* setupWindow, const QString& title, const QString& text,
                                 const QString& lineText, const QString& statusText)
{
    m_services.dialogs.beep();
    // It stays beside the mode until the next message is tried.
    m_linkStatus->showKeyer({common::LinkHealth::Trouble, statusText, text});
    // The operator testing in the keyer's own setup window reads it there.
    if (setupWindow && setupWindow->isActiveWindow()) {
        m_services.dialogs.message(title, text, platform::MessageIcon::Warning);
        return;
    }
    // Anywhere else the operator may be typing a call: a box would take the
    // keys, so the message line says it (and a screen reader reads it out).
    QString line = lineText;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_session->showMessage(line.simplified());
}

cw::KeyState MainWindow::keyState() const
{
    const KeyerServices& keyers = *m_services.keyers;
    cw::KeyState state;
    state.phoneMode = m_session->mode().compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0;
    state.cwMode = m_session->mode() == QLatin1String("CW");
    state.cwOutput = keyers.cw.hasOutput();
    state.keyboardCw = keyers.cw.keyboardCw();
    state.cwSending = keyers.cw.isSending();
    state.winKeyBusy = keyers.cw.winKeyBusy();
    state.unsentText = !keyers.keyer.unsent().isEmpty();
    state.voicePlaying = keyers.voice.isPlaying();
    return state;
}

bool MainWindow::handleMainKey(QKeyEvent* key)
{
    if (!m_services.keyers)
        return false;
    const bool ctrlOnly = (key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) == Qt::ControlModifier;
    const cw::KeyDecision down = m_keyMap.keyDown(virtualKey(key), ctrlOnly, keyState());
    if (down.stopRepeats) {
        m_services.keyers->cw.stopRepeat();
        m_services.keyers->voice.stopRepeat();
    }
    const int character = characterCode(key);
    if (down.consumed) {
        // The character of a consumed key (Ctrl+C types 3) still passes the
        // map, which discards it and so ends the Ctrl key's hold.
        if (character >= 0)
            m_keyMap.keyPress(character, keyState());
        runKeyAction(down);
        return true;
    }
    if (character < 0)
        return false;
    const cw::KeyDecision press = m_keyMap.keyPress(character, keyState());
    runKeyAction(press);
    return press.consumed;
}

bool MainWindow::runKeyAction(const cw::KeyDecision& decision)
{
    KeyerServices& keyers = *m_services.keyers;
    // A new try on the air: an earlier keyer trouble is said again if it recurs.
    if (decision.action == cw::KeyAction::SendCwMessage || decision.action == cw::KeyAction::SendTyped
        || decision.action == cw::KeyAction::PlayVoiceMessage)
        m_linkStatus->showKeyer({});
    switch (decision.action) {
    case cw::KeyAction::OpenCwSetup: openCwSetup(); break;
    case cw::KeyAction::OpenCwStrings: openCwStrings(); break;
    case cw::KeyAction::OpenVoiceKeyer: openVoiceKeyer(false); break;
    case cw::KeyAction::OpenRigControl:
        if (m_menus->rigInterface->isEnabled())
            m_menus->rigInterface->trigger();
        break;
    case cw::KeyAction::SpeedUp:
    case cw::KeyAction::SpeedDown:
        if (decision.action == cw::KeyAction::SpeedUp)
            keyers.cw.faster();
        else
            keyers.cw.slower();
        m_entryLine->showKeyerStatus(keyers.cw.speedText());
        break;
    case cw::KeyAction::SendCwMessage: keyers.cw.sendFunctionKey(decision.code); break;
    case cw::KeyAction::ToggleKeyboardCw:
        keyers.cw.setKeyboardCw(!keyers.cw.keyboardCw());
        m_entryLine->showKeyboardCw(keyers.cw.keyboardCw());
        break;
    case cw::KeyAction::PlayVoiceMessage: keyers.voice.playKey(decision.code); break;
    case cw::KeyAction::StopVoicePlayback: keyers.voice.stopPlayback(); break;
    case cw::KeyAction::StopCwSending: keyers.cw.stopSending(); break;
    case cw::KeyAction::TakeBackTyped: keyers.cw.takeBackTyped(); break;
    case cw::KeyAction::SendTyped: keyers.cw.sendTyped(QChar(decision.code)); break;
    // These keys are the window's menu shortcuts too; either way the same
    // command runs, and a command that is unavailable does nothing.
    case cw::KeyAction::OpenSpotting:
        if (m_menus->configureSpotting->isEnabled())
            m_menus->configureSpotting->trigger();
        break;
    case cw::KeyAction::OpenPrivileges: m_menus->privileges->trigger(); break;
    case cw::KeyAction::OpenRigTuning: m_menus->tuningPanel->trigger(); break;
    case cw::KeyAction::OpenSpectrumMap:
        if (m_menus->spectrumMap->isEnabled())
            m_menus->spectrumMap->trigger();
        break;
    case cw::KeyAction::ClearEntry: // the entry line clears itself on Esc
    case cw::KeyAction::None: return false;
    }
    return true;
}

cw::CwSetupWindow& MainWindow::cwWindow()
{
    if (!m_cwWindow) {
        KeyerServices& keyers = *m_services.keyers;
        m_cwWindow = new cw::CwSetupWindow(keyers.cw, keyers.keyer, keyers.keyingClock, m_services.dialogs,
                                           m_services.settings, m_services.folders.workingFolder,
                                           m_services.portDevices, this);
        m_cwWindow->showSettings();
        connect(m_cwWindow, &cw::CwSetupWindow::doneWithOutput, this, [this] {
            cwStringsWindow().showMinimized();
            activateWindow();
        });
        connect(m_cwWindow, &cw::CwSetupWindow::winKeySetupRequested, this, &MainWindow::openWinKeySetup);
        connect(m_cwWindow, &cw::CwSetupWindow::codePracticeRequested, this, &MainWindow::openCodePractice);
    }
    return *m_cwWindow;
}

cw::CwStringsWindow& MainWindow::cwStringsWindow()
{
    if (!m_cwStrings)
        m_cwStrings = new cw::CwStringsWindow(m_services.keyers->cw, [this](QKeyEvent* key) { return handleMainKey(key); }, this);
    return *m_cwStrings;
}

voice::VoiceKeyerWindow& MainWindow::voiceWindow()
{
    if (!m_voiceWindow) {
        m_voiceWindow = new voice::VoiceKeyerWindow(m_services.keyers->voice, m_services.dialogs,
                                                    m_services.folders.workingFolder, m_services.portDevices, this);
        m_voiceWindow->showSettings();
    }
    return *m_voiceWindow;
}

void MainWindow::openWinKeySetup()
{
    if (!m_winKeyWindow) {
        m_winKeyWindow = new cw::WinKeySetupWindow(m_services.keyers->winKey, m_services.dialogs, m_services.portDevices,
                                                   [this] { return m_session->prefs().OwnCall; },
                                                   m_cwWindow ? static_cast<QWidget*>(m_cwWindow) : this);
    }
    m_winKeyWindow->showSettings();
    m_services.dialogs.runModal(m_winKeyWindow);
}

void MainWindow::openCodePractice()
{
    cw::CodePracticeWindow window(m_services.keyers->cw, [] { return QRandomGenerator::global()->generateDouble(); },
                                  m_cwWindow ? static_cast<QWidget*>(m_cwWindow) : this);
    m_services.dialogs.runModal(&window);
}

void MainWindow::openCwSetup()
{
    cw::CwSetupWindow& window = cwWindow();
    window.showSettings();
    window.showNormal();
    window.raise();
    window.activateWindow();
}

void MainWindow::openCwStrings()
{
    cw::CwStringsWindow& window = cwStringsWindow();
    window.refresh();
    window.showNormal();
    window.raise();
    window.activateWindow();
}

void MainWindow::openVoiceKeyer(bool modal)
{
    voice::VoiceKeyerWindow& window = voiceWindow();
    window.showSettings();
    if (modal) {
        m_services.dialogs.runModal(&window);
        return;
    }
    window.showNormal();
    window.raise();
    window.activateWindow();
}

bool MainWindow::refuseCloseWhileSending()
{
    if (!m_services.keyers)
        return false;
    cw::CwStation& station = m_services.keyers->cw;
    const bool sending = station.isSending();
    station.stopSending();
    return sending;
}

} // namespace tenlog::station
