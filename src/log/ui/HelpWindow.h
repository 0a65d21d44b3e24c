// The help window (Form5): shows "readtm.txt" from the working folder.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace tenlog::log {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& workingFolder, QWidget* parent = nullptr);

private:
    QPlainTextEdit* m_helpText = nullptr;
};

} // namespace tenlog::log
