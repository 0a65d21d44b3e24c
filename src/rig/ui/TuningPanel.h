// The tuning panel: type a frequency in MHz and go, jump to a band, step up
// or down, set the mode, or scan between two frequencies. Every action ends
// in the radio link's frequency and mode commands; nothing here talks to a
// port. A scan step waits for the previous command to finish, so the window
// never blocks; any key, Esc or closing the window stops the scan. The
// panel opens on the frequency the radio reports; Up/Down and PgUp/PgDn in
// the frequency box step it by the chosen scan step. What keeps a command
// from the radio is said on the panel's own message line.
#pragma once

#include <QDialog>
#include <QTimer>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::rig {

class RigControl;

class TuningPanel : public QDialog {
    Q_OBJECT
public:
    TuningPanel(RigControl& rig, platform::Dialogs& dialogs, QWidget* parent = nullptr);

    // "&Go": sends the radio to the frequency box, when it holds a number.
    void go();
    // One scan tick; the timer calls it, tests may too.
    void scanTick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void buildControls();
    void chooseBand(int index);
    void step(int index);
    void setMode(const QString& mode);
    void frequencyEdited(const QString& text);
    void scanSwitched(bool on);
    bool frequencyBoxKey(QObject* watched, QKeyEvent* key);
    // Up, Down, PgUp, PgDn in the frequency box; false for other keys.
    bool stepByKey(int key);
    void say(const QString& message);

    RigControl& m_rig;
    QLineEdit* m_frequency = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QPushButton* m_go = nullptr;
    QPushButton* m_done = nullptr;
    QLabel* m_message = nullptr;
    QList<QPushButton*> m_stepButtons;
    QCheckBox* m_scan = nullptr;
    QButtonGroup* m_scanSteps = nullptr;
    QTimer m_scanTimer;
};

} // namespace tenlog::rig
