// Completion of a country name as it is typed, shared by the main window's
// country box (letter case ignored) and the station dialog's country box
// (letter case significant). The prefix table is searched from its last entry
// to its first, so of several names that fit, the last listed wins.
#pragma once

#include <QString>
#include <Qt>

#include <optional>

namespace tenlog::geo {
class PrefixTable;
}

namespace tenlog::log {

// Index of the last entry whose CountryName begins with typed, -1 when none.
// Empty typed text fits every name.
int findCountryCompletion(const geo::PrefixTable& table, const QString& typed, Qt::CaseSensitivity cs);

struct CountryCompletion {
    int entry = -1;        // index into the prefix table
    QString text;          // the typed text followed by the rest of the name
    qsizetype typedLength = 0; // the caret stands here; the rest is selected
};

// The box's new text when typed completes to a name; nullopt when nothing fits.
std::optional<CountryCompletion> completeCountry(const geo::PrefixTable& table, const QString& typed,
                                                 Qt::CaseSensitivity cs);

} // namespace tenlog::log
