// Country name completion on the prefix table.
#include "log/CountryCompletion.h"

#include "geo/PrefixTable.h"

namespace tenlog::log {

int findCountryCompletion(const geo::PrefixTable& table, const QString& typed, Qt::CaseSensitivity cs)
{
    const auto& entries = table.entries();
    for (qsizetype i = entries.size() - 1; i >= 0; --i) {
        if (entries.at(i).CountryName.startsWith(typed, cs))
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<CountryCompletion> completeCountry(const geo::PrefixTable& table, const QString& typed,
                                                 Qt::CaseSensitivity cs)
{
    const int index = findCountryCompletion(table, typed, cs);
    if (index < 0)
        return std::nullopt;
    // What was typed stays as typed (its letter case too); only the rest comes from the name.
    const QString& name = table.entries().at(index).CountryName;
    return CountryCompletion{index, typed + name.mid(typed.size()), typed.size()};
}

} // namespace tenlog::log
