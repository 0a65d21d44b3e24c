// The voice keyer window ("Phone Wave Selections"): the WAV file of each of
// F1-F9 with its Browse button, the PTT port, line and parallel address, the
// F1 repeat pause, and Test, Stop and Done. Made once and then only hidden;
// changes go to the voice keyer at once, Done writes wave2.txt.
#pragma once

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tenlog::common {
struct PortDevices;
}

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::voice {

class VoiceKeyer;

class VoiceKeyerWindow : public QDialog {
    Q_OBJECT
public:
    // Without portDevices no device is shown beside the PTT port.
    VoiceKeyerWindow(VoiceKeyer& keyer, platform::Dialogs& dialogs, QString workingFolder,
                     common::PortDevices* portDevices, QWidget* parent = nullptr);

    void showSettings();
    void browse(int index);
    void test();
    bool finish();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pushSettings();

    VoiceKeyer& m_keyer;
    platform::Dialogs& m_dialogs;
    QString m_folder;
    bool m_showing = false;
    std::array<QLineEdit*, 9> m_files {};
    QLineEdit* m_port = nullptr;
    QLineEdit* m_parallel = nullptr;
    QLineEdit* m_repeat = nullptr;
    std::array<QRadioButton*, 3> m_lines {}; // RTS, DTR, Parallel
    QPushButton* m_stop = nullptr;
    QPushButton* m_done = nullptr;
};

} // namespace tenlog::voice
