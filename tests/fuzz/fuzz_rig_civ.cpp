// Fuzz target for the CI-V replies of the Icom radios and the Omni VI: the
// five-byte frequency, the IC-735's four-byte frequency and the mode. Every
// parser sees every input.
#include "RigReplyChecks.h"

using namespace tenlog::fuzzing;
using tenlog::rig::RigReading;

namespace {

constexpr char kEndOfFrame = char(0xFD);

const TerminatedReplyParser kParsers[] = {
    {"CI-V frequency", [](const QByteArray& r, RigReading& x) { tenlog::rig::parseCivFrequency(r, false, x); },
     kEndOfFrame, QByteArray::fromHex("FEFEE064030050020700FD"), decodedReading(7.025f, "unset"), kLogModes},
    {"IC-735 frequency", [](const QByteArray& r, RigReading& x) { tenlog::rig::parseCivFrequency(r, true, x); },
     kEndOfFrame, QByteArray::fromHex("FEFEE06403" "00504728FD"), decodedReading(28.475f, "unset"), kLogModes},
    {"CI-V mode", [](const QByteArray& r, RigReading& x) { tenlog::rig::parseCivMode(r, x); }, kEndOfFrame,
     QByteArray::fromHex("FEFEE064040301FD"), decodedReading(-1, "CW"), kLogModes},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = asBytes(data, size);
    for (const TerminatedReplyParser& parser : kParsers)
        checkTerminatedReplies(parser, bytes);
    return 0;
}
