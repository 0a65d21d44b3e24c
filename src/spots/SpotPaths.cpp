#include "spots/SpotPaths.h"

#include "spots/SpotIntake.h"
#include "spots/SpotTerminal.h"
#include "spots/SpotText.h"

namespace tenlog::spots {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool startsWithDx(const QString& text)
{
    return text.startsWith(QLatin1String("DX"), Qt::CaseInsensitive);
}

QString withCrLfLineEnds(const QString& text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            out += kCrLf;
        else
            out += c;
    }
    return out;
}

} // namespace

SpotPaths::SpotPaths(SpotTerminal& terminal, SpotIntake& intake) : m_terminal(terminal), m_intake(intake) {}

void SpotPaths::beginSlice()
{
    m_terminal.beginBatch();
    m_intake.beginBatch();
}

void SpotPaths::endSlice()
{
    m_intake.endBatch();
    m_terminal.endBatch();
}

void SpotPaths::passSpot(const QString& line)
{
    const SpotFields fields = spotFields(line);
    m_intake.take(fields.frequencyText, fields.call, line);
}

void SpotPaths::takeTelnetLine(const QString& line)
{
    const qsizetype shown = std::min(m_partialShown, line.size());
    m_partialShown = 0;
    if (!m_spotLinesOnly)
        m_terminal.append(line.mid(shown) + kCrLf);
    if (startsWithDx(line)) {
        passSpot(line);
        if (m_spotLinesOnly)
            m_terminal.append(line + kCrLf);
    }
}

void SpotPaths::showTelnetPartial(const QString& partial)
{
    if (m_spotLinesOnly || partial.size() <= m_partialShown)
        return;
    m_terminal.append(partial.mid(m_partialShown));
    m_partialShown = partial.size();
}

void SpotPaths::takeTncLine(const QString& line)
{
    if (m_terminal.recentlyShown(line))
        return;
    if (startsWithDx(line)) {
        m_terminal.append(line);
        passSpot(line);
    } else if (!m_spotLinesOnly) {
        m_terminal.append(line);
    }
}

void SpotPaths::takeAgwFrame(char kind, const QString& fromCall, const QByteArray& data, const QString& connectedCall)
{
    // The engine hands its monitor text over as a C string (direwolf counts
    // the closing NUL in the length) and idle nodes send NUL as filler; it is
    // never text, and the terminal must not show it.
    QString received = QString::fromLatin1(data);
    received.remove(QChar(0));
    const QString header = withCrLfLineEnds(QLatin1Char(kind) + fromCall + QLatin1Char(' ') + received);
    QString body = withCrLfLineEnds(received);
    const bool connected = !connectedCall.isEmpty();
    if (!connected) {
        const qsizetype lf = body.indexOf(QLatin1Char('\n'));
        if (lf >= 0)
            body.remove(0, lf + 1); // the engine's monitor header
        body = trimBlanks(body);
    }
    if (body == kCrLf)
        body.clear();
    else if (body.size() > 4 && body.endsWith(kCrLf + kCrLf))
        body.chop(2);

    const qsizetype dx = body.indexOf(QLatin1String("DX"), 0, Qt::CaseInsensitive);
    if (!m_terminal.recentlyShown(body) && (dx == 0 || dx == 1)) {
        m_terminal.append(body);
        passSpot(body);
    }
    if (startsWithDx(body) || m_spotLinesOnly)
        return;
    if (connected && fromCall.compare(connectedCall, Qt::CaseInsensitive) == 0)
        m_terminal.append(body);
    else if (!connected && !header.contains(QLatin1String("DX "), Qt::CaseInsensitive))
        m_terminal.append(body);
}

} // namespace tenlog::spots
