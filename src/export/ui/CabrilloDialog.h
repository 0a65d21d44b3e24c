// The summary-sheet dialog (Form2), "Summary Sheet Information": the
// operator's name, address, e-mail, section, club, soapbox, operators and the
// three category choices, and the file format (Cabrillo 2.0 or 3.0). "Write Cabrillo Log File" (Command4) asks where to
// save, writes the Cabrillo file (format in export/Cabrillo.h) in one piece,
// confirms it and remembers the address details in the settings store and
// the shared preferences document (the format in the settings store only);
// "Done" (Command3) closes the dialog.
#pragma once

#include "export/Cabrillo.h"

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tenlog::common {
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
    common::SharedPreferences& sharedPreferences;
    const common::AppFolders& folders;
    // Written on the "CREATED-BY: " line.
    QString caption = QStringLiteral(TENLOG_CAPTION " " TENLOG_VERSION);
};

// "&Write Cabrillo Summary Sheet": shows the summary-sheet dialog modally through
// Dialogs::runModal and unloads it when it is closed.
void runCabrillo(QWidget* parent, const CabrilloContext& context);

class CabrilloDialog : public QDialog {
    Q_OBJECT
public:
    explicit CabrilloDialog(const CabrilloContext& context, QWidget* parent = nullptr);

    // The boxes and choices as they stand.
    CabrilloDetails details() const;

    // "Write Cabrillo Log File" (Command4).
    void writeCabrilloFile();
    // "Done" (Command3).
    void closeDialog();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void fillRememberedDetails();
    void rememberDetails(const CabrilloDetails& typed);

    CabrilloContext m_context;

    QLineEdit* m_nameBox = nullptr;
    QLineEdit* m_address1Box = nullptr;
    QLineEdit* m_address2Box = nullptr;
    QLineEdit* m_emailBox = nullptr;
    QLineEdit* m_sectionBox = nullptr;
    QLineEdit* m_clubBox = nullptr;
    QPlainTextEdit* m_soapboxText = nullptr;
    QLineEdit* m_operatorsBox = nullptr;
    QRadioButton* m_powerHigh = nullptr;
    QRadioButton* m_powerLow = nullptr;
    QRadioButton* m_powerQrp = nullptr;
    QRadioButton* m_operatorSingle = nullptr;
    QRadioButton* m_operatorMultiple = nullptr;
    QRadioButton* m_modeMixed = nullptr;
    QRadioButton* m_modePhone = nullptr;
    QRadioButton* m_modeCw = nullptr;
    QRadioButton* m_formatV2 = nullptr;
    QRadioButton* m_formatV3 = nullptr;
    QPushButton* m_writeButton = nullptr;
    QPushButton* m_doneButton = nullptr;
};

} // namespace tenlog::exports
