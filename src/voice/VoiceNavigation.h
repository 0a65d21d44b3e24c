// Voice navigation: short recorded prompts that name the entry field the
// cursor enters, announce a duplicate and a spotted needed multiplier, and
// confirm the level chosen in the settings window. The prompts are
// <working folder>/<name>.wav, played on a player of their own (not the
// voice keyer's) for the operator only. Missing files are silent.
//
// The original program waited for a prompt's end in a busy loop that froze
// the window. Here those waits are steps of a queue: while one is pending,
// every later request (a prompt, or the caller's continuation) queues behind
// it and runs, in order, when the prompt has ended, which is what the frozen
// window did with the events that piled up meanwhile.
#pragma once

#include <QString>

#include <deque>
#include <functional>

namespace tenlog::platform {
class AudioPlayer;
}

namespace tenlog::voice {

// The entry fields of the main window that speak their name.
enum class EntryField { Call, RstRcvd, SecSer, RstSnt, Country };

// Levels of VoiceNavLevel and the options of the settings window.
inline constexpr int kNavOff = 0;
inline constexpr int kNavCallOnly = 1;
inline constexpr int kNavAllFields = 2;

class VoiceNavigation {
public:
    // level reads the current VoiceNavLevel of the preferences each time it
    // is needed, so a changed level takes effect at the next focus change.
    VoiceNavigation(platform::AudioPlayer& player, QString workingFolder, std::function<int()> level);
    // Cuts off the prompt in progress, as closing the settings window did.
    ~VoiceNavigation();

    VoiceNavigation(const VoiceNavigation&) = delete;
    VoiceNavigation& operator=(const VoiceNavigation&) = delete;

    // Plays prompt name, cutting off the one playing, and returns at once.
    void playPrompt(const QString& name);

    // The cursor entered field: "Call" when navigation is on, the other
    // fields' prompts at "All Data Fields" only.
    void fieldEntered(EntryField field);

    // The duplicate check found a duplicate: says "Dupe" at every level.
    // With navigation on the check waits for the prompt to end: then runs
    // when it has; with navigation off (or a prompt that cannot play) then
    // runs before this returns.
    void dupeFound(const std::function<void()>& then);

    // A needed multiplier was spotted and its audio alert is on.
    void neededSpot() { playPrompt(QStringLiteral("Needspot")); }

    // An option chosen in the settings window (kNavOff, kNavCallOnly,
    // kNavAllFields): "NavDis" for off, "NavEn" otherwise, and for "Call
    // Only" "Call" once "NavEn" has been heard to the end.
    void optionSelected(int option);

    // The settings window loads once a run: on its first opening or at the
    // first prompt, whichever comes first. Loading selects the option of the
    // current level, which announces it. Later calls do nothing.
    void loadSettingsWindow();

    // True while a prompt sounds.
    bool isPlaying() const;
    // True while a wait for a prompt's end holds queued requests back; the
    // main window holds its keys meanwhile.
    bool isWaiting() const { return !m_steps.empty(); }

    int level() const { return m_level(); }
    QString workingFolder() const { return m_workingFolder; }
    QString promptPath(const QString& name) const;

private:
    struct Step {
        enum class Kind { Play, WaitForEnd, Run } kind;
        QString name;               // Play
        std::function<void()> run;  // Run
    };

    void push(Step step);
    void pump();
    void startPrompt(const QString& name);

    platform::AudioPlayer& m_player;
    QString m_workingFolder;
    std::function<int()> m_level;
    bool m_windowLoaded = false;
    std::deque<Step> m_steps;
    // While a continuation runs, what it asks for goes here and then ahead
    // of the requests that were already queued, as a nested call would.
    bool m_running = false;
    std::deque<Step> m_nested;
};

} // namespace tenlog::voice
