// Date and time text: a small token formatter for the BASIC-style display
// patterns and strict readers for typed dates and times.
#include "text/DateText.h"

#include <QLatin1StringView>
#include <QRegularExpression>

#include <vector>

namespace tenlog::text {

namespace {

enum class Token { Literal, Year4, Year2, Month, Month2, Day, Day2, Hour, Hour2, Minute, Minute2, Second, Second2, AmPm };

struct Piece
{
    Token token;
    QChar literal;
};

// True when `word` (lower case) stands at `at` in the pattern, in any letter case.
bool matchesAt(const QString& pattern, qsizetype at, QLatin1StringView word)
{
    if (at + word.size() > pattern.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (pattern[at + i].toLower() != QLatin1Char(word[i]))
            return false;
    }
    return true;
}

std::vector<Piece> tokenize(const QString& pattern)
{
    struct Word
    {
        QLatin1StringView text;
        Token token;
    };
    // Longest first so that "hh" wins over "h" and "am/pm" over a literal 'a'.
    static const Word words[] = {
        {QLatin1StringView("am/pm"), Token::AmPm}, {QLatin1StringView("ampm"), Token::AmPm},
        {QLatin1StringView("yyyy"), Token::Year4}, {QLatin1StringView("yy"), Token::Year2},
        {QLatin1StringView("mm"), Token::Month2},  {QLatin1StringView("m"), Token::Month},
        {QLatin1StringView("dd"), Token::Day2},    {QLatin1StringView("d"), Token::Day},
        {QLatin1StringView("hh"), Token::Hour2},   {QLatin1StringView("h"), Token::Hour},
        {QLatin1StringView("nn"), Token::Minute2}, {QLatin1StringView("n"), Token::Minute},
        {QLatin1StringView("ss"), Token::Second2}, {QLatin1StringView("s"), Token::Second},
    };
    std::vector<Piece> pieces;
    bool afterHour = false;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const Word* found = nullptr;
        for (const Word& word : words) {
            if (matchesAt(pattern, i, word.text)) {
                found = &word;
                break;
            }
        }
        if (!found) {
            pieces.push_back({Token::Literal, pattern[i]});
            ++i;
            continue;
        }
        Token token = found->token;
        // "hh:mm" means minutes: an m right after an hour is never a month.
        if (afterHour && token == Token::Month)
            token = Token::Minute;
        else if (afterHour && token == Token::Month2)
            token = Token::Minute2;
        afterHour = token == Token::Hour || token == Token::Hour2;
        pieces.push_back({token, QChar()});
        i += found->text.size();
    }
    return pieces;
}

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, u'0');
}

bool isDateToken(Token token)
{
    switch (token) {
    case Token::Year4:
    case Token::Year2:
    case Token::Month:
    case Token::Month2:
    case Token::Day:
    case Token::Day2:
        return true;
    default:
        return false;
    }
}

} // namespace

QString formatDateTime(const QDateTime& when, const QString& pattern)
{
    return formatDateTime(when.date(), when.time(), pattern);
}

QString formatDateTime(const QDate& date, const QTime& time, const QString& pattern)
{
    const std::vector<Piece> pieces = tokenize(pattern);
    bool twelveHour = false;
    for (const Piece& piece : pieces) {
        if (piece.token == Token::AmPm)
            twelveHour = true;
    }
    QString out;
    out.reserve(pattern.size() + 8);
    for (const Piece& piece : pieces) {
        if (piece.token == Token::Literal) {
            out.append(piece.literal);
            continue;
        }
        if (isDateToken(piece.token) ? !date.isValid() : !time.isValid())
            return QString();
        int hour = time.hour();
        if (twelveHour) {
            hour %= 12;
            if (hour == 0)
                hour = 12;
        }
        switch (piece.token) {
        case Token::Year4:
            out.append(QString::number(date.year()).rightJustified(4, u'0'));
            break;
        case Token::Year2:
            out.append(twoDigits(date.year() % 100));
            break;
        case Token::Month:
            out.append(QString::number(date.month()));
            break;
        case Token::Month2:
            out.append(twoDigits(date.month()));
            break;
        case Token::Day:
            out.append(QString::number(date.day()));
            break;
        case Token::Day2:
            out.append(twoDigits(date.day()));
            break;
        case Token::Hour:
            out.append(QString::number(hour));
            break;
        case Token::Hour2:
            out.append(twoDigits(hour));
            break;
        case Token::Minute:
            out.append(QString::number(time.minute()));
            break;
        case Token::Minute2:
            out.append(twoDigits(time.minute()));
            break;
        case Token::Second:
            out.append(QString::number(time.second()));
            break;
        case Token::Second2:
            out.append(twoDigits(time.second()));
            break;
        case Token::AmPm:
            out.append(time.hour() < 12 ? QLatin1StringView("AM") : QLatin1StringView("PM"));
            break;
        case Token::Literal:
            break;
        }
    }
    return out;
}

