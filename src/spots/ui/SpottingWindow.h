// The DX spotting setup window (objectName "PacketSpotfrm"): the choice of
// source and its settings, a small terminal to talk to the source, "Open
// Port", "Close Port", "&Spot Last" and "&Done". It is created once, on first
// use, restores "PackSpot.txt" and opens the saved source at once; "&Done"
// saves and hides it while the source keeps running. The work is done by the
// SpotSession it is given; this window lays out the controls and passes the
// operator's choices on.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tenlog::common {
struct PortDevices;
}

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::spots {

class SpotPaths;
class SpotSession;
class SpotTerminal;
struct SpotSettings;

class SpottingWindow : public QDialog {
    Q_OBJECT
public:
    struct Hooks {
        // The call of the last contact logged; empty with an empty log.
        std::function<QString()> lastCall;
        // "&Done": save the preferences and lay out the main window's spot area.
        std::function<void()> done;
    };
    // Without portDevices no device is shown beside the TNC's port choice.
    SpottingWindow(SpotSession& session, SpotTerminal& terminal, SpotPaths& paths, platform::Dialogs& dialogs,
                   QString workingFolder, Hooks hooks, common::PortDevices* portDevices, QWidget* parent = nullptr);

    // "List" chosen for the main window (else the band map).
    bool listChosen() const;
    QString sourceWord() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildLayout();
    QGroupBox* optionGroup(const QString& objectName, const QString& caption, const QString& spoken,
                           const QStringList& names, const QStringList& captions, QButtonGroup*& group);
    void chooseSource(const QString& word);
    // Space or Enter on the source list: the highlighted source, unless it
    // is already the one in use.
    void chooseHighlightedSource();
    void enableControlsFor(const QString& word);
    void disableSourceControls();
    void openSource();
    void sendTypedLine();
    void commandCharacter();
    void spotLast();
    void done();
    void loadSettings();
    SpotSettings currentSettings() const;
    void showTerminal();

    SpotSession& m_session;
    SpotTerminal& m_terminal;
    // What the terminal view holds: the terminal's text up to this length,
    // at this revision; none before the first showing.
    std::optional<quint64> m_shownRevision;
    qsizetype m_shownLength = 0;
    SpotPaths& m_paths;
    platform::Dialogs& m_dialogs;
    common::PortDevices* m_portDevices;
    QString m_workingFolder;
    Hooks m_hooks;
    bool m_loading = false;
    // A mouse button is down on the source list: its click will choose.
    bool m_mouseOnSources = false;

    QListWidget* m_sources = nullptr;
    QLabel* m_hostLabel = nullptr;
    QLineEdit* m_host = nullptr;
    QLabel* m_portLabel = nullptr;
    QLineEdit* m_port = nullptr;
    QLabel* m_hexLabel = nullptr;
    QLineEdit* m_hex = nullptr;
    QGroupBox* m_display = nullptr;
    QRadioButton* m_bandMap = nullptr;
    QRadioButton* m_list = nullptr;
    QCheckBox* m_dxOnly = nullptr;
    QCheckBox* m_convertToHex = nullptr;
    QGroupBox* m_portFrame = nullptr;
    QGroupBox* m_baudFrame = nullptr;
    QGroupBox* m_parityFrame = nullptr;
    QGroupBox* m_dataFrame = nullptr;
    QGroupBox* m_stopFrame = nullptr;
    QGroupBox* m_powerFrame = nullptr;
    QGroupBox* m_handshakeFrame = nullptr;
    QButtonGroup* m_portGroup = nullptr;
    QButtonGroup* m_baudGroup = nullptr;
    QButtonGroup* m_parityGroup = nullptr;
    QButtonGroup* m_dataGroup = nullptr;
    QButtonGroup* m_stopGroup = nullptr;
    QButtonGroup* m_powerGroup = nullptr;
    QButtonGroup* m_handshakeGroup = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_spotLast = nullptr;
    QPushButton* m_done = nullptr;
    QLabel* m_sendPrompt = nullptr;
    QLineEdit* m_send = nullptr;
    QPlainTextEdit* m_terminalView = nullptr;
    QLabel* m_listening = nullptr;
};

} // namespace tenlog::spots
