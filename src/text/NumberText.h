// Number text rules used everywhere numbers meet text: BASIC-style numeric tests
// and conversions (IsNumeric, Val), Format-style patterns such as "#####.##0",
// half-to-even rounding on the exact binary value, single-precision helpers, and
// the plain decimal text the program writes into its files.
#pragma once

#include <QString>

#include <concepts>

namespace tenlog::text {

// Whole-number arguments get their own overloads so that a plain int is never
// ambiguous between the double and float versions.
template <typename T>
concept WholeNumber = std::integral<T> && !std::same_as<T, bool>;

// True for text that is a number once blanks around it are trimmed: an optional
// sign, digits with an optional point (".5" and "5." count), an optional exponent
// (E or D, with digits), or &H hex / &O octal digits. Empty, ".", "-" are not.
bool isNumeric(const QString& text);

// The leading number in the text, ignoring blanks anywhere in it, 0 when there is
// none: "12abc" -> 12, " 1 2" -> 12, "&H378" -> 888, "abc" -> 0. Too large gives
// infinity, too small gives 0.
double val(const QString& text);

// Like val() but the decimal text is rounded straight to single precision, so
// the float written as "28.025" comes back as exactly that float.
float valSingle(const QString& text);

// Formats with a numeric pattern: '#' is an optional digit, '0' a required digit,
// ',' in the whole part groups thousands, '.' is the point. Text before the first
// and after the last placeholder is kept as written. The value is rounded to the
// pattern's decimals on its exact binary value, true ties to even. Optional
// decimals ('#' after the last '0') drop trailing zeros. A zero whole part is
// written as "0" when the whole part of the pattern holds a '0', or holds two or
// more placeholders and a point; otherwise it is left out ("#.000" gives ".500",
// "###" gives "" for 0). Negatives get a leading "-", never "-0".
// An empty pattern gives plainNumber().
QString formatNumber(double value, const QString& pattern);
// The same on the float's own exact value (28.075f rounds up, 28.075 down).
QString formatNumber(float value, const QString& pattern);
template <WholeNumber T>
QString formatNumber(T value, const QString& pattern)
{
    return formatNumber(static_cast<double>(value), pattern);
}

// Rounds to a whole number, ties to even (0.5 -> 0, 1.5 -> 2, 2.5 -> 2). Never -0.
double roundHalfEven(double value);
// Rounds to `decimals` places (negative counts as 0) on the exact binary value,
// true ties to even; the result is the double nearest the rounded decimal.
double roundHalfEven(double value, int decimals);

// The single-precision value nearest to `value` (what a Single variable holds).
float toSingle(double value);

// Plain decimal text: the shortest digits that read back to the same value, never
// an exponent, a point only for fractions, a leading zero kept ("0.5"), negative
// zero as "0". Non-finite values give "inf", "-inf" or "nan", which no reader
// takes as a number.
QString plainNumber(double value);
QString plainNumber(float value);
template <WholeNumber T>
QString plainNumber(T value)
{
    return QString::number(value);
}

// A number printed on its own: a space in place of the sign (or "-"), the plain
// text, and one trailing space: 5 -> " 5 ", -5 -> "-5 ", 0.5 -> " 0.5 ".
QString linePrinted(double value);
QString linePrinted(float value);
template <WholeNumber T>
QString linePrinted(T value)
{
    const QString digits = QString::number(value);
    return digits.startsWith(u'-') ? digits + u' ' : u' ' + digits + u' ';
}

} // namespace tenlog::text
