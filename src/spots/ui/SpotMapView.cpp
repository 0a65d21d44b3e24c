// The painted spot map: its geometry and its painting. The mouse, the keyboard
// and the accessible spots are in SpotMapViewInput.cpp.
#include "spots/ui/SpotMapView.h"

#include "spots/ui/SpotMapAccessible.h"

#include <QPainter>
#include <QResizeEvent>

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
    m_layout.reset();
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

const SpotMapView::Layout& SpotMapView::layout() const
{
    if (m_layout)
        return *m_layout;
    Layout layout;
    const QFontMetrics metrics = fontMetrics();
    const int textHeight = metrics.height();
    const int rows = static_cast<int>(m_map.rows.size());
    int nameWidth = 0;
    if (rows > 1) {
        for (const MapRow& r : m_map.rows)
            nameWidth = std::max(nameWidth, metrics.horizontalAdvance(r.name));
        nameWidth += textHeight / 2;
    }
    const int shortLabel = metrics.horizontalAdvance(QStringLiteral("W9W"));
    for (int row = 0; row < rows; ++row) {
        const MapRow& mapRow = m_map.rows[static_cast<size_t>(row)];
        RowFrame frame;
        const int top = height() * row / rows;
        const int bottom = height() * (row + 1) / rows;
        // Rows of a many-row map stand apart by a line of the window's colour.
        frame.strip = QRect(0, top, width(), bottom - top - (rows > 1 ? 1 : 0));
        frame.nameWidth = nameWidth;
        // Labels and captions stand a little off the line (a 25th of the
        // strip, about 0.004 of a window's height).
        frame.gap = std::clamp(qRound(0.04 * frame.strip.height()), 1, std::max(1, textHeight / 4));
        // The line across the middle, unless the strip is too low for a label
        // above it and the captions below: the labels come first.
        const int highest = frame.strip.top() + textHeight + frame.gap + 1;
        const int lowest = frame.strip.bottom() - textHeight - frame.gap - 1;
        frame.lineY = std::max(std::min(frame.strip.center().y(), lowest), std::min(highest, frame.strip.bottom()));
        // The line's ends leave room for half a label, and for half the end
        // captions, which are centred on them.
        std::array<int, 5> captionWidths{};
        int widest = shortLabel;
        for (size_t i = 0; i < 5; ++i) {
            captionWidths[i] = metrics.horizontalAdvance(mapRow.scale.captions[i]) + 2;
            widest = std::max(widest, captionWidths[i]);
        }
        const int half = widest / 2 + 2;
        frame.x1 = frame.strip.left() + nameWidth + half;
        frame.x2 = std::max(frame.x1 + 1, frame.strip.right() - half);
        const int leftmost = frame.strip.left() + nameWidth;
        for (size_t i = 0; i < 5; ++i) {
            const int centre = frame.x1 + (frame.x2 - frame.x1) * static_cast<int>(i) / 4;
            const int left = std::clamp(centre - captionWidths[i] / 2, leftmost,
                                        std::max(leftmost, frame.strip.right() + 1 - captionWidths[i]));
            frame.captions[i] = QRect(left, frame.lineY + frame.gap + 1, captionWidths[i], textHeight);
        }
        layout.rows.push_back(frame);
    }
    // A label is a call's prefix; a call without digits is all label, and a
    // long one is cut so it cannot cover the map.
    const int labelLimit = metrics.horizontalAdvance(QStringLiteral("WWWWWWW"));
    for (const PlacedSpot& spot : m_map.spots) {
        LabelPlace place;
        if (spot.row < 0 || spot.row >= rows) {
            layout.labels.push_back(place);
            continue;
        }
        const RowFrame& frame = layout.rows[static_cast<size_t>(spot.row)];
        place.text = metrics.elidedText(spot.label, Qt::ElideRight, labelLimit);
        const int width = std::max(metrics.horizontalAdvance(place.text) + 4, 8);
        place.tickX = frame.x1 + qRound(std::clamp(spot.position, 0.0, 1.0) * (frame.x2 - frame.x1));
        const int leftmost = frame.strip.left() + frame.nameWidth;
        const int left = std::clamp(place.tickX - width / 2, leftmost, std::max(leftmost, frame.strip.right() + 1 - width));
        place.rect = QRect(left, frame.lineY - frame.gap - textHeight, width, textHeight);
        layout.labels.push_back(place);
    }
    m_layout = std::move(layout);
    return *m_layout;
}

void SpotMapView::resizeEvent(QResizeEvent* event)
{
    m_layout.reset();
    QWidget::resizeEvent(event);
}

void SpotMapView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_layout.reset();
    QWidget::changeEvent(event);
}

QRect SpotMapView::stripRect(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_map.rows.size()))
        return {};
    return layout().rows[static_cast<size_t>(row)].strip;
}

QLine SpotMapView::scaleLine(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_map.rows.size()))
        return {};
    const RowFrame& frame = layout().rows[static_cast<size_t>(row)];
    return {frame.x1, frame.lineY, frame.x2, frame.lineY};
}

QRect SpotMapView::labelRect(int spot) const
{
    if (spot < 0 || spot >= static_cast<int>(m_map.spots.size()))
        return {};
    return layout().labels[static_cast<size_t>(spot)].rect;
}

QRect SpotMapView::captionRect(int row, int caption) const
{
    if (row < 0 || row >= static_cast<int>(m_map.rows.size()) || caption < 0 || caption > 4)
        return {};
    return layout().rows[static_cast<size_t>(row)].captions[static_cast<size_t>(caption)];
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
    const Layout& places = layout();
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QColor scaleColour = colourOf(kScaleColour);
    for (size_t row = 0; row < places.rows.size(); ++row) {
        const RowFrame& frame = places.rows[row];
        const MapRow& mapRow = m_map.rows[row];
        painter.setClipRect(frame.strip);
        painter.fillRect(frame.strip, colourOf(kStripColour));
        painter.setPen(scaleColour);
        if (frame.nameWidth > 0)
            painter.drawText(QRect(frame.strip.left(), frame.strip.top(), frame.nameWidth, frame.strip.height()),
                             Qt::AlignCenter, mapRow.name);
        painter.drawLine(frame.x1, frame.lineY, frame.x2, frame.lineY);
        for (size_t i = 0; i < 5; ++i)
            painter.drawText(frame.captions[i], Qt::AlignCenter, mapRow.scale.captions[i]);
    }
    // Oldest first, so the newest label lies on top where labels overlap.
    for (int k = static_cast<int>(m_map.spots.size()) - 1; k >= 0; --k) {
        const PlacedSpot& spot = m_map.spots[static_cast<size_t>(k)];
        const LabelPlace& place = places.labels[static_cast<size_t>(k)];
        if (place.rect.isNull())
            continue;
        const RowFrame& frame = places.rows[static_cast<size_t>(spot.row)];
        painter.setClipRect(frame.strip);
        painter.setPen(colourOf(spot.colour));
        // A tick from the label to the line marks the frequency itself.
        painter.drawLine(place.tickX, place.rect.bottom() + 1, place.tickX, frame.lineY - 1);
        painter.drawText(place.rect, Qt::AlignCenter, place.text);
    }
    if (hasFocus() && m_focused >= 0) {
        painter.setClipRect(stripRect(m_map.spots[static_cast<size_t>(m_focused)].row));
        painter.setPen(QPen(scaleColour, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(labelRect(m_focused).adjusted(0, 0, -1, -1));
    }
}

} // namespace tenlog::spots
