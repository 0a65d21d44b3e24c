// The decisions of the entry line.
#include "log/EntryRules.h"

#include "log/ContactLog.h"
#include "log/MultTable.h"
#include "text/DateText.h"

#include <cmath>

namespace tenlog::log {

QChar capitalLetter(QChar key)
{
    if (key >= QLatin1Char('a') && key <= QLatin1Char('z'))
        return QChar(key.unicode() - 32);
    return key;
}

QChar digitOnly(QChar key)
{
    if ((key >= QLatin1Char('0') && key <= QLatin1Char('9')) || key == QChar(8))
        return key;
    return QChar();
}

bool isExchangeChar(QChar c)
{
    return c.unicode() >= 32 && c.unicode() <= 126 && c != QLatin1Char('"');
}

QString keepExchangeChars(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text)
        if (isExchangeChar(c))
            kept += c;
    return kept;
}

bool carriesIntoReport(const QString& callText, QChar key, bool caretAtEnd)
{
    if (callText.size() <= 2 || !key.isDigit() || key.unicode() > 127 || !caretAtEnd)
        return false;
    int digits = 0;
    qsizetype lastDigit = -1;
    // From the second character on: a "/" or other character below "0" means
    // a portable call, which never carries.
    for (qsizetype i = 1; i < callText.size(); ++i) {
        const QChar c = callText.at(i);
        if (c.unicode() < 48)
            return false;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            ++digits;
            lastDigit = i;
        }
    }
    return digits > 0 && lastDigit != callText.size() - 1;
}

bool refreshesPartialDupes(QChar key)
{
    return key.unicode() >= 46 && key.unicode() <= 90;
}

namespace {

// Runs of digits after the part's first letter.
int digitGroupsAfterFirstLetter(QStringView part)
{
    int groups = 0;
    bool letterSeen = false;
    bool inDigits = false;
    for (QChar c : part) {
        const bool digit = c.isDigit();
        if (digit && letterSeen && !inDigits)
            ++groups;
        letterSeen = letterSeen || !digit;
        inDigits = digit;
    }
    return groups;
}

} // namespace

bool callShapeWarning(const QString& probe, QChar key)
{
    if (probe.size() != 3 || !refreshesPartialDupes(key))
        return false;
    auto callish = [](QChar c) { return c.unicode() >= 47 && c.unicode() <= 57; };
    return !callish(probe.at(1)) && !callish(probe.at(2));
}

std::optional<QString> callSignProblem(const QString& call)
{
    // The same length the entry line asks of a call before it logs.
    if (call.size() < 3)
        return QStringLiteral("Need Call Sign!");
    for (QChar c : call)
        if (!(c.isDigit() || c == u'/' || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')))
            return QStringLiteral("A call sign holds only letters, digits and \"/\".");
    for (QStringView part : QStringView(call).split(u'/'))
        if (digitGroupsAfterFirstLetter(part) > 1)
            return QStringLiteral("%1 is not one call sign.").arg(part.toString());
    return std::nullopt;
}

QString defaultReport(const QString& mode)
{
    return isCw(mode) ? QStringLiteral("599") : QStringLiteral("59");
}

int reportLength(const QString& mode)
{
    return isCw(mode) ? 3 : 2;
}

QList<Failure> checkEntryComplete(const QString& call, const QString& rstRcvd, const QString& secSer,
                      const QString& rstSnt, const QString& country)
{
    QList<Failure> failures;
    if (secSer.isEmpty())
        failures.append({EntryBox::SecSer, QStringLiteral("Need Section!")});
    if (rstRcvd.isEmpty())
        failures.append({EntryBox::RstRcvd, QStringLiteral("Report Received!")});
    if (call.size() < 3)
        failures.append({EntryBox::Call, QStringLiteral("Need Call Sign!")});
    if (country.isEmpty())
        failures.append({EntryBox::Country, QStringLiteral("Need Country!")});
    if (rstSnt.isEmpty())
        failures.append({EntryBox::RstSnt, QStringLiteral("Need Report Sent!")});
    return failures;
}

bool newCountryFlag(const QString& country, const QString& exchange, const QStringList& dxListOfMode)
{
    if (country.isEmpty() || country.compare(QLatin1String("Not Found"), Qt::CaseInsensitive) == 0)
        return false;
    if (isNorthAmerican(country) || exchange.startsWith(QLatin1Char('R'), Qt::CaseInsensitive))
        return false;
    return !dxListOfMode.contains(country, Qt::CaseInsensitive);
}

std::optional<QString> postContestDate(const QString& text)
{
    const auto date = text::parseDate(text);
    if (!date)
        return std::nullopt;
    return text::formatDate(*date, QStringLiteral("yyyy/mm/dd"));
}

std::optional<QString> postContestTime(const QString& text)
{
    QString typed = text;
    bool digitsOnly = !typed.isEmpty();
    for (const QChar c : typed)
        digitsOnly = digitsOnly && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (digitsOnly && (typed.size() == 3 || typed.size() == 4))
        typed.insert(typed.size() - 2, QLatin1Char(':'));
    const auto time = text::parseTime(typed);
    if (!time)
        return std::nullopt;
    return text::formatTime(*time, QStringLiteral("hh:nn"));
}

QDateTime utcFromLocal(const QDateTime& local, float utcOffsetHours)
{
    const double minutes = std::round(static_cast<double>(utcOffsetHours) * 60.0);
    // Wall-clock arithmetic: a daylight-saving change in the local zone must not move the stamp.
    return QDateTime(local.date(), local.time(), Qt::UTC).addSecs(static_cast<qint64>(minutes) * 60);
}

} // namespace tenlog::log
