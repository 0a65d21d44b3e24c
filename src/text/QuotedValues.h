// Reader and writer for the program's quoted-value text files (log.txt,
// tnpref.txt, wave2.txt and the rest).
//
// The format: one statement per line, lines ended by CR LF, values separated by
// commas. Text is enclosed in double quotes with no escaping, so a text value
// can never hold a double quote. Numbers are plain decimal with a point,
// booleans are #TRUE# and #FALSE#, and a value that was never assigned is
// nothing at all between the commas. Every byte is one character (Latin-1).
//
// Reading takes the values in order, commas and line ends (CR LF, lone LF or
// lone CR) alike being separators:
//  - blanks and tabs before a value are skipped;
//  - a quoted value runs to its closing quote, commas and line ends included,
//    and anything after the closing quote up to the next separator is ignored;
//    a quote that is never closed runs to the end of the data;
//  - an unquoted value runs to the next comma or line end, trimmed of blanks;
//  - a blank line is one empty value;
//  - once only line ends and blanks remain, and no comma is waiting for its
//    value, there are no more values. (So a blank line at the very end of the
//    data is not a value.)
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "text/NumberText.h"

#include <optional>
#include <utility>

namespace tenlog::text {

// One value as read from, or to be written to, a quoted-value file.
class QuotedValue
{
public:
    enum class Kind {
        Empty,  // nothing between the separators
        Text,   // quoted
        Bare,   // unquoted text that is neither a number nor a boolean
        Number, // unquoted number
        Bool,   // #TRUE# or #FALSE#
    };

    QuotedValue() = default;

    static QuotedValue text(const QString& text);
    static QuotedValue number(double value);
    static QuotedValue number(float value);
    template <WholeNumber T>
    static QuotedValue number(T value)
    {
        return QuotedValue(Kind::Number, QString::number(value));
    }
    static QuotedValue boolean(bool value);
    // The kind an unquoted, already trimmed field has.
    static Kind kindOfUnquoted(const QString& field);

    Kind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == Kind::Empty; }
    // The text as it stood in the file: without the quotes for Text, trimmed
    // otherwise; empty for Empty.
    const QString& raw() const { return m_raw; }
    // Set by the reader when a line end (or the end of the data) followed this value.
    bool endsLine() const { return m_endsLine; }

    // The raw text, whatever the kind.
    QString toText() const;
    // Numbers, and Text or Bare holding a number, convert (BASIC's Val rules);
    // Empty is 0; #TRUE# is -1 and #FALSE# 0, as in BASIC. Anything else gives 0
    // with *ok false.
    double toDouble(bool* ok = nullptr) const;
    // As toDouble(), rounding the decimal text straight to single precision.
    float toSingle(bool* ok = nullptr) const;
    // Bool; numbers (non-zero is true); text "True"/"False" or "#TRUE#"/"#FALSE#"
    // in any case; Empty is false. Anything else gives false with *ok false.
    bool toBool(bool* ok = nullptr) const;

    // Same kind and raw text; where the line ended is not compared.
    bool operator==(const QuotedValue& other) const
    {
        return m_kind == other.m_kind && m_raw == other.m_raw;
    }

private:
    friend class QuotedValueReader;

    QuotedValue(Kind kind, QString raw)
        : m_kind(kind)
        , m_raw(std::move(raw))
    {
    }

    Kind m_kind = Kind::Empty;
    QString m_raw;
    bool m_endsLine = false;
};

// Takes the values of quoted-value data in order.
class QuotedValueReader
{
public:
    explicit QuotedValueReader(const QByteArray& data);

    // The next value. Past the last value it returns false, leaves an Empty
    // value and sets failed().
    bool read(QuotedValue& value);
    // The same, returning the value; check failed() after a run of reads.
    QuotedValue next();

    // No more values.
    bool atEnd() const { return !m_afterComma && m_pos >= m_contentEnd; }
    // A read went past the last value.
    bool failed() const { return m_failed; }
    // 1-based line where the next value starts, for error messages.
    int lineNumber() const { return m_line; }

    // Every value of the data.
    static QList<QuotedValue> readAll(const QByteArray& data);

private:
    void countLineEnds(qsizetype from, qsizetype to);

    QByteArray m_data;
    qsizetype m_pos = 0;
    qsizetype m_contentEnd = 0; // just past the last byte that is not a blank or line end
    bool m_afterComma = false;  // a comma was taken, so a value follows even if nothing is left
    bool m_failed = false;
    int m_line = 1;
};

// Builds quoted-value data line by line. A value that cannot be written
// correctly is refused: the call returns false, nothing is added, and failed()
// is set for good, so a caller that checks it never saves a broken file.
class QuotedValueWriter
{
public:
    // Refuses text holding a double quote or a character outside Latin-1.
    bool writeText(const QString& text);
    // Plain decimal; refuses infinities and NaN.
    bool writeNumber(double value);
    // Shortest text that reads back to the same float: 28.025f -> "28.025".
    bool writeNumber(float value);
    template <WholeNumber T>
    bool writeNumber(T value)
    {
        appendField(QByteArray::number(value));
        return true;
    }
    void writeBool(bool value);
    void writeEmpty();
    // Writes a value as it was read (raw text kept, so a canonical file is
    // rewritten byte for byte). Refuses a value whose text would read back as
    // something else.
    bool writeValue(const QuotedValue& value);
    // Ends the line with CR LF. A line with no values reads back as one empty value.
    void endLine();

    const QByteArray& data() const { return m_data; }
    bool failed() const { return m_failed; }
    // Why the first refused value was refused.
    const QString& errorText() const { return m_error; }

    // The values written one after another, a line ending after each value whose
    // endsLine() is set and after the last one. Empty when any value is refused.
    static std::optional<QByteArray> writeAll(const QList<QuotedValue>& values);

private:
    void beginField();
    void appendField(const QByteArray& field);
    bool refuse(const QString& why);

    QByteArray m_data;
    bool m_lineHasValue = false;
    bool m_failed = false;
    QString m_error;
};

} // namespace tenlog::text
