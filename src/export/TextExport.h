// The two plain-text ways out of the program: "LogExp.txt" for the maker's
// general logging program (Tessary) and the clipboard text of the contact list.
//
// LogExp.txt (quoted-value file, CR LF line ends): one line per contact in
// log order, sixteen values:
//   "Call","yyyy/mm/dd","10","CW"|"SSB",,"hh:mm:ss","RstSnt","RstRcvd",,
//   "Country","SecSer" (US, Alaska and Hawaii only, else ""),,,,,
//   "ARRL 10 Meter Contest  - Section/Serial = SecSer"
//
// Clipboard text: the list's column headings joined by tabs, then one line
// per listed row from the bottom row up (the list shows the newest first, so
// the text runs oldest first), cells joined by tabs; every line ends CR LF.
#pragma once

#include "log/ContactLog.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tenlog::exports {

inline constexpr char kTessaryFileName[] = "LogExp.txt";

// The whole of LogExp.txt; nullopt (with the reason) when a record holds a
// character the file cannot carry (a double quote, or one outside Latin-1).
std::optional<QByteArray> tessaryExportData(const QList<log::QsoRecord>& records, QString* error = nullptr);

// The clipboard text of a list, given its headings and its rows top to bottom.
QString clipboardText(const QStringList& headings, const QList<QStringList>& rowsTopDown);

} // namespace tenlog::exports
