// The ADIF export: the DXCC table "ADIFCnt.txt" and the text of the ".adi"
// file written from the log.
//
// ADIFCnt.txt (quoted-value file): pairs of values, "country",number, the
// country spelled as the prefix lookup spells it and its DXCC entity number
// (16-bit). At most 1000 pairs.
//
// The .adi file (Latin-1, CR LF line ends): a header of free text and the
// header fields ADIF_Ver, ProgramID, ProgramVersion and Created_Timestamp
// (UTC "YYYYMMDD HHMMSS"), ended by "<EOH>", then one record per contact.
// Every field is "<Name:length>data" (the date carries the type:
// "<Qso_Date:8:d>"), the length counting the bytes of the data, which is
// one byte per character. A record's fields, each but a line's last one
// followed by one space:
//   line 1: Call, Qso_Date, Band, Freq, Mode
//   line 2: Tx_Pwr, Time_On, DXCC, State, RST_Sent, RST_Rcvd, Comment
//   line 3: Contest_ID, STX_String, SRX_String, Station_Callsign, "<eor>"
// and an empty line:
//   <Call:5>K1ABC <Qso_Date:8:d>20131214 <Band:3>10M <Freq:6>28.025 <Mode:2>CW
//   <Tx_Pwr:3>100 <Time_On:4>1405 <DXCC:3>291 <State:2>CT <RST_Sent:3>599 <RST_Rcvd:3>599 <Comment:21>ARRL 10 Meter Contest
//   <Contest_ID:7>ARRL-10 <STX_String:2>CT <SRX_String:2>MA <Station_Callsign:4>W1AW <eor>
//
// Logbooks refuse a record whose Freq is no number, so a stored frequency
// that is not a plain decimal number of MHz is left out. STX_String is the
// exchange sent as the Cabrillo file sends it (the own state, or the
// contact's position in the log for DX stations) and SRX_String the exchange
// received; they and Station_Callsign are left out when empty.
//
#pragma once

#include "log/ContactLog.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tenlog::exports {

inline constexpr char kDxccFileName[] = "ADIFCnt.txt";
inline constexpr char kAdifVersion[] = "3.1.4";
inline constexpr char kAdifContestId[] = "ARRL-10";

struct DxccEntry {
    QString country;
    int number = 0;
};

// The country-to-DXCC table of ADIFCnt.txt.
class DxccTable {
public:
    static constexpr int kCapacity = 1000;

    // Reads the table's data. On error the table is left empty and the
    // reason is returned in *error.
    bool loadData(const QByteArray& data, QString* error = nullptr);
    // Finds the file in the first of the folders that holds it (name matched
    // without regard to letter case) and reads it.
    bool loadFirstFound(const QStringList& folders, QString* error = nullptr);

    // The number of the first entry whose name equals the country (blanks
    // around it dropped, letter case ignored); 0 for a country of two
    // characters or fewer, or one the table does not hold.
    int lookup(const QString& country) const;

    const QList<DxccEntry>& entries() const { return m_entries; }

private:
    QList<DxccEntry> m_entries;
    QHash<QString, int> m_firstByName; // case-folded name -> number of its first entry
};

// The two values typed at export time, added to every contact.
struct AdifExtras {
    QString power;
    QString comment;
};

// The typed power as a record carries it: without blanks around it, and only
// when it is a number of watts ("100", "0.5"), since logbooks refuse any other
// Tx_Pwr. Empty for nothing typed; nullopt for text that is not a power
// ("100W", "-5"), which the export asks about again.
std::optional<QString> adifPower(const QString& typed);

// The station the log was kept by: its call, its state or province and the
// section of the summary sheet ("DX" sends serial numbers).
struct AdifStation {
    QString ownCall;
    QString ownState;
    QString section;
};

// The header: the program line with the window caption, two lines about the
// program, the export date as given, the header fields (Created_Timestamp
// only when the time is valid), and "<EOH>" between empty lines.
QByteArray adifHeader(const QString& caption, const QString& exportedOn, const QDateTime& createdUtc = {});

// One contact's record, from "<Call:" to the empty line after "<eor>";
// position is the contact's 1-based place in the log.
QByteArray adifRecord(const log::QsoRecord& record, const DxccTable& dxcc, const AdifExtras& extras,
                      const AdifStation& station = {}, int position = 1);

// Header and every record in log order.
QByteArray adifFile(const QByteArray& header, const QList<log::QsoRecord>& records, const DxccTable& dxcc,
                    const AdifExtras& extras, const AdifStation& station = {});

// True for an ADIF number: digits with at most one decimal point, an
// optional leading minus sign.
bool isAdifNumber(const QString& text);

// The Time_On data: hours and minutes of the stored time, four digits.
QString adifTimeOn(const QString& qsoTime);

// The State data, for US contacts only; nullopt when no State field is written.
std::optional<QString> adifState(const log::QsoRecord& record);

} // namespace tenlog::exports
