// The summary-sheet dialog "Form2" ("Summary Sheet Information"): the
// operator's name, address, e-mail, section, club, soapbox, operators and the
// three category choices. "Write Cabrillo Log File" (Command4) asks where to
// save, writes the Cabrillo file (format in export/Cabrillo.h) in one piece,
// confirms it and remembers the address details in the settings store and
// the shared preferences document; "Done" (Command3) closes the dialog.
#pragma once

#include "export/Cabrillo.h"

#include <QDialog>

class QGroupBox;
class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tenlog::app {
struct AppFolders;
class SharedPreferences;
}
namespace tenlog::log {
class ContestLog;
struct Prefs;
}
namespace tenlog::platform {
class Dialogs;
class SettingsStore;
}

namespace tenlog::exports {

// Everything the dialog needs from the main window.
struct CabrilloContext {
    const log::ContestLog& contest;
    // The own call is trimmed of blanks in place before the file is written.
    log::Prefs& prefs;
    platform::Dialogs& dialogs;
    platform::SettingsStore& settings;
    app::SharedPreferences& sharedPreferences;
    const app::AppFolders& folders;
    // Written on the "CREATED-BY: " line.
    QString caption = QStringLiteral(TENLOG_CAPTION " " TENLOG_VERSION);
};

// "&Write Cabrillo Summary Sheet": shows Form2 modally through
// Dialogs::runModal and unloads it when it is closed.
void runCabrillo(QWidget* parent, const CabrilloContext& context);

class CabrilloDialog : public QDialog {
    Q_OBJECT
public:
    explicit CabrilloDialog(const CabrilloContext& context, QWidget* parent = nullptr);

    // The boxes and choices as they stand.
    CabrilloDetails details() const;

    void Command4_Click();
    void Command3_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildLayout();
    void Form_Load();
    void rememberDetails(const CabrilloDetails& typed);

    CabrilloContext m_context;

    QLineEdit* m_text5 = nullptr;  // name
    QLineEdit* m_text6 = nullptr;  // address line 1
    QLineEdit* m_text7 = nullptr;  // address line 2
    QLineEdit* m_text8 = nullptr;  // e-mail
    QLineEdit* m_text1 = nullptr;  // ARRL/RAC section
    QLineEdit* m_text10 = nullptr; // club
    QPlainTextEdit* m_text11 = nullptr; // soapbox
    QLineEdit* m_text2 = nullptr;  // operators
    QRadioButton* m_option18 = nullptr; // High
    QRadioButton* m_option19 = nullptr; // Low
    QRadioButton* m_option20 = nullptr; // QRP
    QRadioButton* m_option6 = nullptr;  // Single
    QRadioButton* m_option7 = nullptr;  // Multiple
    QRadioButton* m_option4 = nullptr;  // Mixed
    QRadioButton* m_option8 = nullptr;  // Phone only
    QRadioButton* m_option5 = nullptr;  // CW only
    QPushButton* m_command4 = nullptr;
    QPushButton* m_command3 = nullptr;
};

} // namespace tenlog::exports
