// The voice navigation settings window (objectName "BlindFrm"): three options for the
// navigation level, each announced by a prompt when chosen, the folder the
// prompt files belong in, and "Done" (Command1), which accepts the window.
// The caller then stores chosenLevel() as VoiceNavLevel and saves the
// preferences; closing the window by its close box or Esc leaves the level
// as it was.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::voice {

class VoiceNavigation;

class VoiceNavigationDialog : public QDialog {
    Q_OBJECT
public:
    // Shows the current level of navigation selected; the first window of
    // a run (or the first prompt, whichever came first) announces it.
    VoiceNavigationDialog(VoiceNavigation& navigation, platform::Dialogs& dialogs, QWidget* parent = nullptr);

    // 0 "Off", 1 "Call Only", 2 "All Data Fields"; 0 when no option is selected.
    int chosenLevel() const;

private:
    VoiceNavigation& m_navigation;
    QRadioButton* m_levelOptions[3] = {};
    QLabel* m_folderLabel = nullptr;
    QPushButton* m_doneButton = nullptr;
};

} // namespace tenlog::voice
