// The command tester, opened from the rig setup window while the radio is
// polled: sends a command typed as text or as hexadecimal byte text straight
// to the radio's port, and tries the program's own frequency command on a
// typed frequency. The radio's answers show in the setup window's raw
// display, since polling goes on behind this window.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::rig {

class RigControl;

class CommandTester : public QDialog {
    Q_OBJECT
public:
    CommandTester(RigControl& rig, platform::Dialogs& dialogs, QWidget* parent = nullptr);

private:
    void sendCommand();
    void sendFrequency();

    RigControl& m_rig;
    QLineEdit* m_command = nullptr;
    QCheckBox* m_asHex = nullptr;
    QLineEdit* m_frequency = nullptr;
};

} // namespace tenlog::rig
