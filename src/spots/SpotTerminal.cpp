#include "spots/SpotTerminal.h"

#include <utility>

namespace tenlog::spots {

void SpotTerminal::append(const QString& text)
{
    m_text += text;
    if (m_text.size() > kTrimAbove) {
        m_text = m_text.right(kTrimTo);
        ++m_revision;
    }
    announce();
}

void SpotTerminal::replace(const QString& text)
{
    m_text = text;
    if (m_text.size() > kTrimAbove)
        m_text = m_text.right(kTrimTo);
    ++m_revision;
    announce();
}

bool SpotTerminal::recentlyShown(const QString& text) const
{
    const qsizetype from = std::max<qsizetype>(0, m_text.size() - kRecentWindow);
    return QStringView(m_text).mid(from).contains(text, Qt::CaseInsensitive);
}

void SpotTerminal::announce()
{
    if (m_batchDepth > 0)
        m_changedInBatch = true;
    else
        emit changed();
}

void SpotTerminal::endBatch()
{
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return;
    if (std::exchange(m_changedInBatch, false))
        emit changed();
}

} // namespace tenlog::spots
