// The call-sign prefix table and the two country lookups built on it: the
// call box lookup (letter case ignored) and the spot lookup (letter case
// significant). The table comes from "arrlpre2.txt", eight values an entry
// (prefix, country, continent, longitude west positive, latitude, then three
// values that are read and ignored), sorted by prefix with letter case
// ignored. The longest prefix the call begins with wins.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace tenlog::geo {

struct PrefixEntry {
    QString Prefix;
    QString CountryName;
    QString Continent;
    float Longitude = 0; // degrees, west positive
    float Latitude = 0;  // degrees, north positive
};

struct CallLookup {
    bool found = false;
    QString country;        // "Not Found" when nothing matched
    const PrefixEntry* entry = nullptr; // continent and coordinates to show
};

class PrefixTable {
public:
    static constexpr int kCapacity = 10000;

    enum class LoadResult { Loaded, Missing, Error };

    // Reads the first "arrlpre2.txt" found in the folders, in the order
    // given (shared, user data, working). No file leaves the table empty.
    // *path is the file that was read, for messages.
    LoadResult loadFirstFound(const QStringList& folders, QString* error = nullptr, QString* path = nullptr);
    // Parses prefix-file data; on error the table is left empty.
    bool loadData(const QByteArray& data, QString* error = nullptr);

    int prefixCount() const { return static_cast<int>(m_entries.size()); }
    // 0-based here; the file's slot n is entry n - 1.
    const QList<PrefixEntry>& entries() const { return m_entries; }

    // The whole call box lookup: "/" rule, longest prefix, KG4 rule.
    CallLookup lookupCall(const QString& callBoxText) const;
    // The spot lookup: case significant, its own KG4 rule; empty when not found.
    QString lookupSpotCountry(const QString& call) const;

    // The text the search uses for a call: after W1AW/VE3 it is VE3.
    static QString workText(const QString& call);

private:
    // Index of the longest prefix the text begins with, -1 when none.
    int longestPrefix(const QString& work, Qt::CaseSensitivity cs) const;

    QList<PrefixEntry> m_entries;
    QList<QByteArray> m_upperPrefixes; // for the case-ignoring search
};

} // namespace tenlog::geo
