// Decoders for what the radios answer to the poll requests. Each takes the
// bytes one receive tick collected and changes a RigReading only from a reply
// that is complete and valid for the radio's format: its terminator or exact
// block length, the right number of digits, decimal digits where the format
// has decimal digits, and a known mode code. Anything else (junk on the line,
// a reply cut off at the end of the tick, a wrong length) leaves the reading
// as it was, so noise never switches the operator's mode or frequency. Where
// the bytes hold several complete replies, the last valid one is the freshest
// and wins. A decoded frequency is always above 0 MHz.
//
// Replies, by family:
//  Kenwood/Elecraft  "FA" + 11 digits Hz + ";", "MD" + mode digit + ";",
//                    "IF" + 11 digits Hz ... mode digit at +29, VFO at +30,
//                    38 characters with the ";"
//  FTdx9000          "FA" + 8 digits Hz + ";", "MD0" + mode digit + ";"
//  Icom CI-V         FE FE to from cmd data FD; frequency in BCD, least
//                    significant byte first, 5 bytes (4 on the IC-735);
//                    echoed requests carry no data
//  Yaesu             5-byte block: 4 BCD bytes of 10 Hz units, most
//                    significant first, then a mode byte
//  Yaesu 757 GX II   75-byte status block, BCD frequency in bytes 6..9 (least
//                    significant first), mode in byte 10
//  Yaesu 890..1000   status block of the model's length with a binary
//                    frequency (rows in the source)
//  Ten-Tec front     "A" + 32-bit Hz + CR, "M" + main and sub mode + CR
//  panel
//  Ten-Tec Orion     "@AF" + Hz digits + CR, "@RMM" + mode digit + CR
//  Pegasus           a file: frequency in MHz, mode text
#pragma once

#include "rig/RigProfiles.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tenlog::rig {

struct RigReading {
    float frequencyMHz = 0; // 0 until the first frequency
    QString mode;           // "CW", "PH", for some radios "AM" or "FM"; empty until decoded
    int kenwoodVfo = 10;    // VFO digit of the last IF reply, 10 until one came

    bool operator==(const RigReading&) const = default;
};

void parseKenwoodFrequency(const QByteArray& reply, const QString& frequencyQuery, RigReading& reading);
void parseKenwoodMode(const QByteArray& reply, RigReading& reading);
void parseKenwoodInfo(const QByteArray& reply, RigReading& reading);
void parseFtdxReply(const QByteArray& reply, const QString& frequencyQuery, const QString& modeQuery,
                    RigReading& reading);
// fourByteFrequency: the IC-735, whose four-byte frequency comes out 100
// times too large from the five-byte construction.
void parseCivFrequency(const QByteArray& reply, bool fourByteFrequency, RigReading& reading);
void parseCivMode(const QByteArray& reply, RigReading& reading);
void parseYaesuStatus(const QByteArray& reply, RigReading& reading);
void parseYaesu757Status(const QByteArray& reply, RigReading& reading);
void parseYaesuBinaryStatus(const QByteArray& reply, YaesuBinaryModel model, RigReading& reading);
void parseTenTecFrequency(const QByteArray& reply, RigReading& reading);
void parseTenTecMode(const QByteArray& reply, RigReading& reading);
void parseOrionFrequency(const QByteArray& reply, RigReading& reading);
void parseOrionMode(const QByteArray& reply, RigReading& reading);
// Reads PEGASUS.OUT (any letter case) in folder, written by the Pegasus
// control program: the frequency in MHz and the mode text as quoted values.
void readPegasusFile(const QString& folder, RigReading& reading);
// The same on the file's bytes.
void parsePegasusText(const QByteArray& data, RigReading& reading);

// The mode of the fixed band segments (exclusive bounds, compared in single
// precision) that frequencyMHz lies in; mode unchanged outside them.
void modeFromFrequency(float frequencyMHz, QString& mode);

// How a radio's reply shows it is whole, so that a reply still arriving when
// a receive tick comes (a slow port at a fast polling rate) can be held for
// the next one: the byte that ends each reply, or the length of its status
// block. Neither for replies that are taken as they come.
struct ReplyFraming {
    std::optional<char> terminator;
    // The bytes a reply of a terminated format can begin with: an unended
    // tail that begins with any other byte is noise, not a reply under way.
    QByteArray replyStarts;
    qsizetype blockLength = 0;
};
ReplyFraming replyFraming(const RigProfile& profile);

// Runs the profile's parser on one tick's bytes. lastRequestWasFrequency
// picks the frequency or the mode decoder of radios polled one request at a
// time. pegasusFolder is where the Pegasus file exchange lives.
struct ParseContext {
    const RigProfile& profile;
    QString frequencyQuery;
    QString modeQuery;
    bool lastRequestWasFrequency = false;
    QString pegasusFolder;
};
void parseReply(const QByteArray& reply, const ParseContext& context, RigReading& reading);

} // namespace tenlog::rig
