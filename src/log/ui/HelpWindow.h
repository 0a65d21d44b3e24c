// The help window (Form5): shows "readtm.txt" from the working folder.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::log {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    HelpWindow(const QString& workingFolder, platform::Dialogs& dialogs, QWidget* parent = nullptr);

private:
    QPlainTextEdit* m_helpText = nullptr;
};

} // namespace tenlog::log
