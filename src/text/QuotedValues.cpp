// Reader and writer for quoted-value text files: comma-separated values, quoted
// text without escapes, plain decimal numbers, #TRUE#/#FALSE#, CR LF line ends.
// See QuotedValues.h for the reading rules.
#include "text/QuotedValues.h"

#include "text/NumberText.h"

#include <cmath>

namespace tenlog::text {

namespace {

constexpr QLatin1StringView trueWord("#TRUE#");
constexpr QLatin1StringView falseWord("#FALSE#");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isWritableChar(QChar c)
{
    return c.unicode() <= 0xFF;
}

} // namespace

// ---- QuotedValue ----

QuotedValue QuotedValue::text(const QString& text)
{
    return QuotedValue(Kind::Text, text);
}

QuotedValue QuotedValue::number(double value)
{
    return QuotedValue(Kind::Number, plainNumber(value));
}

QuotedValue QuotedValue::number(float value)
{
    return QuotedValue(Kind::Number, plainNumber(value));
}

QuotedValue QuotedValue::boolean(bool value)
{
    return QuotedValue(Kind::Bool, QString(value ? trueWord : falseWord));
}

QuotedValue::Kind QuotedValue::kindOfUnquoted(const QString& field)
{
    if (field.isEmpty())
        return Kind::Empty;
    if (field.compare(trueWord, Qt::CaseInsensitive) == 0 || field.compare(falseWord, Qt::CaseInsensitive) == 0)
        return Kind::Bool;
    if (isNumeric(field))
        return Kind::Number;
    return Kind::Bare;
}

QString QuotedValue::toText() const
{
    return m_raw;
}

double QuotedValue::toDouble(bool* ok) const
{
    bool converted = true;
    double value = 0;
    switch (m_kind) {
    case Kind::Empty:
        break;
    case Kind::Number:
        value = val(m_raw);
        break;
    case Kind::Bool:
        value = m_raw.compare(trueWord, Qt::CaseInsensitive) == 0 ? -1 : 0;
        break;
    case Kind::Text:
    case Kind::Bare:
        converted = isNumeric(m_raw);
        if (converted)
            value = val(m_raw);
        break;
    }
    if (ok)
        *ok = converted;
    return value;
}

float QuotedValue::toSingle(bool* ok) const
{
    bool converted = true;
    const double wide = toDouble(&converted);
    if (ok)
        *ok = converted;
    // Decimal text goes straight to a float; widening first could round twice.
    if (converted && (m_kind == Kind::Number || m_kind == Kind::Text || m_kind == Kind::Bare))
        return valSingle(m_raw);
    return tenlog::text::toSingle(wide);
}

bool QuotedValue::toBool(bool* ok) const
{
    bool converted = true;
    bool value = false;
    switch (m_kind) {
    case Kind::Empty:
        break;
    case Kind::Bool:
    case Kind::Number:
        value = toDouble() != 0;
        break;
    case Kind::Text:
    case Kind::Bare: {
        const QString trimmed = m_raw.trimmed();
        if (trimmed.compare(QLatin1StringView("True"), Qt::CaseInsensitive) == 0
            || trimmed.compare(trueWord, Qt::CaseInsensitive) == 0) {
            value = true;
        } else if (trimmed.compare(QLatin1StringView("False"), Qt::CaseInsensitive) == 0
                   || trimmed.compare(falseWord, Qt::CaseInsensitive) == 0) {
            value = false;
        } else if (isNumeric(m_raw)) {
            value = val(m_raw) != 0;
        } else {
            converted = false;
        }
        break;
    }
    }
    if (ok)
        *ok = converted;
    return value;
}

// ---- QuotedValueReader ----

QuotedValueReader::QuotedValueReader(const QByteArray& data)
    : m_data(data)
{
    qsizetype end = m_data.size();
    while (end > 0 && (isBlank(m_data[end - 1]) || isLineEnd(m_data[end - 1])))
        --end;
    m_contentEnd = end;
}

void QuotedValueReader::countLineEnds(qsizetype from, qsizetype to)
{
    const char* d = m_data.constData();
    for (qsizetype i = from; i < to; ++i) {
        if (d[i] == '\n' || (d[i] == '\r' && (i + 1 >= m_data.size() || d[i + 1] != '\n')))
            ++m_line;
    }
}

bool QuotedValueReader::read(QuotedValue& value)
{
    if (atEnd()) {
        m_failed = true;
        value = QuotedValue();
        return false;
    }
    const char* d = m_data.constData();
    const qsizetype n = m_data.size();
    m_afterComma = false;
    while (m_pos < n && isBlank(d[m_pos]))
        ++m_pos;

    QuotedValue result;
    if (m_pos < n && d[m_pos] == '"') {
        const qsizetype start = m_pos + 1;
        qsizetype close = start;
        while (close < n && d[close] != '"')
            ++close;
        countLineEnds(start, close);
        result = QuotedValue(QuotedValue::Kind::Text, QString::fromLatin1(d + start, close - start));
        m_pos = close < n ? close + 1 : n;
        // Whatever stands between the closing quote and the separator is dropped.
        while (m_pos < n && d[m_pos] != ',' && !isLineEnd(d[m_pos]))
            ++m_pos;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < n && d[m_pos] != ',' && !isLineEnd(d[m_pos]))
            ++m_pos;
        qsizetype end = m_pos;
        while (end > start && isBlank(d[end - 1]))
            --end;
        QString field = QString::fromLatin1(d + start, end - start);
        const QuotedValue::Kind kind = QuotedValue::kindOfUnquoted(field);
        result = QuotedValue(kind, std::move(field));
    }

