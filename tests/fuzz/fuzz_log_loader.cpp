// Feeds arbitrary bytes to the log loader and the load counters. Whatever
// loads must write back and load again to the same records.
#include "log/ContactLog.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace tenlog::log;
    const LogParse parsed = parseLog(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!parsed.error.isEmpty())
        return 0;
    const LogTally tally = tallyLog(parsed.records);
    if (tally.cwMultsWorked > 100 || tally.phMultsWorked > 100)
        std::abort();
    QByteArray rewritten;
    for (const QsoRecord& r : parsed.records) {
        const auto line = recordLine(r);
        if (!line)
            return 0; // a value the writer refuses is never written
        rewritten += *line;
    }
    const LogParse again = parseLog(rewritten);
    if (!again.error.isEmpty() || again.records != parsed.records)
        std::abort();
    return 0;
}
