// Number text rules: BASIC-style numeric tests and conversions, pattern
// formatting, half-to-even rounding and plain decimal text. All conversions go
// through <charconv>, which is exact and ignores the user's locale, so a decimal
// comma setting can never change what is read from or written to a file.
#include "text/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace tenlog::text {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The value of one digit in the given radix, or -1.
int digitValue(char c, int radix)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < radix ? value : -1;
}

// The radix of a "&H" or "&O" prefix at the start of `s`, or 0 when there is none.
int radixPrefix(const std::string& s)
{
    if (s.size() < 2 || s[0] != '&')
        return 0;
    if (s[1] == 'H' || s[1] == 'h')
        return 16;
    if (s[1] == 'O' || s[1] == 'o')
        return 8;
    return 0;
}

// ASCII copy of the text; stops at the first character that can be no part of a number.
std::string asciiOf(const QString& text, bool skipBlanks)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        if (skipBlanks && (isBlank(c) || c == u'\n'))
            continue;
        if (c.unicode() > 127)
            break;
        out.push_back(static_cast<char>(c.unicode()));
    }
    return out;
}

// For decimal text whose conversion fell out of range: true when it was too
// large, false when too small. Works from the position of the first significant
// digit plus the exponent, so any number of digits is fine.
bool overflowed(const std::string& number)
{
    qint64 lead = 0;
    bool seenPoint = false;
    bool seenNonZero = false;
    size_t i = number[0] == '-' ? 1 : 0;
    for (; i < number.size() && number[i] != 'e'; ++i) {
        const char c = number[i];
        if (c == '.') {
            seenPoint = true;
        } else if (!seenNonZero) {
            if (c != '0') {
                seenNonZero = true;
                if (!seenPoint)
                    lead = 1;
            } else if (seenPoint) {
                --lead;
            }
        } else if (!seenPoint) {
            ++lead;
        }
    }
    qint64 exponent = 0;
    if (i < number.size()) {
        ++i;
        const bool negative = number[i] == '-';
        if (number[i] == '-' || number[i] == '+')
            ++i;
        for (; i < number.size(); ++i) {
            if (exponent < 1'000'000'000)
                exponent = exponent * 10 + (number[i] - '0');
        }
        if (negative)
            exponent = -exponent;
    }
    return lead + exponent > 0;
}

// The decimal text converted to T, with overflow as infinity and underflow as 0.
template <typename T>
T convertDecimal(const std::string& number)
{
    T result = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), result);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        const T magnitude = overflowed(number) ? std::numeric_limits<T>::infinity() : T(0);
        result = number[0] == '-' ? -magnitude : magnitude;
    } else if (error != std::errc()) {
        result = 0;
    }
    return result == 0 ? T(0) : result;
}

// The leading numeric part of `s` from `i`: sign, digits, point, digits and an
// exponent that has digits. Empty when no digit is found. Written with 'e' so
// that from_chars takes it.
std::string leadingDecimal(const std::string& s, size_t& i)
{
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-')
            number.push_back('-');
        ++i;
    }
    int digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        number.push_back(s[i++]);
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        number.push_back(s[i++]);
        while (i < s.size() && isDigit(s[i])) {
            number.push_back(s[i++]);
            ++digits;
        }
    }
    if (digits == 0)
        return {};
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            exponent.push_back(s[j++]);
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                exponent.push_back(s[j++]);
            number += exponent;
            i = j;
        }
    }
    return number;
}

template <typename T>
T leadingValue(const QString& text)
{
    const std::string s = asciiOf(text, true);
    if (const int radix = radixPrefix(s)) {
        double value = 0;
        for (size_t i = 2; i < s.size(); ++i) {
            const int digit = digitValue(s[i], radix);
            if (digit < 0)
                break;
            value = value * radix + digit;
        }
        return static_cast<T>(value);
    }
    size_t i = 0;
    const std::string number = leadingDecimal(s, i);
    return number.empty() ? T(0) : convertDecimal<T>(number);
}

// |value| in fixed notation with exactly `decimals` places, rounded on the exact
// binary value with true ties to even (what to_chars guarantees).
std::string fixedDigits(double magnitude, int decimals)
{
    // The largest double has 309 whole digits.
    std::string buffer(static_cast<size_t>(decimals) + 330, '\0');
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::fixed, decimals);
    buffer.resize(static_cast<size_t>(result.ptr - buffer.data()));
    return buffer;
}

// A numeric pattern taken apart.
struct NumberPattern
{
    QString prefix;
    QString suffix;
    int wholePlaces = 0;    // '#' and '0' before the point
    int wholeRequired = 0;  // digits from the first '0' up to the point
    bool grouping = false;
    bool point = false;
    int decimals = 0;
    int decimalsRequired = 0; // decimals up to the last '0'
    bool hasPlaceholder = false;
};

