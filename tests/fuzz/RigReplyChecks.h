// What the rig reply fuzz targets hold every parser to. A parser starts from
// a reading no radio reply can produce, so any change shows; a field it
// changes must then hold something valid: a finite frequency above 0 MHz, a
// mode the log knows, a VFO digit 0 to 2.
#pragma once

#include "rig/RigParsers.h"

#include <QByteArray>
#include <QStringList>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace tenlog::fuzzing {

using RigParse = std::function<void(const QByteArray&, rig::RigReading&)>;

[[noreturn]] inline void failRigCheck(const char* parser, const char* what, const QByteArray& reply)
{
    std::fprintf(stderr, "%s: %s; reply %s\n", parser, what, reply.toHex(' ').constData());
    std::abort();
}

// The modes the log knows.
inline const QStringList kLogModes = {QStringLiteral("CW"), QStringLiteral("PH")};

inline rig::RigReading untouchedReading()
{
    return {-1.0f, QStringLiteral("unset"), 10};
}

inline QByteArray asBytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Runs parse on reply from the untouched reading and checks what it left.
inline rig::RigReading parseChecked(const char* parser, const RigParse& parse, const QByteArray& reply,
                                    const QStringList& modes)
{
    rig::RigReading reading = untouchedReading();
    parse(reply, reading);
    const rig::RigReading before = untouchedReading();
    if (reading.frequencyMHz != before.frequencyMHz
        && !(std::isfinite(reading.frequencyMHz) && reading.frequencyMHz > 0))
        failRigCheck(parser, "decoded a frequency that is not above 0", reply);
    if (reading.mode != before.mode && !modes.contains(reading.mode))
        failRigCheck(parser, "decoded a mode the log does not know", reply);
    if (reading.kenwoodVfo != before.kenwoodVfo && (reading.kenwoodVfo < 0 || reading.kenwoodVfo > 2))
        failRigCheck(parser, "decoded a VFO that is not 0, 1 or 2", reply);
    return reading;
}

inline void expectSame(const char* parser, const rig::RigReading& reading, const rig::RigReading& expected,
                       const char* why, const QByteArray& reply)
{
    if (!(reading == expected))
        failRigCheck(parser, why, reply);
}

// The reading a valid reply gives, for comparing with what the same reply
// gives after junk: frequency and mode as the parser decodes them, the rest
// untouched.
inline rig::RigReading decodedReading(float frequencyMHz, const char* mode, int vfo = 10)
{
    rig::RigReading reading = untouchedReading();
    if (frequencyMHz > 0)
        reading.frequencyMHz = frequencyMHz;
    if (mode)
        reading.mode = QString::fromLatin1(mode);
    reading.kenwoodVfo = vfo;
    return reading;
}

// A parser of replies that end in a terminator byte (";", CR, FD). For any
// bytes x: without the terminator nothing changes; a valid reply after x is
// still found (the last reply is the freshest); a valid reply cut off before
// its terminator adds nothing to what x gives.
struct TerminatedReplyParser {
    const char* name;
    RigParse parse;
    char terminator;
    QByteArray validReply;
    rig::RigReading decoded;
    QStringList modes;
};

inline void checkTerminatedReplies(const TerminatedReplyParser& p, const QByteArray& x)
{
    const rig::RigReading reading = parseChecked(p.name, p.parse, x, p.modes);
    if (!x.contains(p.terminator))
        expectSame(p.name, reading, untouchedReading(), "changed the reading without a terminated reply", x);
    expectSame(p.name, parseChecked(p.name, p.parse, x + p.validReply, p.modes), p.decoded,
               "missed the valid reply that ends the bytes", x);
    expectSame(p.name, parseChecked(p.name, p.parse, x + p.validReply.chopped(1), p.modes), reading,
               "took a reply cut off before its terminator", x);
}

// A parser of fixed-length blocks without frame marks. For any bytes x: a
// length that is no whole number of blocks changes nothing; whole blocks of
// x followed by a valid block give that block's reading.
struct BlockReplyParser {
    const char* name;
    RigParse parse;
    std::vector<qsizetype> blockLengths; // the valid block has the first
    QByteArray validBlock;
    rig::RigReading decoded;
    QStringList modes;
};

inline void checkBlockReplies(const BlockReplyParser& p, const QByteArray& x)
{
    const rig::RigReading reading = parseChecked(p.name, p.parse, x, p.modes);
    bool wholeBlocks = false;
    for (const qsizetype length : p.blockLengths)
        wholeBlocks = wholeBlocks || (!x.isEmpty() && x.size() % length == 0);
    if (!wholeBlocks)
        expectSame(p.name, reading, untouchedReading(), "changed the reading from a buffer of the wrong length", x);
    const qsizetype length = p.blockLengths.front();
    const QByteArray blocks = x.left(x.size() - x.size() % length);
    expectSame(p.name, parseChecked(p.name, p.parse, blocks + p.validBlock, p.modes), p.decoded,
               "missed the valid block that ends the bytes", x);
}

} // namespace tenlog::fuzzing
