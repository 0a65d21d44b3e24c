// The painted spot map: geometry, painting, the mouse and the keyboard.
#include "spots/ui/SpotMapView.h"

#include "spots/ui/SpotMapAccessible.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace tenlog::spots {

namespace {

QColor colourOf(qint32 value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

} // namespace

SpotMapView::SpotMapView(QWidget* parent)
    : QWidget(parent)
{
    installSpotMapAccessibility();
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleDescription(
        QStringLiteral("Left and Right go from spot to spot by frequency, Up and Down to the band above or below. "
                       "Enter tunes the radio to the spot and takes its call; Delete removes the spot."));
}

SpotMapView::~SpotMapView()
{
    for (QAccessible::Id id : m_accessibleSpots)
        QAccessible::deleteAccessibleInterface(id);
}

void SpotMapView::setMap(SpotMap map)
{
    m_map = std::move(map);
    // The keyboard stays on its spot as the store moves on under it; a spot
    // that has gone leaves it on the one now in its place.
    const int before = m_focused;
    m_focused = -1;
    for (size_t k = 0; k < m_map.spots.size(); ++k) {
        const PlacedSpot& spot = m_map.spots[k];
        if (spot.tip == m_focusedIdentity.tip && spot.row == m_focusedIdentity.row) {
            m_focused = static_cast<int>(k);
            break;
        }
    }
    if (m_focused < 0 && before >= 0 && !m_map.spots.empty())
        m_focused = std::min(before, static_cast<int>(m_map.spots.size()) - 1);
    if (m_focused >= 0) {
        const PlacedSpot& spot = m_map.spots[static_cast<size_t>(m_focused)];
        m_focusedIdentity = {spot.tip, spot.row};
    }
    m_hovered = -1;
    if (QAccessible::isActive()) {
        QAccessibleEvent reorder(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&reorder);
        if (hasFocus() && m_focused != before)
            announceFocus();
    }
    update();
}

void SpotMapView::focusSpot(int spot)
{
    if (spot < 0 || spot >= static_cast<int>(m_map.spots.size()))
        return;
    m_focused = spot;
    const PlacedSpot& placed = m_map.spots[static_cast<size_t>(spot)];
    m_focusedIdentity = {placed.tip, placed.row};
    announceFocus();
    update();
}

SpotMapView::RowFrame SpotMapView::rowFrame(int row) const
{
    const int rows = std::max<int>(1, static_cast<int>(m_map.rows.size()));
    const QFontMetrics metrics = fontMetrics();
    const int textHeight = metrics.height();
    RowFrame frame;
    const int top = height() * row / rows;
    const int bottom = height() * (row + 1) / rows;
    // Rows of a many-row map stand apart by a line of the window's colour.
    frame.strip = QRect(0, top, width(), bottom - top - (rows > 1 ? 1 : 0));
    frame.gap = std::clamp(qRound(0.004 * window()->height()), 1, std::max(1, textHeight / 4));
    if (rows > 1) {
        int widestName = 0;
        for (const MapRow& r : m_map.rows)
            widestName = std::max(widestName, metrics.horizontalAdvance(r.name));
        frame.nameWidth = widestName + textHeight / 2;
    }
    // The line across the middle, unless the strip is too low for a label
    // above it and the captions below: the labels come first.
    const int highest = frame.strip.top() + textHeight + frame.gap + 1;
    const int lowest = frame.strip.bottom() - textHeight - frame.gap - 1;
    frame.lineY = std::max(std::min(frame.strip.center().y(), lowest), std::min(highest, frame.strip.bottom()));
    // The line's ends leave room for half a label, and for half the end
    // captions, which are centred on them.
    int widest = metrics.horizontalAdvance(QStringLiteral("W9W"));
    if (row >= 0 && row < static_cast<int>(m_map.rows.size())) {
        for (const QString& caption : m_map.rows[static_cast<size_t>(row)].scale.captions)
            widest = std::max(widest, metrics.horizontalAdvance(caption));
    }
    const int half = widest / 2 + 2;
    frame.x1 = frame.strip.left() + frame.nameWidth + half;
    frame.x2 = std::max(frame.x1 + 1, frame.strip.right() - half);
    return frame;
}

QRect SpotMapView::stripRect(int row) const
{
    return rowFrame(row).strip;
}

QLine SpotMapView::scaleLine(int row) const
{
    const RowFrame frame = rowFrame(row);
    return {frame.x1, frame.lineY, frame.x2, frame.lineY};
}

int SpotMapView::labelWidthLimit() const
{
    return fontMetrics().horizontalAdvance(QStringLiteral("WWWWWWW"));
}

QString SpotMapView::shownLabel(const PlacedSpot& spot) const
{
    // A label is a call's prefix; a call without digits is all label, and a
    // long one is cut so it cannot cover the map.
    return fontMetrics().elidedText(spot.label, Qt::ElideRight, labelWidthLimit());
}

QRect SpotMapView::labelRect(int spot) const
{
    if (spot < 0 || spot >= static_cast<int>(m_map.spots.size()))
        return {};
    const PlacedSpot& placed = m_map.spots[static_cast<size_t>(spot)];
    const RowFrame frame = rowFrame(placed.row);
    const QFontMetrics metrics = fontMetrics();
    const int width = std::max(metrics.horizontalAdvance(shownLabel(placed)) + 4, 8);
    const int centre = frame.x1 + qRound(std::clamp(placed.position, 0.0, 1.0) * (frame.x2 - frame.x1));
    const int leftmost = frame.strip.left() + frame.nameWidth;
    const int left = std::clamp(centre - width / 2, leftmost, std::max(leftmost, frame.strip.right() + 1 - width));
    return {left, frame.lineY - frame.gap - metrics.height(), width, metrics.height()};
}

QRect SpotMapView::captionRect(int row, int caption) const
{
    if (row < 0 || row >= static_cast<int>(m_map.rows.size()) || caption < 0 || caption > 4)
        return {};
    const RowFrame frame = rowFrame(row);
    const QFontMetrics metrics = fontMetrics();
    const QString& text = m_map.rows[static_cast<size_t>(row)].scale.captions[static_cast<size_t>(caption)];
    const int width = metrics.horizontalAdvance(text) + 2;
    const int centre = frame.x1 + (frame.x2 - frame.x1) * caption / 4;
    const int leftmost = frame.strip.left() + frame.nameWidth;
    const int left = std::clamp(centre - width / 2, leftmost, std::max(leftmost, frame.strip.right() + 1 - width));
    return {left, frame.lineY + frame.gap + 1, width, metrics.height()};
}

int SpotMapView::spotAt(const QPoint& point) const
{
    for (int k = 0; k < static_cast<int>(m_map.spots.size()); ++k) {
        if (labelRect(k).contains(point))
            return k;
    }
    return -1;
}

QSize SpotMapView::sizeHint() const
{
    const int rows = std::max<int>(1, static_cast<int>(m_map.rows.size()));
    return {640, rows * (3 * fontMetrics().height())};
}

QSize SpotMapView::minimumSizeHint() const
{
    const int rows = std::max<int>(1, static_cast<int>(m_map.rows.size()));
    return {200, rows * (2 * fontMetrics().height() + 6)};
}

void SpotMapView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QColor scaleColour = colourOf(kScaleColour);
    for (int row = 0; row < static_cast<int>(m_map.rows.size()); ++row) {
        const RowFrame frame = rowFrame(row);
        painter.setClipRect(frame.strip);
        painter.fillRect(frame.strip, colourOf(kStripColour));
        painter.setPen(scaleColour);
        if (frame.nameWidth > 0)
            painter.drawText(QRect(frame.strip.left(), frame.strip.top(), frame.nameWidth, frame.strip.height()),
                             Qt::AlignCenter, m_map.rows[static_cast<size_t>(row)].name);
        painter.drawLine(frame.x1, frame.lineY, frame.x2, frame.lineY);
        for (int i = 0; i < 5; ++i)
            painter.drawText(captionRect(row, i), Qt::AlignCenter,
                             m_map.rows[static_cast<size_t>(row)].scale.captions[static_cast<size_t>(i)]);
    }
    // Oldest first, so the newest label lies on top where labels overlap.
    for (int k = static_cast<int>(m_map.spots.size()) - 1; k >= 0; --k) {
        const PlacedSpot& spot = m_map.spots[static_cast<size_t>(k)];
        const RowFrame frame = rowFrame(spot.row);
        painter.setClipRect(frame.strip);
        const QRect label = labelRect(k);
        const QColor colour = colourOf(spot.colour);
        painter.setPen(colour);
        // A tick from the label to the line marks the frequency itself.
        const int x = frame.x1 + qRound(std::clamp(spot.position, 0.0, 1.0) * (frame.x2 - frame.x1));
        painter.drawLine(x, label.bottom() + 1, x, frame.lineY - 1);
        painter.drawText(label, Qt::AlignCenter, shownLabel(spot));
    }
    if (hasFocus() && m_focused >= 0) {
        painter.setClipRect(stripRect(m_map.spots[static_cast<size_t>(m_focused)].row));
        painter.setPen(QPen(scaleColour, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(labelRect(m_focused).adjusted(0, 0, -1, -1));
    }
}

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
