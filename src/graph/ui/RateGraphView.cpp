#include "graph/ui/RateGraphView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace tenlog::graph {

namespace {

// The design, in twips: the drawing is 9600 wide and reaches down to the
// date labels.
constexpr double kDesignWidth = 9600;
constexpr double kDesignHeight = 6540;
constexpr double kAxisLeft = 480;
constexpr double kPlotRight = 9240;
constexpr double kPlotTop = 120;
constexpr double kAxisBottom = 5880;
constexpr double kStripTop = 5900;
constexpr double kStripBottom = 6000;
constexpr double kGridStep = 360;
constexpr double kTimeRowTop = 6030;
constexpr double kDateRowTop = 6280;
constexpr double kLabelRowHeight = 250;
constexpr double kPlotHeight = kAxisBottom - kPlotTop;
constexpr double kSlotWidth = (kPlotRight - kAxisLeft) / kSlots;
// The curve starts this far right of the axis, with slot 2 on that line.
constexpr double kCurveInset = 10;

const QColor kGreyGrid(128, 128, 128);

QColor stripColour(SlotMode mode)
{
    return mode == SlotMode::Cw ? kCwStripColour : kPhoneStripColour;
}

} // namespace

RateGraphView::RateGraphView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("graphPlot"));
    setAccessibleName(QStringLiteral("QSO rate graph"));
    // Reached with Tab, a screen reader says the graph's story.
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setMinimumSize(320, 220);
}

void RateGraphView::setGraph(const RateGraph* graph)
{
    m_graph = graph;
    m_readingSlot = 0;
    setAccessibleDescription(graph ? graph->description() : QString());
    update();
}

void RateGraphView::setWhiteBackground(bool white)
{
    m_white = white;
    update();
}

QColor RateGraphView::backgroundColour() const
{
    return m_white ? QColor(Qt::white) : QColor(Qt::black);
}

QColor RateGraphView::labelColour() const
{
    return m_white ? QColor(Qt::black) : QColor(Qt::white);
}

QColor RateGraphView::gridColour() const
{
    return m_white ? QColor(Qt::black) : kGreyGrid;
}

double RateGraphView::px(double xTwips) const
{
    return xTwips * width() / kDesignWidth;
}

double RateGraphView::py(double yTwips) const
{
    return yTwips * height() / kDesignHeight;
}

QRectF RateGraphView::plotRect() const
{
    return QRectF(QPointF(px(kAxisLeft), py(kPlotTop)), QPointF(px(kPlotRight), py(kAxisBottom)));
}

double RateGraphView::curveX(int slot) const
{
    return px(kAxisLeft + kCurveInset + kSlotWidth * (slot - 2));
}

double RateGraphView::curveY(float value) const
{
    const double range = double(m_graph->maximum) - double(m_graph->minimum);
    const double scale = kPlotHeight / range * 0.995;
    return py(kAxisBottom - scale * (double(value) - double(m_graph->minimum)) - 0.0025 * kPlotHeight);
}

QPointF RateGraphView::curvePoint(int slot) const
{
    if (!m_graph || !m_graph->hasCurve())
        return {};
    return {curveX(slot), curveY(m_graph->smoothed[size_t(slot)])};
}

QRectF RateGraphView::stripRect(int slot) const
{
    return QRectF(QPointF(curveX(slot - 1), py(kStripTop)), QPointF(curveX(slot), py(kStripBottom)));
}

int RateGraphView::slotAt(double x) const
{
    const QRectF plot = plotRect();
    if (x < plot.left() || x > plot.right() || width() <= 0)
        return 0;
    const double twips = x * kDesignWidth / width();
    const int slot = int(std::lround((twips - kAxisLeft - kCurveInset) / kSlotWidth)) + 2;
    return std::clamp(slot, 1, kSlots);
}

void RateGraphView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColour());
    if (hasFocus()) {
        // Where the keyboard is, for those who tab through the window.
        painter.setPen(QPen(labelColour(), 0, Qt::DotLine));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -2, -2));
    }
    paintFrame(painter);
    if (!m_graph)
        return;
    paintLabels(painter);
    if (!m_graph->hasCurve()) {
        const QRectF plot = plotRect();
        const double margin = plot.width() / 12;
        const int flags = Qt::AlignCenter | Qt::TextWordWrap;
        const QRectF area = plot.adjusted(margin, 0, -margin, 0);
        // Kept clear of the grid lines, so the words read whole.
        const double pad = painter.fontMetrics().height() / 2.0;
        painter.fillRect(painter.boundingRect(area, flags, m_graph->noCurveReason).adjusted(-pad, -pad, pad, pad),
                         backgroundColour());
        painter.setPen(labelColour());
        painter.drawText(area, flags, m_graph->noCurveReason);
        return;
    }
    paintStrip(painter);
    paintCurve(painter);
}

