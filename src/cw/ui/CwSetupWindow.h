// The CW setup window ("CW String Selections"): the eleven messages, speed,
// word space, the keying output and its port, the timing method with the
// loop calibration, the repeat pause, and Done / Test. It is made once and
// then only hidden; every change goes to the CW station at once, so it takes
// effect at the next character. Done writes CW.txt and the timing choice.
#pragma once

#include "cw/CwSettings.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tenlog::common {
struct PortDevices;
}

namespace tenlog::platform {
class Dialogs;
class KeyingClock;
class SettingsStore;
}

namespace tenlog::cw {

class CwKeyer;
class CwStation;
class LoopCalibration;

class CwSetupWindow : public QDialog {
    Q_OBJECT
public:
    CwSetupWindow(CwStation& station, CwKeyer& keyer, platform::KeyingClock& clock, platform::Dialogs& dialogs,
                  platform::SettingsStore& store, QString workingFolder, common::PortDevices* portDevices,
                  QWidget* parent = nullptr);

    // Shows the station's settings and the stored timing choice.
    void showSettings();
    // "Done": saves and hides. False when CW.txt could not be written (said).
    bool finish();
    // "&Test": sends the F9 message.
    void sendTest();

signals:
    // Done with a keying output chosen: the CW Strings window comes up.
    void doneWithOutput();
    // "Configure Winkey" and "Send Code Practice".
    void winKeySetupRequested();
    void codePracticeRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void pushSettings();
    void timingChosen();
    void adjustLoop(double factor);
    void stepSpace(int step);
    void stepSpeed(int step);
    void portLeft();

    CwStation& m_station;
    CwKeyer& m_keyer;
    platform::Dialogs& m_dialogs;
    platform::SettingsStore& m_store;
    QString m_folder;
    common::PortDevices* m_portDevices;
    bool m_showing = false;

    std::array<QLineEdit*, 11> m_messages {};
    QLineEdit* m_port = nullptr;
    QLineEdit* m_wpm = nullptr;
    QLineEdit* m_space = nullptr;
    QLineEdit* m_parallel = nullptr;
    QLineEdit* m_repeat = nullptr;
    QLineEdit* m_loops = nullptr;
    QLabel* m_loopLabel = nullptr;
    QLabel* m_sending = nullptr;
    QPushButton* m_loopFaster = nullptr;
    QPushButton* m_loopSlower = nullptr;
    QPushButton* m_done = nullptr;
    QPushButton* m_configureWinKey = nullptr;
    std::array<QRadioButton*, 5> m_outputs {}; // None, RTS, DTR, Printer, WinKey
    QRadioButton* m_timer = nullptr;
    QRadioButton* m_loop = nullptr;
    QRadioButton* m_sleep = nullptr;
    QCheckBox* m_display = nullptr;
    LoopCalibration* m_calibration = nullptr;
};

} // namespace tenlog::cw
