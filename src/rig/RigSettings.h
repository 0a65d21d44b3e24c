// The rig link settings and their file "RigCntrl.txt" in the working folder.
//
// RigCntrl.txt: one quoted-value a line, CR LF ends, in this order:
//   1 bit rate, quoted, always 5 characters ("9600 ")   8 port number, bare
//   2 parity code, quoted ("N", "O", "E")               9 power line code, quoted
//   3 data bits, quoted                                10 polling rate code, quoted
//   4 stop bits, quoted                                11 radio name, quoted
//   5 mode request, quoted                             12 convert to hex, bare 0 or 1
//   6 frequency request, quoted                        13 use frequency, bare 0 or 1
//   7 port parameter text, quoted ("9600,N,8,1")       14 mode by, bare 1, 2 or 3
//  15 rigctld host, quoted                             16 rigctld port, bare
//  17 Hamlib model number, bare (0: a rigctld already running at 15 and 16)
//  18 Hamlib serial device, quoted                     19 Hamlib speed, bare (0: the model's own)
// Lines 15 to 19 are this program's addition for the network rig daemon.
// Programs that read the first fourteen values stop there and never see
// them, and a file without them leaves the defaults (a rigctld already
// running), so files go both ways.
//
// Reading stops at the first value that is not valid for its field (a code
// that names no option, a port outside 1 to 10, a check box that is neither 0
// nor 1), at a quote left open, or at data that ends in the middle of a line;
// what was read until then stays, everything else keeps its value, and the
// damage is named. A missing file, or one that ends cleanly after some whole
// values (written by an older version), is no fault and says nothing.
#pragma once

#include "rig/RigProfiles.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tenlog::rig {

enum class ModeBy { Rig = 1, Frequency = 2, DontUse = 3 };

struct RigSettings {
    QString baudRate = QStringLiteral("56000"); // exactly 5 characters, blank padded
    QString parityCode = QStringLiteral("N");
    QString dataBits = QStringLiteral("8");
    QString stopBits = QStringLiteral("1");
    QString modeQuery;
    QString frequencyQuery;
    QString commSettings = QStringLiteral("56000,N,8,1");
    int commPortNumber = 1;                     // 1..10 (0..255 in the file)
    QString powerCode = QStringLiteral("N");    // "N" none, "R" RTS, "D" DTR
    QString pollRateCode = QStringLiteral("M"); // "F", "M", "S", "R"
    QString rigName = kNoRigName;
    bool convertToHex = false;
    bool useFrequency = true;
    ModeBy modeBy = ModeBy::Rig;
    QString rigctldHost = QStringLiteral("127.0.0.1");
    quint16 rigctldPort = 4532;
    // A Hamlib model number makes the program start its own rigctld for the
    // radio on hamlibDevice; 0 polls the rigctld at the host and port above.
    int hamlibModel = 0;
    QString hamlibDevice = QStringLiteral("/dev/ttyUSB0");
    int hamlibSpeed = 0; // bits per second; 0 leaves the model's own

    // The program starts and owns the rigctld it polls.
    bool startsOwnRigctld() const { return hamlibModel > 0; }

    bool operator==(const RigSettings&) const = default;
};

inline constexpr int kRigSettingsLines = 14;

// The bit rates the operator chooses from, as the file holds them (before
// the padding to 5 characters).
inline const QStringList kRigBaudRates = {QStringLiteral("1200"),  QStringLiteral("2400"),  QStringLiteral("4800"),
                                          QStringLiteral("9600"),  QStringLiteral("14400"), QStringLiteral("19200"),
                                          QStringLiteral("28800"), QStringLiteral("38400"), QStringLiteral("56000")};

// The speeds offered for a Hamlib radio, 0 standing for the model's own.
inline const QList<int> kHamlibSpeeds = {0, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

QString rigSettingsFileName();

// Text put in a fixed-width field: cut or blank padded to width.
QString fixedWidth(const QString& text, int width);
// The port parameter text built from the fields: "9600,N,8,1".
QString commSettingsText(const RigSettings& settings);

// Choosing a radio: its name, its request strings and hex flag, and its
// serial options where it has them (the others stay).
void applyRigProfile(RigSettings& settings, const RigProfile& profile);

// Reads file data into settings, value by value, stopping at the first one
// that cannot be taken. Returns how many values were taken; *damage names
// the fault with fileName and the line ("RigCntrl.txt line 13: ..."), and is
// empty when there is none.
int readRigSettings(const QByteArray& data, RigSettings& settings, QString* damage = nullptr,
                    const QString& fileName = QString());
// The file's bytes; empty with the reason when a text cannot be written (a
// double quote or a character beyond Latin-1).
QByteArray rigSettingsBytes(const RigSettings& settings, QString* error = nullptr);

// Reads RigCntrl.txt in folder (found in any letter case) into settings; a
// missing file changes nothing. Returns how many values were taken. A damaged
// or unreadable file is named in *problem with what is wrong and what that
// means; *problem is empty otherwise.
int loadRigSettings(const QString& folder, RigSettings& settings, QString* problem = nullptr);
// Replaces RigCntrl.txt in folder through the atomic writer.
bool saveRigSettings(const QString& folder, const RigSettings& settings, QString* error = nullptr);

} // namespace tenlog::rig
