// Marking multipliers that a recent 10 m spot offers and that are not worked
// yet in the current mode, and the two menu settings behind it: colour needed
// spots green (NeededSpotsGreen) and sound the "Needspot" prompt
// (NeededSpotAudio), both kept in the preferences file. Spots of other bands
// are kept and shown but offer nothing here.
#pragma once

#include "log/Prefs.h"
#include "spots/SpotStore.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace tenlog::spots {

// How a multiplier label of the grid is coloured.
enum class GridMark { Worked, Remaining, Needed };

// Resets labels marked Needed to Remaining, then marks Needed every Remaining
// label (abbreviations[i] for marks[i]) that a stored 10 m spot names.
// Returns true when the prompt is due: freshSpots newest entries arrived
// since the last marking, and one of them that asked for this marking (its
// call may carry a region) names a label marked here; with no fresh spots (a
// re-marking after a mode switch) the newest entry is looked at, so the
// prompt may repeat for it.
bool markNeededSpots(const SpotStore& store, const QStringList& abbreviations, std::vector<GridMark>& marks,
                     int freshSpots = 0);

// What the grid's hover adds for a multiplier that a stored spot names (the
// newest such spot): a line break, "  Recent Spot: ", the call, the
// frequency in MHz and the spot's time as hh:nn; empty when none names it.
QString recentSpotHoverText(const SpotStore& store, const QString& abbreviation);

class NeededSpotAlerts {
public:
    // savePrefs writes the preferences file; playPrompt plays "Needspot".
    NeededSpotAlerts(const SpotStore& store, log::Prefs& prefs, std::function<void()> savePrefs,
                     std::function<void()> playPrompt);

    bool colourOn() const { return m_prefs.NeededSpotsGreen == 1; }
    bool audioOn() const { return m_prefs.NeededSpotAudio == 1; }
    // The menu items: flip the setting, save the preferences and return the
    // new state. The caller re-marks the grid after the colour toggle.
    bool toggleColour();
    bool toggleAudio();

    // Spots stored since the last marking, as the intake counts them: the
    // next mark() sounds the prompt for any of them naming a needed one.
    void noteFreshSpots(int count) { m_freshSpots += count; }

    // Marks the grid when colouring is on (does nothing otherwise) and plays
    // the prompt when it is due (see markNeededSpots) and the audio alert is
    // on.
    void mark(const QStringList& abbreviations, std::vector<GridMark>& marks);

private:
    const SpotStore& m_store;
    log::Prefs& m_prefs;
    std::function<void()> m_savePrefs;
    std::function<void()> m_playPrompt;
    int m_freshSpots = 0;
};

} // namespace tenlog::spots
