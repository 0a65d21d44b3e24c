// The radio table. Serial defaults are the ones each radio's manual gives for
// its CAT port; the request strings are the radio's own read commands.
#include "rig/RigProfiles.h"

#include <vector>

namespace tenlog::rig {

namespace {

using S = RequestScheme;
using P = ReplyParser;
using F = FrequencyCommand;
using M = ModeCommand;

RigProfile withCommands(RigProfile row, F frequency, M mode, int delayMs, int extraDelayMs = 0)
{
    row.frequencyCommand = frequency;
    row.modeCommand = mode;
    row.commandDelayMs = delayMs;
    row.commandExtraDelayMs = extraDelayMs;
    return row;
}

// A row with serial defaults: bits per second, data bits, stop bits, parity.
RigProfile serialRow(const char* name, const char* baud, const char* data, const char* stop, const char* parity,
                     const char* frequencyQuery, const char* modeQuery, bool hex, S scheme, P parser)
{
    RigProfile row;
    row.name = QString::fromLatin1(name);
    row.baudRate = QString::fromLatin1(baud);
    if (data)
        row.dataBits = QString::fromLatin1(data);
    if (stop)
        row.stopBits = QString::fromLatin1(stop);
    if (parity)
        row.parityCode = QString::fromLatin1(parity);
    row.frequencyQuery = QString::fromLatin1(frequencyQuery);
    row.modeQuery = QString::fromLatin1(modeQuery);
    row.convertToHex = hex;
    row.requestScheme = scheme;
    row.parser = parser;
    return row;
}

// A row that keeps the operator's serial options.
RigProfile keepSerialRow(const char* name, S scheme, P parser, bool usesSerialPort)
{
    RigProfile row;
    row.name = QString::fromLatin1(name);
    row.requestScheme = scheme;
    row.parser = parser;
    row.usesSerialPort = usesSerialPort;
    return row;
}

RigProfile yaesuBinaryRow(const char* name, YaesuBinaryModel model)
{
    RigProfile row = serialRow(name, "4800", "8", "2", "N", "00 00 00 02 10", "", true, S::YaesuFiveBytes,
                               P::YaesuBinaryStatus);
    row.yaesuModel = model;
    row.yaesuWakeAndClose = true;
    // The FT-1000 takes its commands faster than the others.
    return withCommands(row, F::YaesuReversedBcd, M::YaesuReversed, model == YaesuBinaryModel::Ft1000 ? 10 : 205);
}

std::vector<RigProfile> buildTable()
{
    std::vector<RigProfile> rows;
    rows.push_back(keepSerialRow("None", S::None, P::None, false));
    rows.push_back(withCommands(
        serialRow("Elecraft", "4800", "8", "2", "N", "FA;", "MD;", false, S::BothAsText, P::Kenwood), F::ElecraftText,
        M::Kenwood, 205, 1000));

    RigProfile icom = serialRow("Icom", "1200", "8", "1", "N", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true,
                                S::CivAlternating, P::Civ);
    icom.showsIcomAddressNote = true;
    icom = withCommands(icom, F::Civ, M::Civ, 140);
    rows.push_back(icom);
    RigProfile icom735 = icom;
    icom735.name = QStringLiteral("Icom 735");
    icom735.civFourByteFrequency = true;
    icom735.modeCommand = M::None;
    rows.push_back(icom735);

    rows.push_back(withCommands(
        serialRow("Kenwood", "4800", "8", "2", "N", "FA;", "MD;", false, S::BothAsText, P::Kenwood), F::KenwoodText,
        M::Kenwood, 205));
    rows.push_back(withCommands(
        serialRow("Kenwood 2", "4800", "8", "2", "N", "IF;", "", false, S::BothAsText, P::KenwoodInfo),
        F::KenwoodVfoText, M::Kenwood, 205));
    rows.push_back(withCommands(serialRow("Ten Tec Omni VI", "1200", "8", "1", "N", "FE FE 04 E0 03 FD",
                                          "FE FE 04 E0 04 FD", true, S::CivAlternating, P::Civ),
                                F::Civ, M::Civ, 140, 220));

    RigProfile orion = serialRow("Ten Tec Orion", "56000", "8", "1", "N", "?AF", "?RMM", false,
                                 S::BothWithCarriageReturn, P::Orion);
    orion.rtsHandshake = true;
    orion.orionWake = true;
    orion = withCommands(orion, F::OrionText, M::None, 205);
    rows.push_back(orion);
    RigProfile frontPanel = serialRow("Ten Tec Fnt Pnl", "56000", "8", "1", "N", "3F 41 0D", "3F 4D 0D", true,
                                      S::FrontPanelAlternating, P::TenTecFrontPanel);
    frontPanel.rtsHandshake = true;
    frontPanel = withCommands(frontPanel, F::TenTecBinary, M::None, 205);
    rows.push_back(frontPanel);
    rows.push_back(withCommands(keepSerialRow("Ten Tec Pegasus", S::None, P::PegasusFile, false), F::PegasusFile,
                                M::None, 205));

    RigProfile yaesu = serialRow("Yaesu", "4800", "8", "2", "N", "00 00 00 00 03", "", true, S::YaesuFiveBytes,
                                 P::YaesuStatus);
    yaesu.yaesuWakeAndClose = true;
    yaesu = withCommands(yaesu, F::YaesuBcd, M::Yaesu, 205);
    rows.push_back(yaesu);
    RigProfile yaesu757 = serialRow("Yaesu 757 GX II", "4800", "8", "2", "N", "00 00 00 00 10", "", true,
                                    S::YaesuFiveBytes, P::Yaesu757Status);
    yaesu757.yaesuWakeAndClose = true;
    yaesu757 = withCommands(yaesu757, F::YaesuReversedBcd, M::YaesuReversed, 205);
    rows.push_back(yaesu757);
    rows.push_back(yaesuBinaryRow("Yaesu 890", YaesuBinaryModel::Ft890));
    rows.push_back(yaesuBinaryRow("Yaesu 920", YaesuBinaryModel::Ft920));
    rows.push_back(yaesuBinaryRow("Yaesu 990", YaesuBinaryModel::Ft990));
    rows.push_back(yaesuBinaryRow("Yaesu 1000 D", YaesuBinaryModel::Ft1000D));
    rows.push_back(yaesuBinaryRow("Yaesu 1000", YaesuBinaryModel::Ft1000));
    // The FTdx9000 speaks text CAT; only its bit rate is set.
    rows.push_back(withCommands(serialRow("Yaesu FTdx9000", "4800", nullptr, nullptr, nullptr, "FA;", "MD0;", false,
                                          S::TextAlternating, P::Ftdx),
                                F::FtdxText, M::Ftdx, 205));

    // Network rig daemon: no serial options of its own. Placed before "Other"
    // so the free entry stays last; the files store the radio by name, so the
    // position does not matter to them.
    // rigctld answers every command, so no pause is needed before one.
    rows.push_back(withCommands(keepSerialRow("Hamlib rigctld", S::Rigctld, P::Rigctld, false), F::Rigctld,
                                M::Rigctld, 0));

    RigProfile other = keepSerialRow("Other", S::OperatorChoice, P::None, true);
    other.hexBoxAvailable = true;
    rows.push_back(other);
    return rows;
}

} // namespace

std::span<const RigProfile> rigProfiles()
{
    static const std::vector<RigProfile> table = buildTable();
    return table;
}

const RigProfile* findRigProfile(const QString& name)
{
    for (const RigProfile& row : rigProfiles()) {
        if (row.name == name)
            return &row;
    }
    return nullptr;
}

} // namespace tenlog::rig
