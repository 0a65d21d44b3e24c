// The WinKey setup window (" WinKey Setup"): the keyer's port, speed,
// weighting, PTT lead-in and tail, ratio, keyer mode and pin configuration,
// Open and Close with the keyer's status and version, the keyer's live
// status, speed pot and echoed text, Test, Buffer Test, Stop, a box that
// types straight to the keyer, and Done, which writes WK.txt. Every field is
// checked (and sent to an open keyer) when it is left. The rules are the
// WinKey station's; this window shows them.
#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tenlog::common {
struct PortDevices;
}

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::cw {

class WinKeyStation;

class WinKeySetupWindow : public QDialog {
    Q_OBJECT
public:
    WinKeySetupWindow(WinKeyStation& station, platform::Dialogs& dialogs, common::PortDevices* portDevices,
                      std::function<QString()> ownCall, QWidget* parent = nullptr);

    // Shows the station's settings and state as they stand.
    void showSettings();
    // "&Done": the fields kept, WK.txt written, the window hidden. False
    // when the file could not be written (said).
    bool finish();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void showLiveValues();
    void pushFields();

    WinKeyStation& m_station;
    platform::Dialogs& m_dialogs;
    common::PortDevices* m_portDevices;
    std::function<QString()> m_ownCall;
    bool m_showing = false;

    QLineEdit* m_port = nullptr;
    QLineEdit* m_wpm = nullptr;
    QLineEdit* m_weight = nullptr;
    QLineEdit* m_leadIn = nullptr;
    QLineEdit* m_tail = nullptr;
    QLineEdit* m_ratio = nullptr;
    QLineEdit* m_typing = nullptr;
    QLineEdit* m_keyerStatus = nullptr;
    QLineEdit* m_speedPot = nullptr;
    QLineEdit* m_echo = nullptr;
    QLabel* m_openStatus = nullptr;
    QLabel* m_version = nullptr;
    QPushButton* m_done = nullptr;
    std::array<QRadioButton*, 4> m_modes {};
    std::array<QRadioButton*, 4> m_pins {};
};

} // namespace tenlog::cw
