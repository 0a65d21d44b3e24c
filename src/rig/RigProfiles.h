// The radios the rig link knows, one row per entry of the radio list in list
// order. Code that polls or parses reads the fields of a row; it never asks
// for a radio by name.
#pragma once

#include <QString>

#include <optional>
#include <span>

namespace tenlog::rig {

// What one send tick transmits.
enum class RequestScheme {
    None,                 // nothing
    BothAsText,           // frequency request, then mode request, as text
    CivAlternating,       // six hex bytes, frequency and mode on alternate cycles
    FrontPanelAlternating,// three hex bytes, frequency and mode on alternate cycles
    TextAlternating,      // text, frequency and mode on alternate cycles
    YaesuFiveBytes,       // the five hex bytes of the frequency request
    BothWithCarriageReturn,
    OperatorChoice,       // "Other": text, or hex byte text when the operator ticks it
    Rigctld,              // network daemon, see RigctldPoller
};

// What the receive tick runs on the bytes it collected.
enum class ReplyParser {
    None,
    Kenwood,          // frequency, then mode
    KenwoodInfo,      // the IF reply
    Ftdx,
    Civ,              // frequency or mode, by the request sent last
    YaesuStatus,
    Yaesu757Status,
    YaesuBinaryStatus,
    TenTecFrontPanel, // frequency or mode, by the request sent last
    Orion,            // frequency, then mode
    PegasusFile,
    Rigctld,
};

// How the radio is sent to a frequency.
enum class FrequencyCommand {
    None,
    KenwoodText,     // the first two letters of the frequency request, 11 Hz digits, ";"
    KenwoodVfoText,  // "FB" or "FA" by the VFO the radio last reported, 11 Hz digits, ";"
    ElecraftText,    // "FA", 11 Hz digits, ";"
    Civ,             // CI-V 05 with BCD Hz, least significant byte first
    TenTecBinary,    // "*A", Hz as a 32-bit number, most significant first, CR
    OrionText,       // "*AF", Hz digits, CR
    PegasusFile,     // the Pegasus control program's input file
    YaesuBcd,        // 10 Hz units as 4 BCD bytes, most significant first, opcode 01
    YaesuReversedBcd,// the same, least significant first, opcode 0A
    FtdxText,        // the first two letters of the frequency request, 8 Hz digits, ";"
    Rigctld,         // "F <Hz>", answered "RPRT <n>"
};

// Which column of the mode command table the radio takes.
enum class ModeCommand { None, Kenwood, Civ, Yaesu, YaesuReversed, Ftdx, Rigctld };

// The row of the binary status parser that decodes a Yaesu status block. The
// FT-1000D lays its block out like the FT-990 but sends 16 bytes, not 32.
enum class YaesuBinaryModel { None, Ft890, Ft920, Ft990, Ft1000D, Ft1000 };

struct RigProfile {
    QString name;
    // Serial defaults; nullopt keeps what the operator had chosen.
    std::optional<QString> baudRate; // as typed, without the padding
    std::optional<QString> dataBits;
    std::optional<QString> stopBits;
    std::optional<QString> parityCode;
    QString frequencyQuery;
    QString modeQuery;
    bool convertToHex = false;
    // Only "Other" lets the operator choose the hex conversion.
    bool hexBoxAvailable = false;
    // The note that Icom users must put their radio's address in the requests.
    bool showsIcomAddressNote = false;
    RequestScheme requestScheme = RequestScheme::None;
    ReplyParser parser = ReplyParser::None;
    YaesuBinaryModel yaesuModel = YaesuBinaryModel::None;
    // The serial port is opened; false for no radio, the Pegasus file
    // exchange and the network daemon.
    bool usesSerialPort = true;
    bool rtsHandshake = false;
    // Yaesu CAT radios get five zero bytes after opening and the closing
    // bytes at exit.
    bool yaesuWakeAndClose = false;
    // The Orion is told "X" + CR after opening.
    bool orionWake = false;
    // The IC-735 sends four frequency bytes, so the five-byte construction
    // comes out 100 times too large.
    bool civFourByteFrequency = false;
    FrequencyCommand frequencyCommand = FrequencyCommand::None;
    ModeCommand modeCommand = ModeCommand::None;
    // Waits before the frequency command goes out: the radio's own pause,
    // then a second one some radios need to finish the mode change.
    int commandDelayMs = 0;
    int commandExtraDelayMs = 0;
};

inline const QString kNoRigName = QStringLiteral("None");
inline const QString kRigctldRigName = QStringLiteral("Hamlib rigctld");

// Every row, in the order of the radio list.
std::span<const RigProfile> rigProfiles();
// The row named exactly name, or nullptr for a name the list does not hold
// (a file written by another version may name one).
const RigProfile* findRigProfile(const QString& name);

} // namespace tenlog::rig
