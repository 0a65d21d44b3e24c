// Fuzz target for the Pegasus control program's output file: any bytes as
// the file's contents. The mode never changes without a frequency, since
// both values must be in the file.
#include "RigReplyChecks.h"

using namespace tenlog::fuzzing;
using tenlog::rig::RigReading;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = asBytes(data, size);
    const RigReading reading =
        parseChecked("Pegasus file", [](const QByteArray& r, RigReading& x) { tenlog::rig::parsePegasusText(r, x); },
                     bytes, kLogModes);
    if (reading.frequencyMHz == untouchedReading().frequencyMHz)
        expectSame("Pegasus file", reading, untouchedReading(), "changed the mode without a frequency", bytes);
    return 0;
}
