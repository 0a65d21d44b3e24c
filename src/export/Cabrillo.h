// The contest entry file: Cabrillo 2.0 for the contest "ARRL-10", built from
// the in-memory log and the details of the summary-sheet dialog.
//
// Layout: single-byte text, every line ended by CR LF.
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

namespace tenlog::log {
class ContestLog;
}

namespace tenlog::exports {

enum class CabrilloPower { High, Low, Qrp };
enum class CabrilloOperator { Single, Multiple };
enum class CabrilloMode { Mixed, Phone, Cw };

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

// Blanks (only blanks) removed at both ends.
QString blankTrimmed(const QString& text);

// "SINGLE-OP 10M LOW MIXED" and the like.
QString cabrilloCategory(const CabrilloDetails& details);

// The exchange sent with the contact at this 1-based position in the log.
QString cabrilloSentExchange(const QString& section, const QString& ownState, int position);

// One "QSO:" line without its line end.
QString cabrilloQsoLine(const log::QsoRecord& record, const QString& ownCall, const QString& sentExchange);

// The whole file.
QByteArray cabrilloFile(const CabrilloDetails& details, const CabrilloStation& station,
                        const QList<log::QsoRecord>& records, qint64 claimedScore);
// The same, claiming the score the main window shows.
QByteArray cabrilloFile(const CabrilloDetails& details, const CabrilloStation& station,
                        const log::ContestLog& contest);

} // namespace tenlog::exports
