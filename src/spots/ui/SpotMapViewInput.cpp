// The spot map's side facing the operator: the mouse, the keyboard, the
// focused spot and the accessible spots a screen reader walks through.
#include "spots/ui/SpotMapView.h"

#include "spots/ui/SpotMapAccessible.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

namespace tenlog::spots {

bool SpotMapView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int spot = spotAt(help->pos());
        if (spot < 0) {
            QToolTip::hideText();
        } else {
            // Spot text is shown as it came, never read as markup.
            const QString tip = QStringLiteral("<p style=\"white-space:pre\">")
                              + m_map.spots[static_cast<size_t>(spot)].tip.toHtmlEscaped() + QStringLiteral("</p>");
            QToolTip::showText(help->globalPos(), tip, this, labelRect(spot));
        }
        return true;
    }
    return QWidget::event(event);
}

void SpotMapView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    // The second press of a double click acts on nothing: the first did the
    // work, and the spot now under the pointer may be another.
    const quint64 time = event->timestamp();
    const bool secondOfDouble = m_lastPressTime && time >= *m_lastPressTime
                             && time - *m_lastPressTime < static_cast<quint64>(QApplication::doubleClickInterval())
                             && (at - m_lastPressAt).manhattanLength() <= QApplication::startDragDistance();
    m_lastPressTime = time;
    m_lastPressAt = at;
    const int spot = spotAt(at);
    m_pressOnSpot = spot >= 0;
    m_releaseAfterDoubleClick = false;
    if (spot < 0 || secondOfDouble)
        return;
    const int storeIndex = m_map.spots[static_cast<size_t>(spot)].index;
    if (event->button() == Qt::RightButton)
        emit tuneRequested(storeIndex);
    else
        emit removeRequested(storeIndex);
}

void SpotMapView::mouseReleaseEvent(QMouseEvent* event)
{
    // The release that ends a double click is no click of its own.
    if (std::exchange(m_releaseAfterDoubleClick, false))
        return;
    if (!m_pressOnSpot && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit stripClicked();
}

void SpotMapView::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_releaseAfterDoubleClick = true;
    // On a spot the first press did the work; a second would act on the
    // spot now under the pointer.
    if (event->button() == Qt::LeftButton && spotAt(event->position().toPoint()) < 0)
        emit stripDoubleClicked();
}

void SpotMapView::mouseMoveEvent(QMouseEvent* event)
{
    hover(spotAt(event->position().toPoint()));
    // Taken here: passed on, the window's background would clear the hover line.
    event->accept();
}

void SpotMapView::leaveEvent(QEvent* event)
{
    hover(-1);
    QWidget::leaveEvent(event);
}

void SpotMapView::hover(int spot)
{
    if (spot == m_hovered)
        return;
    m_hovered = spot;
    emit spotHovered(spot >= 0 ? m_map.spots[static_cast<size_t>(spot)].tip : QString());
}

void SpotMapView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left: moveFocus(SpotStep::Previous); break;
    case Qt::Key_Right: moveFocus(SpotStep::Next); break;
    case Qt::Key_Up: moveFocus(SpotStep::RowUp); break;
    case Qt::Key_Down: moveFocus(SpotStep::RowDown); break;
    case Qt::Key_Home: moveFocus(SpotStep::First); break;
    case Qt::Key_End: moveFocus(SpotStep::Last); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_focused >= 0)
            emit tuneRequested(m_map.spots[static_cast<size_t>(m_focused)].index);
        break;
    case Qt::Key_Delete: removeFocusedSpot(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void SpotMapView::moveFocus(SpotStep step)
{
    const int next = steppedSpot(m_map, m_focused, step);
    if (next >= 0)
        focusSpot(next);
}

void SpotMapView::removeFocusedSpot()
{
    if (m_focused < 0)
        return;
    const int storeIndex = m_map.spots[static_cast<size_t>(m_focused)].index;
    // The keyboard goes on to the next spot by frequency, else the one before.
    int neighbour = steppedSpot(m_map, m_focused, SpotStep::Next);
    if (neighbour == m_focused)
        neighbour = steppedSpot(m_map, m_focused, SpotStep::Previous);
    if (neighbour != m_focused) {
        const PlacedSpot& spot = m_map.spots[static_cast<size_t>(neighbour)];
        m_focusedIdentity = {spot.tip, spot.row};
    } else {
        m_focusedIdentity = {};
    }
    emit removeRequested(storeIndex);
}

void SpotMapView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (m_focused < 0 && !m_map.spots.empty())
        focusSpot(0); // the newest
    else
        announceFocus();
    update();
}

void SpotMapView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void SpotMapView::announceFocus()
{
    if (!QAccessible::isActive() || !hasFocus() || m_focused < 0)
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(m_focused);
    QAccessible::updateAccessibility(&focus);
}

QAccessibleInterface* SpotMapView::accessibleSpot(int spot) const
{
    if (spot < 0 || spot >= static_cast<int>(m_map.spots.size()))
        return nullptr;
    while (static_cast<int>(m_accessibleSpots.size()) <= spot) {
        auto* child = new SpotAccessible(const_cast<SpotMapView*>(this), static_cast<int>(m_accessibleSpots.size()));
        m_accessibleSpots.push_back(QAccessible::registerAccessibleInterface(child));
    }
    return QAccessible::accessibleInterface(m_accessibleSpots[static_cast<size_t>(spot)]);
}

} // namespace tenlog::spots
