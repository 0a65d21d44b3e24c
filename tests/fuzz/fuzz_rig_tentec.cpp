// Fuzz target for the Ten-Tec replies: the front-panel protocol's binary "A"
// frequency and "M" mode replies and the Orion's "@AF" and "@RMM" text
// replies, all ended by CR. Every parser sees every input.
#include "RigReplyChecks.h"

using namespace tenlog::fuzzing;
using tenlog::rig::RigReading;

namespace {

const TerminatedReplyParser kParsers[] = {
    {"front panel A", [](const QByteArray& r, RigReading& x) { tenlog::rig::parseTenTecFrequency(r, x); }, '\r',
     QByteArray::fromHex("4100D601280D"), decodedReading(14.025f, "unset"), kLogModes},
    {"front panel M", [](const QByteArray& r, RigReading& x) { tenlog::rig::parseTenTecMode(r, x); }, '\r',
     QByteArray::fromHex("4D33330D"), decodedReading(-1, "CW"), kLogModes},
    {"Orion @AF", [](const QByteArray& r, RigReading& x) { tenlog::rig::parseOrionFrequency(r, x); }, '\r',
     "@AF14025000\r", decodedReading(14.025f, "unset"), kLogModes},
    {"Orion @RMM", [](const QByteArray& r, RigReading& x) { tenlog::rig::parseOrionMode(r, x); }, '\r', "@RMM2\r",
     decodedReading(-1, "CW"), kLogModes},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = asBytes(data, size);
    for (const TerminatedReplyParser& parser : kParsers)
        checkTerminatedReplies(parser, bytes);
    return 0;
}
