// The decisions of the entry line, apart from the widgets that carry them
// out: key filters, the carry of a character typed into the wrong box, the
// completeness check, the "New" country flag, report defaults and the UTC
// stamp of a logged contact.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace tenlog::log {

// Lower-case letters become capitals; every other key passes.
QChar capitalLetter(QChar key);
// Digits and backspace pass; anything else is dropped (nullopt-like: QChar()).
QChar digitOnly(QChar key);

// What a call sign, a report or an exchange can hold: printable ASCII
// without the double quote (the log checkers take nothing else).
bool isExchangeChar(QChar c);
// The text with every other character dropped.
QString keepExchangeChars(const QString& text);

// A digit typed at the end of a call that already holds a digit followed by
// letters (K1ABC then 5) starts the received report instead.
bool carriesIntoReport(const QString& callText, QChar key, bool caretAtEnd);

// Keys that refresh the partial-duplicate list: "." "/" digits, the
// punctuation from ":" to "@" and capital letters.
bool refreshesPartialDupes(QChar key);
// A call whose second and third characters hold neither a digit nor "/" is
// suspicious: true when the warning should show for this probe and key.
bool callShapeWarning(const QString& probe, QChar key);
// Why a whole text cannot be a call sign, or nothing when it can: shorter
// than three characters ("Need Call Sign!", as the entry line says); a
// character other than a letter, digit or "/"; or a part between "/"s with
// two groups of digits after its first letter, as a call typed twice
// (W1AWW1AW) has, while 4U1ITU and 3DA0RU have one. The shape warning above
// only warns: 3DA0RU is a real call.
std::optional<QString> callSignProblem(const QString& call);

// The default report of a mode: "599" on CW, "59" on phone.
QString defaultReport(const QString& mode);
int reportLength(const QString& mode);

// The completeness check. The failures in the order they are tested; the
// last one's message and box are what the operator is left with.
enum class EntryBox { Call, RstRcvd, SecSer, RstSnt, Country };
struct Failure {
    EntryBox box;
    QString message;
};
QList<Failure> checkEntryComplete(const QString& call, const QString& rstRcvd, const QString& secSer,
                      const QString& rstSnt, const QString& country);

// Whether the "New" label shows: a DX country not yet in this mode's list.
bool newCountryFlag(const QString& country, const QString& exchange, const QStringList& dxListOfMode);

// Contacts typed in after the contest: the date box read and rewritten as
// "yyyy/mm/dd", the time box as "hh:mm" (934 and 1234 are read as 9:34 and
// 12:34 first). nullopt when the text is not a valid date or time.
std::optional<QString> postContestDate(const QString& text);
std::optional<QString> postContestTime(const QString& text);

// UTC is local time plus the offset in hours, added as whole minutes.
QDateTime utcFromLocal(const QDateTime& local, float utcOffsetHours);

} // namespace tenlog::log
