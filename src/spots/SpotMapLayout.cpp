#include "spots/SpotMapLayout.h"

#include "log/EntryRules.h"
#include "spots/TenMetreBand.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>

namespace tenlog::spots {

namespace {

const QString kCaptionPattern = QStringLiteral("#.000");

// The spot drawn at entry i, or none; whether the map ends at this entry.
struct EntryOutcome {
    bool ends = false;
    qint32 colour = kRecentSpotColour;
};

EntryOutcome ageOutcome(const Spot& spot, const QDateTime& localNow)
{
    EntryOutcome outcome;
    // An entry stored without a time keeps the labels' first colour.
    if (!spot.time.isValid())
        return outcome;
    const std::optional<qint32> colour = ageColour(spot.time.secsTo(localNow));
    outcome.ends = !colour;
    outcome.colour = colour.value_or(kRecentSpotColour);
    return outcome;
}

PlacedSpot place(const Spot& spot, int index, int row, const BandScale& scale, qint32 colour, float utcOffsetHours,
                 const QDateTime& localNow)
{
    return {index, row, scale.position(spot.frequencyMhz), colour, spot.label, spotTip(spot, utcOffsetHours),
            spokenSpot(spot, localNow)};
}

} // namespace

BandRow tenMetreRow()
{
    return {QStringLiteral("10 m"), {kTenMetresLowMhz, kTenMetresHighMhz}};
}

const std::array<BandRow, 11>& spectrumRows()
{
    static const std::array<BandRow, 11> rows{{
        {QStringLiteral("160 m"), {1.8f, 2.0f}},
        {QStringLiteral("80 m"), {3.5f, 4.0f}},
        {QStringLiteral("40 m"), {7.0f, 7.3f}},
        {QStringLiteral("30 m"), {10.1f, 10.15f}},
        {QStringLiteral("20 m"), {14.0f, 14.35f}},
        {QStringLiteral("17 m"), {18.068f, 18.168f}},
        {QStringLiteral("15 m"), {21.0f, 21.45f}},
        {QStringLiteral("12 m"), {24.89f, 24.99f}},
        {QStringLiteral("10 m"), {28.0f, 29.7f}},
        {QStringLiteral("6 m"), {50.0f, 54.0f}},
        {QStringLiteral("2 m"), {144.0f, 148.0f}},
    }};
    return rows;
}

BandEdges zoomedEdges(const SpotStore& store, BandEdges edges)
{
    float lowest = edges.high;
    float highest = edges.low;
    for (int i = 1; i < SpotStore::kSize; ++i) {
        const float f = store.entry(i).frequencyMhz;
        if (edges.low < f && f < edges.high) {
            lowest = std::min(lowest, f);
            highest = std::max(highest, f);
        }
    }
    if (highest > lowest)
        return {text::toSingle(static_cast<double>(lowest) - 0.001), text::toSingle(static_cast<double>(highest) + 0.001)};
    return edges;
}

double BandScale::position(float mhz) const
{
    if (!(high > low))
        return 0.5;
    return (static_cast<double>(mhz) - static_cast<double>(low)) / (static_cast<double>(high) - static_cast<double>(low));
}

BandScale bandScale(BandEdges edges)
{
    BandScale scale;
    const double low = edges.low;
    const double span = static_cast<double>(edges.high) - low;
    for (int i = 0; i < 5; ++i)
        scale.captions[static_cast<size_t>(i)] =
            text::formatNumber(text::roundHalfEven(low + i * 0.25 * span, 3), kCaptionPattern);
    scale.low = text::valSingle(scale.captions.front());
    scale.high = text::valSingle(scale.captions.back());
    return scale;
}

std::optional<qint32> ageColour(qint64 ageSeconds)
{
    if (ageSeconds < 600)
        return kFreshSpotColour;
    if (ageSeconds < 1800)
        return kRecentSpotColour;
    if (ageSeconds < 3600)
        return kOldSpotColour;
    return std::nullopt;
}

QString spotTip(const Spot& spot, float utcOffsetHours)
{
    const QString time = spot.time.isValid()
                           ? log::utcFromLocal(spot.time, utcOffsetHours).toString(QStringLiteral("hh:mm:ss"))
                           : QString();
    return spot.call + QStringLiteral("  ") + text::formatNumber(spot.frequencyMhz, kCaptionPattern)
         + QStringLiteral("  ") + time;
}

QString spokenSpot(const Spot& spot, const QDateTime& localNow)
{
    const qint64 minutes = spot.time.isValid() ? std::max<qint64>(0, spot.time.secsTo(localNow) / 60) : 0;
    const QString age = minutes == 0   ? QStringLiteral("less than a minute")
                      : minutes == 1 ? QStringLiteral("1 minute")
                                     : QStringLiteral("%1 minutes").arg(minutes);
    return spot.call + QLatin1Char(' ') + text::formatNumber(spot.frequencyMhz, kCaptionPattern)
         + QStringLiteral(" MHz, ") + age;
}

SpotMap tenMetreMap(const SpotStore& store, const QDateTime& localNow, float utcOffsetHours)
{
    const BandRow band = tenMetreRow();
    SpotMap map;
    map.rows.push_back({band.name, bandScale(zoomedEdges(store, band.edges))});
    const BandScale& scale = map.rows.front().scale;
    for (int i = SpotStore::kNewest; i >= 0; --i) {
        const Spot& spot = store.entry(i);
        // Only spots on the scale count, for the hour's end as well.
        if (!scale.contains(spot.frequencyMhz))
            continue;
        const EntryOutcome outcome = ageOutcome(spot, localNow);
        if (outcome.ends)
            break;
        map.spots.push_back(place(spot, i, 0, scale, outcome.colour, utcOffsetHours, localNow));
    }
    return map;
}

SpotMap spectrumMap(const SpotStore& store, const QDateTime& localNow, float utcOffsetHours)
{
    SpotMap map;
    for (const BandRow& band : spectrumRows())
        map.rows.push_back({band.name, bandScale(zoomedEdges(store, band.edges))});
    for (int i = SpotStore::kNewest; i >= 0; --i) {
        const Spot& spot = store.entry(i);
        // Here every entry counts for the hour's end, drawn or not.
        const EntryOutcome outcome = ageOutcome(spot, localNow);
        if (outcome.ends)
            break;
        for (size_t row = 0; row < spectrumRows().size(); ++row) {
            const BandEdges edges = spectrumRows()[row].edges;
            if (edges.low < spot.frequencyMhz && spot.frequencyMhz < edges.high)
                map.spots.push_back(place(spot, i, static_cast<int>(row), map.rows[row].scale, outcome.colour,
                                          utcOffsetHours, localNow));
        }
    }
    return map;
}

std::vector<int> keyboardOrder(const SpotMap& map)
{
    std::vector<int> order(map.spots.size());
    for (size_t k = 0; k < order.size(); ++k)
        order[k] = static_cast<int>(k);
    // Stable: on one frequency the newest (listed first) comes first.
    std::stable_sort(order.begin(), order.end(), [&map](int a, int b) {
        const PlacedSpot& x = map.spots[static_cast<size_t>(a)];
        const PlacedSpot& y = map.spots[static_cast<size_t>(b)];
        if (x.row != y.row)
            return x.row < y.row;
        return x.position < y.position;
    });
    return order;
}

int steppedSpot(const SpotMap& map, int current, SpotStep step)
{
    if (map.spots.empty())
        return -1;
    if (current < 0 || current >= static_cast<int>(map.spots.size()))
        return 0;
    const std::vector<int> order = keyboardOrder(map);
    const auto at = std::find(order.begin(), order.end(), current);
    const size_t place = static_cast<size_t>(at - order.begin());
    switch (step) {
    case SpotStep::Previous: return place > 0 ? order[place - 1] : current;
    case SpotStep::Next: return place + 1 < order.size() ? order[place + 1] : current;
    case SpotStep::First: return order.front();
    case SpotStep::Last: return order.back();
    case SpotStep::RowUp:
    case SpotStep::RowDown: break;
    }
    const PlacedSpot& from = map.spots[static_cast<size_t>(current)];
    const int direction = step == SpotStep::RowUp ? -1 : 1;
    // The nearest row in that direction with a spot, then its spot nearest
    // along the line.
    int bestRow = -1;
    for (const PlacedSpot& spot : map.spots) {
        const int distance = (spot.row - from.row) * direction;
        if (distance > 0 && (bestRow < 0 || distance < (bestRow - from.row) * direction))
            bestRow = spot.row;
    }
    if (bestRow < 0)
        return current;
    int best = -1;
    for (int k : order) {
        const PlacedSpot& spot = map.spots[static_cast<size_t>(k)];
        if (spot.row == bestRow
            && (best < 0
                || std::abs(spot.position - from.position)
                       < std::abs(map.spots[static_cast<size_t>(best)].position - from.position)))
            best = k;
    }
    return best;
}

} // namespace tenlog::spots
