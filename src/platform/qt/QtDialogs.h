// The real Dialogs: Qt's message boxes, input box, file choosers and colour
// picker, parented to the window that is active when they are asked for.
#pragma once

#include "platform/Dialogs.h"

namespace tenlog::platform {

class QtDialogs final : public Dialogs {
public:
    Answer message(const QString& title, const QString& text, MessageIcon icon,
                   MessageButtons buttons) override;
    std::optional<QString> inputBox(const QString& title, const QString& prompt,
                                    const QString& defaultText) override;
    std::optional<QString> openFile(const OpenRequest& request) override;
    std::optional<QString> saveFile(const SaveRequest& request) override;
    std::optional<qint32> pickColour(qint32 initial) override;
    void beep() override;
    int runModal(QDialog* window) override;
};

} // namespace tenlog::platform
