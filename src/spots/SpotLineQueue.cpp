#include "spots/SpotLineQueue.h"

#include <QElapsedTimer>
#include <QTimer>

namespace tenlog::spots {

SpotLineQueue::SpotLineQueue(Hooks hooks, QObject* parent) : QObject(parent), m_hooks(std::move(hooks))
{
}

void SpotLineQueue::push(Path path, QString line)
{
    m_weight += weightOf(line);
    m_lines.push_back({std::move(line), path, 0});
    // The newest line always stays: it is what the operator can still work.
    while (m_weight > m_maxWeight && m_lines.size() > 1) {
        const Waiting& oldest = m_lines.front();
        const qsizetype dropped = oldest.droppedBefore + 1;
        m_weight -= weightOf(oldest.text);
        m_lines.pop_front();
        m_lines.front().droppedBefore += dropped;
        m_droppedInAll += 1;
    }
    schedule();
}

void SpotLineQueue::clear()
{
    m_lines.clear();
    m_weight = 0;
}

void SpotLineQueue::schedule()
{
    if (m_scheduled || m_lines.empty())
        return;
    m_scheduled = true;
    QTimer::singleShot(0, this, &SpotLineQueue::takeSlice);
}

void SpotLineQueue::takeSlice()
{
    m_scheduled = false;
    if (m_taking) {
        // A hook ran the event loop; the outer slice goes on when it returns.
        schedule();
        return;
    }
    if (m_lines.empty())
        return;
    m_taking = true;
    QElapsedTimer slice;
    slice.start();
    if (m_hooks.sliceStarts)
        m_hooks.sliceStarts();
    for (int taken = 0; taken < kLinesPerSlice && !m_lines.empty(); ++taken) {
        Waiting next = std::move(m_lines.front());
        m_lines.pop_front();
        m_weight -= weightOf(next.text);
        if (next.droppedBefore > 0 && m_hooks.dropped)
            m_hooks.dropped(next.droppedBefore);
        if (m_hooks.take)
            m_hooks.take(next.path, next.text);
        if (slice.nsecsElapsed() >= kSliceMs * 1000000)
            break;
    }
    if (m_hooks.sliceEnds)
        m_hooks.sliceEnds();
    m_taking = false;
    if (!m_lines.empty())
        schedule();
    else if (m_hooks.drained)
        m_hooks.drained();
}

} // namespace tenlog::spots
