#include "spots/SpotStore.h"

#include "spots/TenMetreBand.h"

namespace tenlog::spots {

void SpotStore::push(Spot spot)
{
    for (int i = 1; i < kSize; ++i)
        m_entries[static_cast<size_t>(i - 1)] = std::move(m_entries[static_cast<size_t>(i)]);
    spot.info = spot.info.toUpper();
    m_entries[kNewest] = std::move(spot);
}

void SpotStore::supersedeOlder(const QString& call)
{
    for (int i = kNewest - 1; i >= 1; --i) {
        Spot& older = m_entries[static_cast<size_t>(i)];
        if (older.call.compare(call, Qt::CaseInsensitive) == 0) {
            older.frequencyMhz = 0;
            return;
        }
    }
}

void SpotStore::hide(int index)
{
    if (index >= 0 && index < kSize)
        m_entries[static_cast<size_t>(index)].frequencyMhz = 0;
}

bool SpotStore::offersNeedle(int index, const QString& upperBlankEnclosed) const
{
    const Spot& spot = entry(index);
    return isOnTenMetres(spot.frequencyMhz) && spot.info.contains(upperBlankEnclosed);
}

bool SpotStore::names(int index, const QString& abbreviation) const
{
    return offersNeedle(index, needleFor(abbreviation));
}

std::optional<Spot> SpotStore::newestNaming(const QString& abbreviation) const
{
    const QString needle = needleFor(abbreviation);
    for (int i = kNewest; i >= 0; --i) {
        if (offersNeedle(i, needle))
            return entry(i);
    }
    return std::nullopt;
}

std::vector<Spot> SpotStore::allNaming(const QString& abbreviation) const
{
    const QString needle = needleFor(abbreviation);
    std::vector<Spot> found;
    for (int i = kNewest; i >= 0; --i) {
        if (offersNeedle(i, needle))
            found.push_back(entry(i));
    }
    return found;
}

} // namespace tenlog::spots
