// Dialogs for tests: every question is recorded, and answers come from
// queues the test fills in advance. An unscripted message box is answered
// with its first button (Ok or Yes); an unscripted input box or chooser is
// cancelled; an unscripted modal window is closed at once as rejected
// (QDialog::Rejected is 0). Links with the domain library alone.
#pragma once

#include "platform/Dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>

namespace tenlog::testing {

struct RecordedMessage {
    QString title;
    QString text;
    platform::MessageIcon icon;
    platform::MessageButtons buttons;
};

class ScriptedDialogs final : public platform::Dialogs {
public:
    platform::Answer message(const QString& title, const QString& text, platform::MessageIcon icon,
                             platform::MessageButtons buttons) override;
    std::optional<QString> inputBox(const QString& title, const QString& prompt,
                                    const QString& defaultText) override;
    std::optional<QString> openFile(const platform::OpenRequest& request) override;
    std::optional<QString> saveFile(const platform::SaveRequest& request) override;
    std::optional<qint32> pickColour(qint32 initial) override;
    void beep() override { ++beeps; }
    int runModal(QDialog* window) override;

    // Scripts.
    std::deque<platform::Answer> messageAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<qint32>> colourAnswers;
    // Each modal window is handed to the next function, which may show it,
    // fill it in and must return the result code.
    std::deque<std::function<int(QDialog*)>> modalScripts;

    // Records.
    std::vector<RecordedMessage> messages;
    QStringList inputPrompts;
    QStringList inputDefaults; // the default text of each input box, in order
    std::vector<platform::SaveRequest> saveRequests;
    std::vector<platform::OpenRequest> openRequests;
    int modalRuns = 0;
    int beeps = 0;

    QStringList messageTitles() const;
};

} // namespace tenlog::testing
