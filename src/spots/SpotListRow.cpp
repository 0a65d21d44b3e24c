#include "spots/SpotListRow.h"

#include "spots/SpotText.h"
#include "text/NumberText.h"

namespace tenlog::spots {

SpotListRow spotListRow(const QString& call, float frequencyMhz, const QString& record, const QString& country)
{
    SpotListRow row;
    row[kCallColumn] = call;
    row[kFrequencyColumn] = text::plainNumber(frequencyMhz);
    row[kQthColumn] = country;
    row[kCommentsColumn] = trimBlanks(characters(record, 1, 11)) + QStringLiteral("  ") + trimBlanks(characters(record, 35, 59));
    row[kPrefixColumn] = trimBlanks(characters(record, 62, 66));
    row[kTimeColumn] = characters(record, 68, 71);
    row[kFromColumn] = trimBlanks(characters(record, 73, 76));
    return row;
}

} // namespace tenlog::spots
