// The 50 most recent DX spots, newest last (index 49). Every new spot shifts
// the older ones down and drops index 0. A frequency of 0 marks an entry that
// is no longer shown: empty, superseded by a newer spot of the same call, or
// removed from the band map by the operator. The store lives for the run and
// is never saved.
#pragma once

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace tenlog::spots {

struct Spot {
    QString call;
    float frequencyMhz = 0; // 0: not shown
    QDateTime time;         // local time the spot was stored
    QString label;          // band-map label
    QString info;           // " COMMENT REGION " in upper case - where needed multipliers are looked for
};

class SpotStore {
public:
    static constexpr int kSize = 50;
    static constexpr int kNewest = kSize - 1;

    const Spot& entry(int index) const { return m_entries.at(static_cast<size_t>(index)); }

    // Shifts the store and puts spot in as the newest entry (its info upper-cased).
    void push(Spot spot);
    // Clears the frequency of the nearest older entry (48 down to 1) of the
    // same call; entry 0 is about to drop out and is left alone.
    void supersedeOlder(const QString& call);
    // The operator took the spot off the band map.
    void hide(int index);

    // Whether entry index offers the multiplier abbreviation: a spot on
    // 10 m whose info names it (blank-enclosed, letter case ignored). A spot
    // of another band, or one no longer shown (frequency 0), offers nothing.
    bool names(int index, const QString& abbreviation) const;
    // The same with the blank-enclosed, upper-cased abbreviation made once by
    // the caller. Infos are upper case (they come from the upper-cased
    // record), so a plain search ignores letter case and is much faster.
    bool offersNeedle(int index, const QString& upperBlankEnclosed) const;
    static QString needleFor(const QString& abbreviation)
    {
        return QLatin1Char(' ') + abbreviation.toUpper() + QLatin1Char(' ');
    }
    // The newest spot offering a multiplier (as names() says): what the
    // grid's hover shows.
    std::optional<Spot> newestNaming(const QString& abbreviation) const;
    // Every spot offering a multiplier, newest first: what a click on the
    // grid goes through.
    std::vector<Spot> allNaming(const QString& abbreviation) const;

private:
    std::array<Spot, kSize> m_entries;
};

} // namespace tenlog::spots
