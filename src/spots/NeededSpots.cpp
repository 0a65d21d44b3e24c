#include "spots/NeededSpots.h"

#include "spots/TenMetreBand.h"
#include "text/NumberText.h"

#include <QHash>

namespace tenlog::spots {

bool markNeededSpots(const SpotStore& store, const QStringList& abbreviations, std::vector<GridMark>& marks)
{
    for (GridMark& mark : marks) {
        if (mark == GridMark::Needed)
            mark = GridMark::Remaining;
    }
    // The words of every stored 10 m info with the newest entry holding each:
    // one pass over the store instead of 100 x 50 text searches per spot.
    QHash<QString, int> newestHolding;
    for (int j = 0; j < SpotStore::kSize; ++j) {
        if (!isOnTenMetres(store.entry(j).frequencyMhz))
            continue;
        for (const QString& word : store.entry(j).info.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            newestHolding.insert(word, j);
    }
    const auto newestNaming = [&](const QString& abbreviation) {
        const QString upper = abbreviation.toUpper();
        if (!upper.isEmpty() && !upper.contains(QLatin1Char(' ')))
            return newestHolding.value(upper, -1);
        const QString needle = SpotStore::needleFor(abbreviation); // not a single word: search the texts
        for (int j = SpotStore::kNewest; j >= 0; --j) {
            if (store.offersNeedle(j, needle))
                return j;
        }
        return -1;
    };
    bool newestNamedOne = false;
    const size_t count = std::min(marks.size(), static_cast<size_t>(abbreviations.size()));
    for (size_t i = 0; i < count; ++i) {
        if (marks[i] != GridMark::Remaining)
            continue;
        const int j = newestNaming(abbreviations.at(static_cast<qsizetype>(i)));
        if (j >= 0) {
            newestNamedOne = newestNamedOne || j == SpotStore::kNewest;
            marks[i] = GridMark::Needed;
        }
    }
    return newestNamedOne;
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
    if (!colourOn())
        return;
    if (markNeededSpots(m_store, abbreviations, marks) && audioOn() && m_playPrompt)
        m_playPrompt();
}

} // namespace tenlog::spots
