// The 100 exchange multipliers of the contest (states, provinces and
// territories, maritime regions, Mexican states) in their fixed order, the
// grid headings they stand under, the exchange check and the station classes.
#pragma once

#include <QString>

#include <array>

namespace tenlog::log {

struct MultEntry {
    const char* Abbrev;
    const char* Name;
    const char* heading; // grid heading the entry stands under
};

inline constexpr int kMultCount = 100;

// Entry i (1..100) of the table; index 0 is unused.
const MultEntry& multEntry(int index);

// 1-based index of the abbreviation (letter case ignored), 0 when none.
int multIndex(const QString& abbreviation);

// The exchange check: an empty exchange is not judged; one starting
// below "A" is a serial number and passes; otherwise it must be one of the
// 100 abbreviations.
enum class SectionCheck { NotChecked, Valid, Invalid };
SectionCheck checkExchange(const QString& exchange);

// Station classes from a country name and an exchange.
bool isNorthAmerican(const QString& country);
bool isRegion(const QString& exchange);     // R1, R2 or R3
bool isDxContact(const QString& country, const QString& exchange);

} // namespace tenlog::log
