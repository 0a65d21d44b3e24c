// Dialogs for tests.
#include "ScriptedDialogs.h"

namespace tenlog::testing {

namespace {

template <typename T>
T takeFront(std::deque<T>& queue)
{
    if (queue.empty())
        return T{};
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

} // namespace

using platform::Answer;

Answer ScriptedDialogs::message(const QString& title, const QString& text, platform::MessageIcon icon,
                                platform::MessageButtons buttons)
{
    messages.push_back({title, text, icon, buttons});
    if (!messageAnswers.empty()) {
        const Answer a = messageAnswers.front();
        messageAnswers.pop_front();
        return a;
    }
    return buttons == platform::MessageButtons::YesNo || buttons == platform::MessageButtons::YesNoCancel
        ? Answer::Yes : Answer::Ok;
}

std::optional<QString> ScriptedDialogs::inputBox(const QString& title, const QString& prompt,
                                                 const QString& defaultText)
{
    inputPrompts << title + QStringLiteral(" | ") + prompt;
    inputDefaults << defaultText;
    return takeFront(inputAnswers);
}

std::optional<QString> ScriptedDialogs::openFile(const platform::OpenRequest& request)
{
    openRequests.push_back(request);
    return takeFront(fileAnswers);
}

std::optional<QString> ScriptedDialogs::saveFile(const platform::SaveRequest& request)
{
    saveRequests.push_back(request);
    return takeFront(fileAnswers);
}

std::optional<qint32> ScriptedDialogs::pickColour(qint32 initial)
{
    Q_UNUSED(initial);
    return takeFront(colourAnswers);
}

int ScriptedDialogs::runModal(QDialog* window)
{
    ++modalRuns;
    if (modalScripts.empty())
        return 0;
    auto script = std::move(modalScripts.front());
    modalScripts.pop_front();
    return script(window);
}

QStringList ScriptedDialogs::messageTitles() const
{
    QStringList titles;
    for (const auto& m : messages)
        titles << m.title;
    return titles;
}

} // namespace tenlog::testing
