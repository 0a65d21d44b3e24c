// The rig interface setup window: the radio, the serial port options (or,
// for Hamlib's rigctld, the daemon to poll or the Hamlib radio to start one
// for), the polling rate, the two request strings and the switches,
// "Test" and "End Test", and the live display of what the radio answers.
// It is created once and then only hidden, so polling goes on while it is
// out of sight; closing it from its title bar ends the link.
#pragma once

#include "rig/RigLink.h"
#include "rig/RigSettings.h"

#include <QDialog>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace tenlog::common {
struct PortDevices;
}

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::rig {

class HamlibRadioFrame;
class RigControl;

class RigSetupWindow : public QDialog {
    Q_OBJECT
public:
    // Without portDevices no device is shown beside the port choice.
    RigSetupWindow(RigControl& rig, platform::Dialogs& dialogs, common::PortDevices* portDevices,
                   QWidget* parent = nullptr);

    // Reads RigCntrl.txt and shows what it holds; the list's profile is not
    // applied while doing so.
    void loadSettings();
    // "Test": takes the settings from the controls and starts polling; a
    // port that cannot be opened is said in this window when it is shown.
    void startPolling();
    // The start at program load: a link that cannot be opened is tried
    // again by itself, and said on the main window.
    void startPollingAtLoad();
    // "End Test".
    void stopPolling();
    // At program exit: the radio is told the link ends, polling stops.
    void closeLink();

signals:
    // "&Done" chose this radio; the main window keeps it in its preferences.
    void rigChosen(const QString& rigName);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QGroupBox* addOptions(const char* frameName, const QString& caption, QButtonGroup*& group,
                          const QList<std::pair<const char*, QString>>& options, int columns = 1);
    void chooseRig(int row);
    void chooseModeBy(int id);
    void showSettings();
    RigSettings settingsFromControls() const;
    void showProfileControls();
    void saveAndHide();
    void copyRawText();
    void openCommandTester();
    void showRaw(const QByteArray& bytes);
    void showReading(float frequencyMHz, const QString& mode);
    void startPollingWith(StartMode mode);
    void openFailed(const QString& reason);
    bool usesRigctld() const;
    // False, and the reason said, when the rigctld choice cannot be tried.
    bool rigctldChoiceReady();
    void pollingStopped();

    RigControl& m_rig;
    platform::Dialogs& m_dialogs;
    common::PortDevices* m_portDevices;
    bool m_loading = false;

    QListWidget* m_rigList = nullptr;
    QButtonGroup* m_baud = nullptr;
    QButtonGroup* m_parity = nullptr;
    QButtonGroup* m_dataBits = nullptr;
    QButtonGroup* m_stopBits = nullptr;
    QButtonGroup* m_port = nullptr;
    QButtonGroup* m_power = nullptr;
    QButtonGroup* m_pollRate = nullptr;
    QButtonGroup* m_modeBy = nullptr;
    // The serial options, or the rigctld choice, as the radio needs.
    QStackedWidget* m_linkPages = nullptr;
    HamlibRadioFrame* m_hamlibFrame = nullptr;
    QLineEdit* m_frequencyQuery = nullptr;
    QLineEdit* m_modeQuery = nullptr;
    QCheckBox* m_convertToHex = nullptr;
    QCheckBox* m_convertFromHex = nullptr;
    QCheckBox* m_useFrequency = nullptr;
    QPushButton* m_testButton = nullptr;
    QPushButton* m_endTestButton = nullptr;
    QPushButton* m_changeFrequencyButton = nullptr;
    QPushButton* m_copyButton = nullptr;
    QPushButton* m_doneButton = nullptr;
    QLabel* m_frequencyLabel = nullptr;
    QLabel* m_modeLabel = nullptr;
    QLabel* m_rawLabel = nullptr;
    QLabel* m_pollingLabel = nullptr;
    QLabel* m_icomNote = nullptr;
};

} // namespace tenlog::rig
