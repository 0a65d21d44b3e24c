// The bytes that send a radio to a frequency or a mode, per command format of
// the radio table. F is the frequency in MHz as a float; "Hz digits" are
// F x 1,000,000 and "10-Hz digits" F x 100,000, each rounded half to even and
// written in decimal with leading zeros up to the field's width. F is taken
// at the decimal value it was typed as, so 28.4759 sends 28,475,900 Hz.
//
//   Kenwood      "FA" (the first two letters of the frequency request), 11 Hz digits, ";"
//   Kenwood 2    "FB" when the radio last reported VFO B, else "FA"; 11 Hz digits; ";"
//   Elecraft     "FA", 11 Hz digits, ";"
//   CI-V         FE FE <address> E0 05 <Hz digits as BCD pairs, least significant first> FD;
//                five pairs, four on the IC-735; the address is characters 7-8 of
//                the frequency request
//   Ten-Tec      "*A" <Hz as a 32-bit number, most significant byte first> CR
//   Orion        "*AF" <Hz digits> CR
//   Yaesu        <8 10-Hz digits as 4 BCD bytes, most significant first> 01
//   Yaesu others <the same 4 bytes, least significant first> 0A
//   FTdx9000     "FA" (from the frequency request), 8 Hz digits, ";"
//   rigctld      "F <Hz>" LF
//
// Mode commands: Kenwood "MD<d>;", CI-V FE FE <address> E0 06 <mode> FD,
// Yaesu five-byte commands (opcode 07 or 0C), FTdx9000 "MD0<d>;", rigctld
// "M <mode> 0" LF.
#pragma once

#include "rig/RigProfiles.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tenlog::rig {

// The request strings and VFO a command is built from.
struct CommandContext {
    QString frequencyQuery;
    QString modeQuery;
    int kenwoodVfo = 10;
};

// The decimal digits of the frequency in units of 1 Hz (unitHz 1) or 10 Hz
// (unitHz 10), rounded half to even, zero padded to width (never cut).
QByteArray frequencyDigits(float megahertz, int unitHz, int width);

// The frequency command, or nothing when the radio takes none (no radio,
// "Other", the Pegasus file) or the frequency is not one the command can
// carry (zero or below, or more digits than the radio's field holds).
std::optional<QByteArray> frequencyCommandBytes(const RigProfile& profile, const CommandContext& context,
                                                float megahertz);

// The mode command for a mode name ("CW", "CW-R", "LSB", "USB", "AM", "FM",
// "RTTY", "RTTY-R", "FSK", "DIG", "PKT"), or nothing when the radio has no
// such command (or no mode commands at all).
std::optional<QByteArray> modeCommandBytes(const RigProfile& profile, const CommandContext& context,
                                           const QString& mode);

// The Pegasus control program's input file: the frequency in MHz and the
// mode, a line each.
QByteArray pegasusInputBytes(float megahertz, const QString& mode);
QString pegasusInputFileName();

} // namespace tenlog::rig
