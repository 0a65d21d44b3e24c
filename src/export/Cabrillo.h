// The contest entry file for the contest "ARRL-10", built from the in-memory
// log and the details of the summary-sheet dialog, in Cabrillo 2.0 (the
// default) or Cabrillo 3.0.
//
// Cabrillo 2.0 layout: single-byte text, every line ended by CR LF.
//   START-OF-LOG: 2.0
//   CREATED-BY: <caption, first 50 characters, trimmed>
//   ARRL-SECTION: <section, trimmed>
//   CONTEST: ARRL-10
//   CALLSIGN: <own call>
//   CATEGORY: <SINGLE-OP|MULTI-ONE> 10M <HIGH|LOW|QRP> <MIXED|SSB|CW>
//   CLAIMED-SCORE:  <score>          (the score printed on its own: " n ")
//   OPERATORS: <operators, or the own call when there are none>
//   CLUB: / NAME: / ADDRESS: / ADDRESS: / ADDRESS: (e-mail) / SOAPBOX:
//   QSO: lines, one per contact in logging order
//   END-OF-LOG:
//
// Cabrillo 3.0 layout, the same character set and line ends, one tag a line:
//   START-OF-LOG: 3.0
//   CONTEST: ARRL-10
//   CALLSIGN: <own call>
//   CATEGORY-OPERATOR: SINGLE-OP|MULTI-OP      (MULTI-OP with one transmitter
//   CATEGORY-MODE: MIXED|CW|SSB                 is this contest's multi-single)
//   CATEGORY-POWER: HIGH|LOW|QRP
//   CATEGORY-BAND: 10M
//   CATEGORY-TRANSMITTER: ONE
//   CATEGORY-ASSISTED: NON-ASSISTED           (the dialog offers no other)
//   LOCATION: <section, trimmed; when none is typed, the own state or
//              province of a US or Canadian station, DX for others>
//   EMAIL: / NAME: / ADDRESS: (one per address line)   only when typed
//   CLAIMED-SCORE: <score, digits only>
//   OPERATORS: <operators, or the own call when there are none>
//   CLUB:                                      only when typed
//   SOAPBOX: lines as in 2.0, none for an empty soapbox
//   CREATED-BY: <as in 2.0>
//   QSO: lines exactly as in 2.0
//   END-OF-LOG:
// Log checkers of 3.0 files treat an empty optional tag as a value, so a
// detail left blank writes no line rather than an empty one.
//
// A QSO: line, columns 1-based:
//   QSO: 28000 CW 2013-12-14 1405 W1AW          599     CT K1ABC         579     MA
//   1    6     12 15         26   31            45      54 56            70      79
// Fields start in the columns shown, except the exchange sent, which ends in
// column 54, and the exchange received, which ends in column 79; two blanks
// close the line.
//
// Values that do not fit the ruler. Log checkers split QSO: lines on white
// space, so each of the eleven fields must stay exactly one token:
//  - blanks and control characters inside a field are dropped ("K1 ABC" is
//    written K1ABC), and a field left empty is written as "-";
//  - a date the date reader accepts ("2013/12/14", "2013/1/5", "12/14/2013")
//    is written yyyy-mm-dd, anything else as it stands; a time the time
//    reader accepts ("14:05:33", "14:05", "9:05") is written hhmm, anything
//    else as its first two characters and its fourth and fifth;
//  - a field starts in its column when at least one blank separates it there
//    from the field before; when a longer field before it has run into its
//    column, it follows that field after one blank. Later fields return to
//    their own columns as soon as there is room, so one long call moves only
//    what stands directly behind it.
// A DX station's serial number ends in column 54 like any exchange sent; the
// blank written before it is the gap before the field.
// Header values are single lines: a line break or other control character in
// them is written as a blank. A multi-line soapbox becomes one "SOAPBOX: "
// line per line of text, empty lines at its end dropped (an empty soapbox
// still writes one). Characters beyond the single-byte set are written as "?".
#pragma once

#include "log/ContactLog.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <utility>

namespace tenlog::log {
class ContestLog;
}

namespace tenlog::exports {

enum class CabrilloPower { High, Low, Qrp };
enum class CabrilloOperator { Single, Multiple };
enum class CabrilloMode { Mixed, Phone, Cw };
enum class CabrilloFormat { V2, V3 };

// What the summary-sheet dialog collects, as typed.
struct CabrilloDetails {
    QString name;      // Text5
    QString address1;  // Text6
    QString address2;  // Text7
    QString email;     // Text8
    QString section;   // Text1; exactly "DX" sends serial numbers
    QString club;      // Text10
    QString soapbox;   // Text11
    QString operators; // Text2
    CabrilloPower power = CabrilloPower::Low;
    CabrilloOperator op = CabrilloOperator::Single;
    CabrilloMode mode = CabrilloMode::Mixed;
    CabrilloFormat format = CabrilloFormat::V2;
};

// The station and program the file is written for.
struct CabrilloStation {
    QString ownCall;   // already trimmed by the caller
    QString ownState;  // the exchange sent by stations that are not DX
    QString createdBy; // the main window's caption
};

// The details that are remembered between runs: the member of
// CabrilloDetails, the dialog box it is typed into, its key in the settings
// store and its tag in the shared preferences document, in the order they
// are saved.
struct RememberedDetail {
    QString CabrilloDetails::*member;
    const char* control;
    const char* settingsKey;
    const char* sharedTag;
};
extern const std::array<RememberedDetail, 6> kRememberedDetails;

inline constexpr auto kSettingsApplication = "Korvo_Software";
inline constexpr auto kSettingsSection = "Settings";
// The chosen file format, beside the remembered details: "2.0" or "3.0".
inline constexpr auto kFormatSettingsKey = "CabrilloFormat";

// The settings value of a format and back; anything unknown reads as 2.0.
QString cabrilloFormatSetting(CabrilloFormat format);
CabrilloFormat cabrilloFormatFromSetting(const QString& value);

// Blanks (only blanks) removed at both ends.
QString blankTrimmed(const QString& text);

// "SINGLE-OP 10M LOW MIXED" and the like.
QString cabrilloCategory(const CabrilloDetails& details);

// The 3.0 category lines' values, in the order they are written:
// {"CATEGORY-OPERATOR", "SINGLE-OP"}, {"CATEGORY-MODE", "MIXED"} and so on.
QList<std::pair<QString, QString>> cabrilloCategoryTags(const CabrilloDetails& details);

// The section a station's own state or province stands for in the summary
// sheet: the state or province of a US or Canadian station, "DX" for a
// station whose own exchange is "DX", empty otherwise (a Mexican state, a
// region or text that is no multiplier: the operator types it).
QString sectionOfOwnState(const QString& ownState);
// The 3.0 LOCATION: the section typed; when none is, the own state's
// section, "DX" for a Mexican state or a maritime region; empty when not known.
QString cabrilloLocation(const QString& section, const QString& ownState);

// The exchange sent with the contact at this 1-based position in the log.
QString cabrilloSentExchange(const QString& section, const QString& ownState, int position);

// One "QSO:" line without its line end.
QString cabrilloQsoLine(const log::QsoRecord& record, const QString& ownCall, const QString& sentExchange);

// The whole file, in the format the details name.
QByteArray cabrilloFile(const CabrilloDetails& details, const CabrilloStation& station,
                        const QList<log::QsoRecord>& records, qint64 claimedScore);
// The same, claiming the score the main window shows.
QByteArray cabrilloFile(const CabrilloDetails& details, const CabrilloStation& station,
                        const log::ContestLog& contest);

} // namespace tenlog::exports