    if (m_pos < n && d[m_pos] == ',') {
        ++m_pos;
        m_afterComma = true;
    } else {
        result.m_endsLine = true;
        if (m_pos < n) {
            m_pos += (d[m_pos] == '\r' && m_pos + 1 < n && d[m_pos + 1] == '\n') ? 2 : 1;
            ++m_line;
        }
    }
    value = std::move(result);
    return true;
}

QuotedValue QuotedValueReader::next()
{
    QuotedValue value;
    read(value);
    return value;
}

QList<QuotedValue> QuotedValueReader::readAll(const QByteArray& data)
{
    QList<QuotedValue> values;
    QuotedValueReader reader(data);
    QuotedValue value;
    while (!reader.atEnd()) {
        reader.read(value);
        values.append(value);
    }
    return values;
}

// ---- QuotedValueWriter ----

void QuotedValueWriter::beginField()
{
    if (m_lineHasValue)
        m_data.append(',');
    m_lineHasValue = true;
}

void QuotedValueWriter::appendField(const QByteArray& field)
{
    beginField();
    m_data.append(field);
}

bool QuotedValueWriter::refuse(const QString& why)
{
    if (!m_failed)
        m_error = why;
    m_failed = true;
    return false;
}

bool QuotedValueWriter::writeText(const QString& text)
{
    const QChar* chars = text.constData();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (chars[i] == u'"')
            return refuse(QStringLiteral("text holds a double quote: %1").arg(text));
        if (!isWritableChar(chars[i]))
            return refuse(QStringLiteral("text holds a character that is not single-byte: %1").arg(text));
    }
    beginField();
    // Every character was checked to be one byte, so copy them straight in.
    const qsizetype at = m_data.size();
    m_data.resize(at + size + 2);
    char* out = m_data.data() + at;
    *out++ = '"';
    for (qsizetype i = 0; i < size; ++i)
        *out++ = static_cast<char>(chars[i].unicode());
    *out = '"';
    return true;
}

bool QuotedValueWriter::writeNumber(double value)
{
    if (!std::isfinite(value))
        return refuse(QStringLiteral("number is not finite: %1").arg(plainNumber(value)));
    appendField(plainNumber(value).toLatin1());
    return true;
}

bool QuotedValueWriter::writeNumber(float value)
{
    if (!std::isfinite(value))
        return refuse(QStringLiteral("number is not finite: %1").arg(plainNumber(value)));
    appendField(plainNumber(value).toLatin1());
    return true;
}

void QuotedValueWriter::writeBool(bool value)
{
    appendField(value ? "#TRUE#" : "#FALSE#");
}

void QuotedValueWriter::writeEmpty()
{
    beginField();
}

bool QuotedValueWriter::writeValue(const QuotedValue& value)
{
    switch (value.kind()) {
    case QuotedValue::Kind::Empty:
        writeEmpty();
        return true;
    case QuotedValue::Kind::Text:
        return writeText(value.raw());
    case QuotedValue::Kind::Bare:
    case QuotedValue::Kind::Number:
    case QuotedValue::Kind::Bool:
        break;
    }
    // Unquoted text must come back as the same field: nothing that ends or
    // trims it, no opening quote, and the same kind when classified again.
    const QString& raw = value.raw();
    bool fits = !raw.isEmpty() && raw.front() != u'"' && raw.front() != u' ' && raw.front() != u'\t'
        && raw.back() != u' ' && raw.back() != u'\t';
    for (QChar c : raw) {
        if (c == u',' || c == u'\r' || c == u'\n' || !isWritableChar(c))
            fits = false;
    }
    if (!fits || QuotedValue::kindOfUnquoted(raw) != value.kind())
        return refuse(QStringLiteral("value would not read back the same: %1").arg(raw));
    appendField(raw.toLatin1());
    return true;
}

void QuotedValueWriter::endLine()
{
    m_data.append("\r\n");
    m_lineHasValue = false;
}

std::optional<QByteArray> QuotedValueWriter::writeAll(const QList<QuotedValue>& values)
{
    QuotedValueWriter writer;
    bool lineOpen = false;
    for (const QuotedValue& value : values) {
        if (!writer.writeValue(value))
            return std::nullopt;
        lineOpen = true;
        if (value.endsLine()) {
            writer.endLine();
            lineOpen = false;
        }
    }
    if (lineOpen)
        writer.endLine();
    return writer.data();
}

} // namespace tenlog::text
