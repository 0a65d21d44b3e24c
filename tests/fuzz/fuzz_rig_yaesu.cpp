// Fuzz target for the Yaesu binary status blocks: the five-byte status, the
// 757 GX II's 75-byte block and the binary-frequency blocks of the FT-890,
// FT-920, FT-990, FT-1000D and FT-1000. Every parser sees every input.
#include "RigReplyChecks.h"

using namespace tenlog::fuzzing;
using tenlog::rig::RigReading;
using tenlog::rig::YaesuBinaryModel;

namespace {

const QStringList k757Modes = {QStringLiteral("CW"), QStringLiteral("PH"), QStringLiteral("AM"),
                               QStringLiteral("FM")};

QByteArray zeroPadded(const char* leadingHex, qsizetype length)
{
    QByteArray block = QByteArray::fromHex(leadingHex);
    block.append(QByteArray(length - block.size(), '\0'));
    return block;
}

RigParse binary(YaesuBinaryModel model)
{
    return [model](const QByteArray& r, RigReading& x) { tenlog::rig::parseYaesuBinaryStatus(r, model, x); };
}

// 14.025 MHz is 1402500 units of 10 Hz (BCD 01 40 25 00, binary 15 66 84),
// 14025000 Hz (D6 01 28) and, on the FT-1000, 22440000 units of 0.625 Hz
// (01 56 68 40).
const BlockReplyParser kParsers[] = {
    {"Yaesu status", [](const QByteArray& r, RigReading& x) { tenlog::rig::parseYaesuStatus(r, x); }, {5},
     QByteArray::fromHex("0140250003"), decodedReading(14.025f, "CW"), kLogModes},
    {"Yaesu 757", [](const QByteArray& r, RigReading& x) { tenlog::rig::parseYaesu757Status(r, x); }, {75},
     zeroPadded("0000000000" "00254001" "04", 75), decodedReading(14.025f, "AM"), k757Modes},
    {"FT-890", binary(YaesuBinaryModel::Ft890), {19, 18}, zeroPadded("0000156684000002", 19),
     decodedReading(14.025f, "CW"), kLogModes},
    {"FT-920", binary(YaesuBinaryModel::Ft920), {28}, zeroPadded("0000D60128000001", 28),
     decodedReading(14.025f, "CW"), kLogModes},
    {"FT-990", binary(YaesuBinaryModel::Ft990), {32}, zeroPadded("0015668400000001", 32),
     decodedReading(14.025f, "PH"), kLogModes},
    {"FT-1000D", binary(YaesuBinaryModel::Ft1000D), {16}, zeroPadded("0015668400000002", 16),
     decodedReading(14.025f, "CW"), kLogModes},
    {"FT-1000", binary(YaesuBinaryModel::Ft1000), {16}, zeroPadded("0001566840000002", 16),
     decodedReading(14.025f, "CW"), kLogModes},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = asBytes(data, size);
    for (const BlockReplyParser& parser : kParsers)
        checkBlockReplies(parser, bytes);
    return 0;
}
