// Every modal question the program asks goes through Dialogs, so a test can
// answer in advance and read back what was asked. No window calls a Qt
// dialog class directly.
#pragma once

#include <QString>
#include <optional>

class QDialog;

namespace tenlog::platform {

enum class MessageIcon { None, Information, Warning, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct SaveRequest {
    QString title;
    QString filter;       // Qt filter text, e.g. "Log Files (*.txt);;All Files (*)"
    QString startFolder;
    QString proposedName; // file name offered in the box
    bool askOverwrite = true;
};

struct OpenRequest {
    QString title;
    QString filter;
    QString startFolder;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual Answer message(const QString& title, const QString& text,
                           MessageIcon icon = MessageIcon::None,
                           MessageButtons buttons = MessageButtons::Ok) = 0;
    // nullopt means the operator pressed Cancel (distinct from an empty answer).
    virtual std::optional<QString> inputBox(const QString& title, const QString& prompt,
                                            const QString& defaultText) = 0;
    // nullopt means the chooser was cancelled.
    virtual std::optional<QString> openFile(const OpenRequest& request) = 0;
    virtual std::optional<QString> saveFile(const SaveRequest& request) = 0;
    // Colours travel as long integers with red in the low byte.
    virtual std::optional<qint32> pickColour(qint32 initial) = 0;
    virtual void beep() = 0;
    // Shows the window modally and returns its result code (QDialog::Accepted/Rejected).
    virtual int runModal(QDialog* window) = 0;
};

} // namespace tenlog::platform
