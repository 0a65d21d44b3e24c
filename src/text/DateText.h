// Date and time text: the display patterns used on screen, in the log and in
// exports, and checking of dates and times the user types.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>

namespace tenlog::text {

// Formats with a BASIC-style pattern. Tokens, in any letter case:
//   yyyy year, yy two-digit year, mm/m month (minutes right after an hour token),
//   dd/d day, hh/h hour, nn/n minute, ss/s second, AMPM or AM/PM for " AM"/" PM".
// A doubled letter pads to two digits. With an AM/PM token the hours run 1..12.
// Any other character is copied. A date token with an invalid date, or a time
// token with an invalid time, gives an empty result.
// Examples: "yyyy/mm/dd", "MM/DD", "hh:nn:ss", "hh:mm", "h:nn:ss AMPM", "yyyymmddhhnn".
QString formatDateTime(const QDateTime& when, const QString& pattern);
QString formatDateTime(const QDate& date, const QTime& time, const QString& pattern);
// Time tokens see midnight.
QString formatDate(const QDate& date, const QString& pattern);
// Date tokens see 1899/12/30, BASIC's day zero.
QString formatTime(const QTime& time, const QString& pattern);

// Reads a date: year first "2013/12/14", "2013/1/5", "2013-12-14", or US order
// "12/14/2013" (also with "-"). The year has four digits, month and day one or
// two; one separator kind throughout. Blanks around the text are ignored.
// Impossible dates, empty text and anything extra are rejected.
std::optional<QDate> parseDate(const QString& text);
bool isValidDate(const QString& text);

// Reads a time: "h:mm", "hh:mm", "h:mm:ss" or "hh:mm:ss" on the 24-hour clock,
// or followed by AM or PM (blanks before it allowed) on the 12-hour clock with
// hours 1..12. Minutes and seconds always have two digits ("9:05", not "9:5").
// Blanks around the text are ignored.
std::optional<QTime> parseTime(const QString& text);
bool isValidTime(const QString& text);

} // namespace tenlog::text
