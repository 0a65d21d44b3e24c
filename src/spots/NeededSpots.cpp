#include "spots/NeededSpots.h"

namespace tenlog::spots {

bool markNeededSpots(const SpotStore& store, const QStringList& abbreviations, std::vector<GridMark>& marks)
{
    for (GridMark& mark : marks) {
        if (mark == GridMark::Needed)
            mark = GridMark::Remaining;
    }
    bool newestNamedOne = false;
    const size_t count = std::min(marks.size(), static_cast<size_t>(abbreviations.size()));
    for (size_t i = 0; i < count; ++i) {
        if (marks[i] != GridMark::Remaining)
            continue;
        const QString& abbreviation = abbreviations.at(static_cast<qsizetype>(i));
        for (int j = SpotStore::kNewest; j >= 0; --j) {
            if (store.names(j, abbreviation)) {
                newestNamedOne = newestNamedOne || j == SpotStore::kNewest;
                marks[i] = GridMark::Needed;
                break;
            }
        }
    }
    return newestNamedOne;
}

NeededSpotAlerts::NeededSpotAlerts(const SpotStore& store, log::Prefs& prefs, std::function<void()> savePrefs,
                                   std::function<void()> playPrompt)
    : m_store(store), m_prefs(prefs), m_savePrefs(std::move(savePrefs)), m_playPrompt(std::move(playPrompt))
{
}

bool NeededSpotAlerts::toggleColour()
{
    m_prefs.NeededSpotsGreen = colourOn() ? 0 : 1;
    if (m_savePrefs)
        m_savePrefs();
    return colourOn();
}

bool NeededSpotAlerts::toggleAudio()
{
    m_prefs.NeededSpotAudio = audioOn() ? 0 : 1;
    if (m_savePrefs)
        m_savePrefs();
    return audioOn();
}

void NeededSpotAlerts::mark(const QStringList& abbreviations, std::vector<GridMark>& marks)
{
    if (!colourOn())
        return;
    if (markNeededSpots(m_store, abbreviations, marks) && audioOn() && m_playPrompt)
        m_playPrompt();
}

} // namespace tenlog::spots
