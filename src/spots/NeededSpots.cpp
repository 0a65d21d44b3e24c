#include "spots/NeededSpots.h"

#include "spots/SpotText.h"
#include "spots/TenMetreBand.h"
#include "text/NumberText.h"

#include <QHash>
#include <QList>

#include <algorithm>
#include <utility>

namespace tenlog::spots {

bool markNeededSpots(const SpotStore& store, const QStringList& abbreviations, std::vector<GridMark>& marks,
                     int freshSpots)
{
    for (GridMark& mark : marks) {
        if (mark == GridMark::Needed)
            mark = GridMark::Remaining;
    }
    // The words of every stored 10 m info with the entries holding each: one
    // pass over the store instead of 100 x 50 text searches per marking.
    QHash<QString, QList<int>> holders;
    for (int j = 0; j < SpotStore::kSize; ++j) {
        const Spot& spot = store.entry(j);
        if (!isOnTenMetres(spot.frequencyMhz))
            continue;
        for (const QString& word : spot.info.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            QList<int>& entries = holders[word];
            if (entries.isEmpty() || entries.last() != j)
                entries.append(j);
        }
    }
    const auto entriesNaming = [&](const QString& abbreviation) {
        const QString upper = abbreviation.toUpper();
        if (!upper.isEmpty() && !upper.contains(QLatin1Char(' ')))
            return holders.value(upper);
        const QString needle = SpotStore::needleFor(abbreviation); // not a single word: search the texts
        QList<int> entries;
        for (int j = 0; j < SpotStore::kSize; ++j) {
            if (store.offersNeedle(j, needle))
                entries.append(j);
        }
        return entries;
    };
    // The entries whose arrival sounds the prompt.
    const int firstFresh = freshSpots > 0 ? SpotStore::kSize - std::min(freshSpots, SpotStore::kSize) : SpotStore::kNewest;
    const auto sounds = [&](int j) {
        return j >= firstFresh && (freshSpots <= 0 || mayCarryRegion(store.entry(j).call));
    };
    bool promptDue = false;
    const size_t count = std::min(marks.size(), static_cast<size_t>(abbreviations.size()));
    for (size_t i = 0; i < count; ++i) {
        if (marks[i] != GridMark::Remaining)
            continue;
        const QList<int> entries = entriesNaming(abbreviations.at(static_cast<qsizetype>(i)));
        if (entries.isEmpty())
            continue;
        marks[i] = GridMark::Needed;
        promptDue = promptDue || std::any_of(entries.cbegin(), entries.cend(), sounds);
    }
    return promptDue;
}

QString recentSpotHoverText(const SpotStore& store, const QString& abbreviation)
{
    const std::optional<Spot> spot = store.newestNaming(abbreviation);
    if (!spot)
        return {};
    return QStringLiteral("\n  Recent Spot: ") + spot->call + QStringLiteral("  -  ") + text::plainNumber(spot->frequencyMhz)
         + QStringLiteral("  -  ") + spot->time.toString(QStringLiteral("hh:mm"));
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
    // Spots that arrived while colouring was off are old news when it is
    // turned on.
    const int fresh = std::exchange(m_freshSpots, 0);
    if (!colourOn())
        return;
    if (markNeededSpots(m_store, abbreviations, marks, fresh) && audioOn() && m_playPrompt)
        m_playPrompt();
}

} // namespace tenlog::spots
