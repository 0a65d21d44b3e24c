// The multiplier table.
#include "log/MultTable.h"

namespace tenlog::log {

namespace {

// Index order matters: grid label i shows entry i, and Nunavut (68) was
// added after the three regions although it stands under "Can".
constexpr std::array<MultEntry, kMultCount + 1> kTable{{
    {"", "", ""},
    {"CT", "Connecticut", "1"}, {"MA", "Massachusetts", "1"}, {"ME", "Maine", "1"},
    {"NH", "New Hampshire", "1"}, {"RI", "Rhode Island", "1"}, {"VT", "Vermont", "1"},
    {"NY", "New York", "2"}, {"NJ", "New Jersey", "2"},
    {"DE", "Delaware", "3"}, {"PA", "Pennsylvania", "3"}, {"MD", "Maryland", "3"},
    {"DC", "District of Columbia", "3"},
    {"AL", "Alabama", "4"}, {"GA", "Georgia", "4"}, {"KY", "Kentucky", "4"}, {"NC", "North Carolina", "4"},
    {"FL", "Florida", "4"}, {"SC", "South Carolina", "4"}, {"TN", "Tennessee", "4"}, {"VA", "Virginia", "4"},
    {"AR", "Arkansas", "5"}, {"LA", "Louisiana", "5"}, {"MS", "Mississippi", "5"}, {"NM", "New Mexico", "5"},
    {"TX", "Texas", "5"}, {"OK", "Oklahoma", "5"},
    {"CA", "California", "6"}, {"HI", "Hawaii", "6"},
    {"AZ", "Arizona", "7"}, {"WA", "Washington", "7"}, {"ID", "Idaho", "7"}, {"MT", "Montana", "7"},
    {"NV", "Nevada", "7"}, {"OR", "Oregon", "7"}, {"UT", "Utah", "7"}, {"WY", "Wyoming", "7"},
    {"AK", "Alaska", "7"},
    {"MI", "Michigan", "8"}, {"OH", "Ohio", "8"}, {"WV", "West Virginia", "8"},
    {"IL", "Illinois", "9"}, {"IN", "Indiana", "9"}, {"WI", "Wisconsin", "9"},
    {"CO", "Colorado", "0"}, {"IA", "Iowa", "0"}, {"KS", "Kansas", "0"}, {"MN", "Minnesota", "0"},
    {"MO", "Missouri", "0"}, {"NE", "Nebraska", "0"}, {"ND", "North Dakota", "0"}, {"SD", "South Dakota", "0"},
    {"NB", "New Brunswick", "Can"}, {"NS", "Nova Scotia", "Can"}, {"QC", "Quebec", "Can"},
    {"ON", "Ontario", "Can"}, {"MB", "Manitoba", "Can"}, {"SK", "Saskatchewan", "Can"},
    {"AB", "Alberta", "Can"}, {"BC", "British Columbia", "Can"}, {"NWT", "Northwest Territories", "Can"},
    {"NF", "Newfoundland", "Can"}, {"LB", "Labrador", "Can"}, {"YT", "Yukon Territory", "Can"},
    {"PE", "Prince Edward", "Can"},
    {"R1", "Region 1", "Reg"}, {"R2", "Region 2", "Reg"}, {"R3", "Region 3", "Reg"},
    {"NU", "Nunavut", "Can"},
    {"AGS", "AGUASCALIENTES", "Mexico"}, {"BAC", "BAJA CALIFORNIA", "Mexico"},
    {"BCS", "BAJA CALIFORNIA SUR", "Mexico"}, {"CAM", "CAMPECHE", "Mexico"}, {"CHI", "CHIAPAS", "Mexico"},
    {"CHH", "CHIHUAHUA", "Mexico"}, {"COA", "COAHUILA", "Mexico"}, {"COL", "COLIMA", "Mexico"},
    {"DF", "DISTRITO FEDERAL", "Mexico"}, {"DGO", "DURANGO", "Mexico"}, {"EMX", "ESTADO DE MEXICO", "Mexico"},
    {"GTO", "GUANAJUATO", "Mexico"}, {"GRO", "GUERRERO", "Mexico"}, {"HGO", "HIDALGO", "Mexico"},
    {"JAL", "JALISCO", "Mexico"}, {"MIC", "MICHOACAN", "Mexico"}, {"MOR", "MORELOS", "Mexico"},
    {"NAY", "NAYARIT", "Mexico"}, {"NLE", "NUEVO LEON", "Mexico"}, {"OAX", "OAXACA", "Mexico"},
    {"PUE", "PUEBLA", "Mexico"}, {"QRO", "QUERETARO", "Mexico"}, {"QUI", "QUINTANA ROO", "Mexico"},
    {"SLP", "SAN LUIS POTOSI", "Mexico"}, {"SIN", "SINALOA", "Mexico"}, {"SON", "SONORA", "Mexico"},
    {"TAB", "TABASCO", "Mexico"}, {"TAM", "TAMAULIPAS", "Mexico"}, {"TLX", "TLAXCALA", "Mexico"},
    {"VER", "VERACRUZ", "Mexico"}, {"YUC", "YUCATAN", "Mexico"}, {"ZAC", "ZACATECAS", "Mexico"},
}};

} // namespace

const MultEntry& multEntry(int index)
{
    return kTable.at(static_cast<size_t>(index));
}

int multIndex(const QString& abbreviation)
{
    for (int i = 1; i <= kMultCount; ++i)
        if (abbreviation.compare(QLatin1String(kTable[i].Abbrev), Qt::CaseInsensitive) == 0)
            return i;
    return 0;
}

SectionCheck checkExchange(const QString& exchange)
{
    if (exchange.isEmpty())
        return SectionCheck::NotChecked;
    if (exchange.at(0).unicode() < 65)
        return SectionCheck::Valid; // a serial number
    return multIndex(exchange) > 0 ? SectionCheck::Valid : SectionCheck::Invalid;
}

bool isNorthAmerican(const QString& country)
{
    for (const char* name : {"USA", "Canada", "Mexico", "Alaska", "Hawaii"})
        if (country.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool isRegion(const QString& exchange)
{
    for (const char* r : {"R1", "R2", "R3"})
        if (exchange.compare(QLatin1String(r), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool isDxContact(const QString& country, const QString& exchange)
{
    return !isNorthAmerican(country) && country.compare(QLatin1String("Not Found"), Qt::CaseInsensitive) != 0
        && !isRegion(exchange);
}

} // namespace tenlog::log
