#include "spots/SpotTerminal.h"

namespace tenlog::spots {

void SpotTerminal::append(const QString& text)
{
    m_text += text;
    if (m_text.size() > kTrimAbove)
        m_text = m_text.right(kTrimTo);
    emit changed();
}

void SpotTerminal::replace(const QString& text)
{
    m_text = text;
    if (m_text.size() > kTrimAbove)
        m_text = m_text.right(kTrimTo);
    emit changed();
}

bool SpotTerminal::recentlyShown(const QString& text) const
{
    const qsizetype from = std::max<qsizetype>(0, m_text.size() - kRecentWindow);
    return QStringView(m_text).mid(from).contains(text, Qt::CaseInsensitive);
}

} // namespace tenlog::spots