void RateGraphView::paintFrame(QPainter& painter) const
{
    painter.setPen(QPen(gridColour(), 0));
    for (double y = kPlotTop + kGridStep; y < kAxisBottom; y += kGridStep)
        painter.drawLine(QPointF(px(kAxisLeft), py(y)), QPointF(px(kPlotRight), py(y)));
    painter.setPen(QPen(labelColour(), 0));
    for (double y : {kPlotTop, kAxisBottom, kStripTop, kStripBottom})
        painter.drawLine(QPointF(px(kAxisLeft), py(y)), QPointF(px(kPlotRight), py(y)));
    painter.drawLine(QPointF(px(kAxisLeft), py(kPlotTop)), QPointF(px(kAxisLeft), py(kStripBottom)));
    painter.drawLine(QPointF(px(kPlotRight), py(kPlotTop)), QPointF(px(kPlotRight), py(kStripBottom)));
}

void RateGraphView::paintLabels(QPainter& painter) const
{
    painter.setPen(labelColour());
    const double lineHeight = painter.fontMetrics().height();
    const double gap = px(40);
    for (int k = 0; k < m_graph->rateLabels.size(); ++k) {
        const double y = py(kAxisBottom - k * kGridStep);
        painter.drawText(QRectF(0, y - lineHeight / 2, px(kAxisLeft) - gap, lineHeight),
                         Qt::AlignRight | Qt::AlignVCenter, m_graph->rateLabels[k]);
    }
    const int last = int(m_graph->timeLabels.size()) - 1;
    for (int k = 0; k <= last; ++k) {
        // Each label stands under the slot of its moment, kept inside the view.
        const double x = curveX(0) + (curveX(kSlots) - curveX(0)) * k / last;
        const double halfWidth = std::max(painter.fontMetrics().horizontalAdvance(m_graph->timeLabels[k]),
                                          painter.fontMetrics().horizontalAdvance(m_graph->dateLabels[k]))
                                     / 2.0
                               + 2;
        const double left = std::clamp(x - halfWidth, 0.0, std::max(0.0, width() - 2 * halfWidth));
        const double rowHeight = std::max(lineHeight, py(kLabelRowHeight));
        painter.drawText(QRectF(left, py(kTimeRowTop), 2 * halfWidth, rowHeight), Qt::AlignHCenter | Qt::AlignTop,
                         m_graph->timeLabels[k]);
        painter.drawText(QRectF(left, std::max(py(kDateRowTop), py(kTimeRowTop) + lineHeight), 2 * halfWidth,
                                rowHeight),
                         Qt::AlignHCenter | Qt::AlignTop, m_graph->dateLabels[k]);
    }
}

void RateGraphView::paintStrip(QPainter& painter) const
{
    const SlotValues& values = m_graph->smoothed;
    painter.save();
    // Slot 1's piece starts a little left of the axis.
    painter.setClipRect(QRectF(QPointF(px(kAxisLeft), py(kStripTop)), QPointF(px(kPlotRight), py(kStripBottom))));
    // Runs of one colour are filled at once.
    int runStart = 0;
    SlotMode runMode = SlotMode::None;
    auto fillRun = [&](int endSlot) {
        if (runStart > 0 && runMode != SlotMode::None)
            painter.fillRect(stripRect(runStart).united(stripRect(endSlot)), stripColour(runMode));
    };
    for (int slot = 1; slot <= kSlots; ++slot) {
        const bool drawn = values[size_t(slot)] > 0 || values[size_t(slot) - 1] > 0;
        const SlotMode mode = drawn ? m_graph->modes[size_t(slot)] : SlotMode::None;
        if (mode != runMode) {
            fillRun(slot - 1);
            runStart = slot;
            runMode = mode;
        }
    }
    fillRun(kSlots);
    painter.restore();
}

void RateGraphView::paintCurve(QPainter& painter) const
{
    QPolygonF line;
    line.reserve(kSlots + 1);
    for (int slot = 0; slot <= kSlots; ++slot)
        line << curvePoint(slot);
    painter.save();
    // Slot 0 and values below the smallest lie outside the box.
    painter.setClipRect(plotRect());
    painter.setPen(QPen(kCurveColour, std::max(1, int(std::lround(height() / 320.0)))));
    painter.drawPolyline(line);
    if (m_readingSlot > 0) {
        painter.setPen(QPen(labelColour(), 0, Qt::DotLine));
        const double x = curveX(m_readingSlot);
        painter.drawLine(QPointF(x, py(kPlotTop)), QPointF(x, py(kAxisBottom)));
    }
    painter.restore();
}

void RateGraphView::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void RateGraphView::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

void RateGraphView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    const bool overPlot = at.y() >= py(kPlotTop) && at.y() <= py(kStripBottom);
    showReadingAt(overPlot ? slotAt(at.x()) : 0);
    QWidget::mouseMoveEvent(event);
}

void RateGraphView::leaveEvent(QEvent* event)
{
    showReadingAt(0);
    QWidget::leaveEvent(event);
}

void RateGraphView::showReadingAt(int slot)
{
    if (!m_graph || !m_graph->hasCurve())
        slot = 0;
    if (slot == m_readingSlot)
        return;
    m_readingSlot = slot;
    update();
    emit readingChanged(slot > 0 ? m_graph->slotReading(slot) : QString());
}

} // namespace tenlog::graph
