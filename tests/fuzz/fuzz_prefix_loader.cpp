// Feeds arbitrary bytes to the prefix-file loader, then looks up calls made
// from the same bytes in both lookups.
#include "geo/PrefixTable.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using tenlog::geo::PrefixTable;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    PrefixTable table;
    if (!table.loadData(bytes)) {
        if (table.prefixCount() != 0)
            std::abort();
        return 0;
    }
    if (table.prefixCount() > PrefixTable::kCapacity)
        std::abort();
    for (qsizetype start = 0; start < bytes.size() && start < 64; start += 7) {
        const QString call = QString::fromLatin1(bytes.mid(start, 9));
        const auto found = table.lookupCall(call);
        if (found.found != (found.entry != nullptr))
            std::abort();
        table.lookupSpotCountry(call);
    }
    return 0;
}
