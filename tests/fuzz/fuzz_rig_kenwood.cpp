// Fuzz target for the text replies of the Kenwood, Elecraft and FTdx9000
// radios: "FA" and "MD" (as the Kenwood profile polls them, each on its own
// and both on one buffer), the 38-character "IF" reply, and the FTdx9000's
// 8-digit "FA" and "MD0". Every parser sees every input.
#include "RigReplyChecks.h"

using namespace tenlog::fuzzing;
using tenlog::rig::RigReading;

namespace {

const TerminatedReplyParser kParsers[] = {
    {"Kenwood FA",
     [](const QByteArray& r, RigReading& x) { tenlog::rig::parseKenwoodFrequency(r, QStringLiteral("FA;"), x); }, ';',
     "FA00014025000;", decodedReading(14.025f, "unset"), kLogModes},
    {"Kenwood MD", [](const QByteArray& r, RigReading& x) { tenlog::rig::parseKenwoodMode(r, x); }, ';', "MD7;",
     decodedReading(-1, "CW"), kLogModes},
    {"Kenwood IF", [](const QByteArray& r, RigReading& x) { tenlog::rig::parseKenwoodInfo(r, x); }, ';',
     "IF00007025000     +00000000003100000 ;", decodedReading(7.025f, "CW", 1), kLogModes},
    {"FTdx FA",
     [](const QByteArray& r, RigReading& x) { tenlog::rig::parseFtdxReply(r, QStringLiteral("FA;"), QString(), x); },
     ';', "FA14025000;", decodedReading(14.025f, "unset"), kLogModes},
    {"FTdx MD0",
     [](const QByteArray& r, RigReading& x) { tenlog::rig::parseFtdxReply(r, QString(), QStringLiteral("MD0;"), x); },
     ';', "MD03;", decodedReading(-1, "CW"), kLogModes},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = asBytes(data, size);
    for (const TerminatedReplyParser& parser : kParsers)
        checkTerminatedReplies(parser, bytes);
    // Both Kenwood replies on one buffer, as one receive tick decodes them.
    parseChecked("Kenwood FA and MD",
                 [](const QByteArray& r, RigReading& x) {
                     tenlog::rig::parseKenwoodFrequency(r, QStringLiteral("FA;"), x);
                     tenlog::rig::parseKenwoodMode(r, x);
                 },
                 bytes, kLogModes);
    parseChecked("FTdx FA and MD0",
                 [](const QByteArray& r, RigReading& x) {
                     tenlog::rig::parseFtdxReply(r, QStringLiteral("FA;"), QStringLiteral("MD0;"), x);
                 },
                 bytes, kLogModes);
    return 0;
}