QString formatDate(const QDate& date, const QString& pattern)
{
    return formatDateTime(date, QTime(0, 0), pattern);
}

QString formatTime(const QTime& time, const QString& pattern)
{
    return formatDateTime(QDate(1899, 12, 30), time, pattern);
}

namespace {

// The forms the log itself stores ("yyyy/mm/dd", "hh:mm:ss", "hh:mm") are
// read without the regular expressions: the rate labels read every recent
// record after each contact.
int digitsAt(const QString& text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

} // namespace

std::optional<QDate> parseDate(const QString& text)
{
    if (text.size() == 10 && text.at(4) == u'/' && text.at(7) == u'/') {
        const int year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2), day = digitsAt(text, 8, 2);
        if (year >= 0 && month >= 0 && day >= 0) {
            if (!QDate::isValid(year, month, day))
                return std::nullopt;
            return QDate(year, month, day);
        }
    }
    // [0-9] rather than \d: other scripts' digits are not dates here.
    static const QRegularExpression yearFirst(
        QStringLiteral("^([0-9]{4})([/-])([0-9]{1,2})\\2([0-9]{1,2})$"));
    static const QRegularExpression yearLast(
        QStringLiteral("^([0-9]{1,2})([/-])([0-9]{1,2})\\2([0-9]{4})$"));
    const QString trimmed = text.trimmed();
    int year = 0;
    int month = 0;
    int day = 0;
    if (const auto m = yearFirst.match(trimmed); m.hasMatch()) {
        year = m.captured(1).toInt();
        month = m.captured(3).toInt();
        day = m.captured(4).toInt();
    } else if (const auto us = yearLast.match(trimmed); us.hasMatch()) {
        month = us.captured(1).toInt();
        day = us.captured(3).toInt();
        year = us.captured(4).toInt();
    } else {
        return std::nullopt;
    }
    if (!QDate::isValid(year, month, day))
        return std::nullopt;
    return QDate(year, month, day);
}

bool isValidDate(const QString& text)
{
    return parseDate(text).has_value();
}

std::optional<QTime> parseTime(const QString& text)
{
    if ((text.size() == 8 || text.size() == 5) && text.at(2) == u':' && (text.size() == 5 || text.at(5) == u':')) {
        const int hour = digitsAt(text, 0, 2), minute = digitsAt(text, 3, 2);
        const int second = text.size() == 8 ? digitsAt(text, 6, 2) : 0;
        if (hour >= 0 && minute >= 0 && second >= 0) {
            if (!QTime::isValid(hour, minute, second))
                return std::nullopt;
            return QTime(hour, minute, second);
        }
    }
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?(?:[ \\t]*([AaPp][Mm]))?$"));
    const auto m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    int hour = m.captured(1).toInt();
    const int minute = m.captured(2).toInt();
    const int second = m.hasCaptured(3) ? m.captured(3).toInt() : 0;
    if (m.hasCaptured(4)) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        const bool pm = m.captured(4).front().toUpper() == u'P';
        hour = hour % 12 + (pm ? 12 : 0);
    }
    if (!QTime::isValid(hour, minute, second))
        return std::nullopt;
    return QTime(hour, minute, second);
}

bool isValidTime(const QString& text)
{
    return parseTime(text).has_value();
}

} // namespace tenlog::text
