// Which prompt plays when, and the waits for a prompt's end.
#include "voice/VoiceNavigation.h"

#include "platform/AudioPlayer.h"
#include "platform/DurableFile.h"

namespace tenlog::voice {

VoiceNavigation::VoiceNavigation(platform::AudioPlayer& player, QString workingFolder, std::function<int()> level)
    : m_player(player)
    , m_workingFolder(std::move(workingFolder))
    , m_level(std::move(level))
{
    m_player.setFinishedHandler([this] { pump(); });
}

VoiceNavigation::~VoiceNavigation()
{
    m_player.setFinishedHandler({});
    m_player.stop();
}

QString VoiceNavigation::promptPath(const QString& name) const
{
    return platform::fileInFolder(m_workingFolder, name + QStringLiteral(".wav"));
}

bool VoiceNavigation::isPlaying() const
{
    return m_player.isPlaying();
}

void VoiceNavigation::playPrompt(const QString& name)
{
    // The first prompt of a run loads the settings window, which announces
    // the level before this prompt cuts in.
    loadSettingsWindow();
    push({Step::Kind::Play, name, {}});
}

void VoiceNavigation::fieldEntered(EntryField field)
{
    const int level = m_level();
    if (field == EntryField::Call) {
        if (level != kNavOff)
            playPrompt(QStringLiteral("Call"));
        return;
    }
    if (level < kNavAllFields)
        return;
    switch (field) {
    case EntryField::RstRcvd:
        playPrompt(QStringLiteral("RstRcvd"));
        break;
    case EntryField::SecSer:
        playPrompt(QStringLiteral("SecSer"));
        break;
    case EntryField::RstSnt:
        playPrompt(QStringLiteral("RstSnt"));
        break;
    case EntryField::Country:
        playPrompt(QStringLiteral("Country"));
        break;
    case EntryField::Call:
        break;
    }
}

void VoiceNavigation::dupeFound(const std::function<void()>& then)
{
    playPrompt(QStringLiteral("Dupe"));
    if (m_level() != kNavOff)
        push({Step::Kind::WaitForEnd, {}, {}});
    push({Step::Kind::Run, {}, then});
}

void VoiceNavigation::optionSelected(int option)
{
    switch (option) {
    case kNavOff:
        playPrompt(QStringLiteral("NavDis"));
        break;
    case kNavCallOnly:
        playPrompt(QStringLiteral("NavEn"));
        push({Step::Kind::WaitForEnd, {}, {}});
        playPrompt(QStringLiteral("Call"));
        break;
    case kNavAllFields:
        playPrompt(QStringLiteral("NavEn"));
        break;
    default:
        break;
    }
}

void VoiceNavigation::loadSettingsWindow()
{
    if (m_windowLoaded)
        return;
    m_windowLoaded = true;
    optionSelected(m_level());
}

void VoiceNavigation::push(Step step)
{
    if (m_running) {
        m_nested.push_back(std::move(step));
        return;
    }
    m_steps.push_back(std::move(step));
    pump();
}

void VoiceNavigation::pump()
{
    if (m_running)
        return;
    m_running = true;
    while (!m_steps.empty()) {
        if (m_steps.front().kind == Step::Kind::WaitForEnd) {
            if (m_player.isPlaying())
                break; // the player's finished handler resumes here
            m_steps.pop_front();
            continue;
        }
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        if (step.kind == Step::Kind::Play)
            startPrompt(step.name);
        else if (step.run)
            step.run();
        // What this step asked for runs before the requests queued earlier.
        while (!m_nested.empty()) {
            m_steps.push_front(std::move(m_nested.back()));
            m_nested.pop_back();
        }
    }
    m_running = false;
}

void VoiceNavigation::startPrompt(const QString& name)
{
    // A missing or unplayable file is silent by design: the operator who
    // has no prompt files simply hears nothing.
    m_player.play(promptPath(name));
}

} // namespace tenlog::voice
