// Settings values read in order, with the first fault named by line.
#include "text/SettingsValues.h"

namespace tenlog::text {

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

std::optional<NonTextByte> findNonTextByte(const QByteArray& data)
{
    int line = 1;
    const qsizetype size = data.size();
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        if (byte == '\n' || (byte == '\r' && (i + 1 >= size || data[i + 1] != '\n')))
            ++line;
        else if ((byte < 32 && byte != '\t' && byte != '\r') || byte == 127)
            return NonTextByte{line, byte};
    }
    return std::nullopt;
}

bool isQuotedText(const QuotedValue& value)
{
    return value.kind() == QuotedValue::Kind::Text || value.kind() == QuotedValue::Kind::Empty;
}

QString shownValue(const QString& raw)
{
    constexpr int longest = 40;
    return QLatin1Char('"') + (raw.size() > longest ? raw.left(longest) + QStringLiteral("...") : raw) + QLatin1Char('"');
}

SettingsValues::SettingsValues(QString fileName, const QByteArray& data, int valueCount)
    : m_fileName(std::move(fileName))
    , m_reader(data)
    , m_valueCount(valueCount)
{
    qsizetype end = data.size();
    while (end > 0 && (data[end - 1] == ' ' || data[end - 1] == '\t'))
        --end;
    m_endsWithLineEnd = end > 0 && isLineEnd(data[end - 1]);
    if (data.trimmed().isEmpty()) {
        m_damage = m_fileName + QStringLiteral(" is empty");
    } else if (const auto binary = findNonTextByte(data)) {
        m_damage = QStringLiteral("%1 is not text: line %2 holds the byte 0x%3, so the file is binary or garbled")
                       .arg(m_fileName)
                       .arg(binary->line)
                       .arg(binary->byte, 2, 16, QLatin1Char('0'));
    }
}

bool SettingsValues::next(QuotedValue& value)
{
    if (damaged() || m_endedShort)
        return false;
    if (m_reader.atEnd()) {
        m_endedShort = m_taken < m_valueCount;
        return false;
    }
    m_line = m_reader.lineNumber();
    m_reader.read(value);
    if (value.kind() == QuotedValue::Kind::Text && !m_reader.atEnd()
        && (value.raw().contains(QLatin1Char('\n')) || value.raw().contains(QLatin1Char('\r')))) {
        damageAtLine(QStringLiteral("a quote is not closed on this line"));
        return false;
    }
    // The last value before a missing line end may itself be cut short.
    if (m_reader.atEnd() && !m_endsWithLineEnd && m_taken + 1 < m_valueCount) {
        damageAtLine(QStringLiteral("the file stops in the middle of this line, after %1 of its %2 values")
                         .arg(m_taken)
                         .arg(m_valueCount));
        return false;
    }
    ++m_taken;
    return true;
}

void SettingsValues::refuse(const QString& what)
{
    if (damaged() || m_taken == 0)
        return;
    --m_taken; // the refused value is not kept
    damageAtLine(what);
}

void SettingsValues::damageAtLine(const QString& what)
{
    m_damage = QStringLiteral("%1 line %2: %3").arg(m_fileName).arg(m_line).arg(what);
}

} // namespace tenlog::text