NumberPattern parsePattern(const QString& pattern)
{
    NumberPattern p;
    qsizetype i = 0;
    while (i < pattern.size() && pattern[i] != u'#' && pattern[i] != u'0' && pattern[i] != u'.')
        ++i;
    p.prefix = pattern.left(i);
    int firstZero = -1;
    for (; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'#' || c == u'0') {
            p.hasPlaceholder = true;
            if (p.point) {
                ++p.decimals;
                if (c == u'0')
                    p.decimalsRequired = p.decimals;
            } else {
                ++p.wholePlaces;
                if (c == u'0' && firstZero < 0)
                    firstZero = p.wholePlaces;
            }
        } else if (c == u',' && !p.point) {
            p.grouping = true;
        } else if (c == u'.' && !p.point) {
            p.point = true;
            p.hasPlaceholder = true;
        } else {
            break;
        }
    }
    p.suffix = pattern.mid(i);
    p.wholeRequired = firstZero < 0 ? 0 : p.wholePlaces - firstZero + 1;
    return p;
}

QString groupThousands(const std::string& digits)
{
    QString out;
    out.reserve(static_cast<qsizetype>(digits.size() + digits.size() / 3));
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out.append(u',');
        out.append(QLatin1Char(digits[i]));
    }
    return out;
}

template <typename T>
QString shortestFixed(T value)
{
    if (value == 0)
        return QStringLiteral("0");
    char buffer[400];
    const auto result = std::isfinite(value)
        ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
        : std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

template <typename T>
QString linePrintedOf(T value)
{
    const bool negative = std::signbit(value) && value != 0 && !std::isnan(value);
    return (negative ? u'-' : u' ') + shortestFixed(std::fabs(value)) + u' ';
}

} // namespace

bool isNumeric(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    const QString trimmed = text.mid(from, to - from);
    const std::string s = asciiOf(trimmed, false);
    if (s.empty() || static_cast<qsizetype>(s.size()) != trimmed.size())
        return false;
    if (const int radix = radixPrefix(s)) {
        if (s.size() == 2)
            return false;
        for (size_t i = 2; i < s.size(); ++i) {
            if (digitValue(s[i], radix) < 0)
                return false;
        }
        return std::isfinite(val(trimmed));
    }
    size_t i = 0;
    const std::string number = leadingDecimal(s, i);
    return !number.empty() && i == s.size() && std::isfinite(convertDecimal<double>(number));
}

double val(const QString& text)
{
    return leadingValue<double>(text);
}

float valSingle(const QString& text)
{
    return leadingValue<float>(text);
}

QString formatNumber(double value, const QString& pattern)
{
    if (pattern.isEmpty() || !std::isfinite(value))
        return plainNumber(value);
    const NumberPattern p = parsePattern(pattern);
    if (!p.hasPlaceholder)
        return p.prefix;

    const std::string fixed = fixedDigits(std::fabs(value), p.decimals);
    const size_t pointAt = fixed.find('.');
    std::string whole = fixed.substr(0, pointAt);
    std::string fraction = pointAt == std::string::npos ? std::string() : fixed.substr(pointAt + 1);

    const size_t firstNonZero = whole.find_first_not_of('0');
    whole.erase(0, firstNonZero == std::string::npos ? whole.size() : firstNonZero);
    const bool isZero = whole.empty() && fraction.find_first_not_of('0') == std::string::npos;

    while (static_cast<int>(fraction.size()) > p.decimalsRequired && fraction.back() == '0')
        fraction.pop_back();
    int wholeDigits = p.wholeRequired;
    if (whole.empty() && p.point && p.wholePlaces >= 2)
        wholeDigits = std::max(wholeDigits, 1);
    if (static_cast<int>(whole.size()) < wholeDigits)
        whole.insert(0, static_cast<size_t>(wholeDigits) - whole.size(), '0');

    QString out;
    if (value < 0 && !isZero)
        out.append(u'-');
    out.append(p.prefix);
    out.append(p.grouping ? groupThousands(whole) : QString::fromLatin1(whole.data(), static_cast<qsizetype>(whole.size())));
    if (p.point) {
        out.append(u'.');
        out.append(QString::fromLatin1(fraction.data(), static_cast<qsizetype>(fraction.size())));
    }
    out.append(p.suffix);
    return out;
}

QString formatNumber(float value, const QString& pattern)
{
    // Widening is exact, so the double holds the float's own binary value.
    return formatNumber(static_cast<double>(value), pattern);
}

double roundHalfEven(double value)
{
    return roundHalfEven(value, 0);
}

double roundHalfEven(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    // Past 1074 places every double is already exact.
    if (decimals > 1074)
        return value;
    const std::string fixed = fixedDigits(value, std::max(decimals, 0));
    const double rounded = convertDecimal<double>(fixed);
    return rounded == 0 ? 0.0 : rounded;
}

float toSingle(double value)
{
    return static_cast<float>(value);
}

QString plainNumber(double value)
{
    return shortestFixed(value);
}

QString plainNumber(float value)
{
    return shortestFixed(value);
}

QString linePrinted(double value)
{
    return linePrintedOf(value);
}

QString linePrinted(float value)
{
    return linePrintedOf(value);
}

} // namespace tenlog::text
