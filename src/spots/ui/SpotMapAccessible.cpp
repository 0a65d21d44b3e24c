#include "spots/ui/SpotMapAccessible.h"

#include "spots/ui/SpotMapView.h"

#include <QWidget>
#include <QWindow>

namespace tenlog::spots {

namespace {

QAccessibleInterface* makeSpotMapInterface(const QString&, QObject* object)
{
    if (auto* view = qobject_cast<SpotMapView*>(object))
        return new SpotMapAccessible(view);
    return nullptr;
}

} // namespace

void installSpotMapAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(makeSpotMapInterface);
        return true;
    }();
    (void)installed;
}

SpotMapAccessible::SpotMapAccessible(SpotMapView* view)
    : QAccessibleWidget(view, QAccessible::List)
{
}

SpotMapView* SpotMapAccessible::view() const
{
    return static_cast<SpotMapView*>(widget());
}

int SpotMapAccessible::childCount() const
{
    return static_cast<int>(view()->map().spots.size());
}

QAccessibleInterface* SpotMapAccessible::child(int index) const
{
    return view()->accessibleSpot(index);
}

int SpotMapAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* spot = dynamic_cast<const SpotAccessible*>(child);
    return spot && spot->isValid() && spot->parent() == this ? spot->spot() : -1;
}

QAccessibleInterface* SpotMapAccessible::focusChild() const
{
    if (view()->hasFocus() && view()->focusedSpot() >= 0)
        return child(view()->focusedSpot());
    return QAccessibleWidget::focusChild();
}

QAccessibleInterface* SpotMapAccessible::childAt(int x, int y) const
{
    const int spot = view()->spotAt(view()->mapFromGlobal(QPoint(x, y)));
    return spot >= 0 ? child(spot) : nullptr;
}

SpotAccessible::SpotAccessible(SpotMapView* view, int spot)
    : m_view(view)
    , m_spot(spot)
{
}

bool SpotAccessible::isValid() const
{
    return m_view && m_spot < static_cast<int>(m_view->map().spots.size());
}

QWindow* SpotAccessible::window() const
{
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface* SpotAccessible::parent() const
{
    return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
}

QString SpotAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    const PlacedSpot& spot = m_view->map().spots[static_cast<size_t>(m_spot)];
    switch (t) {
    case QAccessible::Name: return spot.spoken;
    case QAccessible::Description: return spot.tip;
    default: return {};
    }
}

QRect SpotAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect label = m_view->labelRect(m_spot);
    return {m_view->mapToGlobal(label.topLeft()), label.size()};
}

QAccessible::State SpotAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.focusable = true;
    state.selectable = true;
    state.focused = m_view->hasFocus() && m_view->focusedSpot() == m_spot;
    state.selected = m_view->focusedSpot() == m_spot;
    state.invisible = !m_view->isVisible();
    return state;
}

} // namespace tenlog::spots
