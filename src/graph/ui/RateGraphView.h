// The rate graph's drawing: the plot box with its grid, the curve, the mode
// strip under the axis and the rate, time and date labels, laid out on the
// window's 9600-twip-wide design and stretched to the widget's size, so a
// resize redraws it to fit. With no curve the plot box says why.
#pragma once

#include "graph/RateGraph.h"

#include <QColor>
#include <QWidget>

class QPainter;

namespace tenlog::graph {

inline const QColor kCurveColour(0, 0, 255);
inline const QColor kCwStripColour(255, 0, 0);
inline const QColor kPhoneStripColour(0, 255, 255);

class RateGraphView : public QWidget {
    Q_OBJECT
public:
    explicit RateGraphView(QWidget* parent = nullptr);

    // The graph is kept by the caller and must outlive the view.
    void setGraph(const RateGraph* graph);
    void setWhiteBackground(bool white);
    bool whiteBackground() const { return m_white; }
    QColor backgroundColour() const;
    QColor labelColour() const;
    QColor gridColour() const;

    // Where things are drawn at the widget's present size, in pixels.
    QRectF plotRect() const;
    QPointF curvePoint(int slot) const;
    QRectF stripRect(int slot) const;
    // The slot under a horizontal position, 1 .. 1500; 0 outside the plot.
    int slotAt(double x) const;

signals:
    // The time and rate under the pointer; empty when it leaves the curve.
    void readingChanged(const QString& reading);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    double px(double xTwips) const;
    double py(double yTwips) const;
    double curveX(int slot) const;
    double curveY(float value) const;
    void paintFrame(QPainter& painter) const;
    void paintLabels(QPainter& painter) const;
    void paintStrip(QPainter& painter) const;
    void paintCurve(QPainter& painter) const;
    void showReadingAt(int slot);

    const RateGraph* m_graph = nullptr;
    bool m_white = false;
    int m_readingSlot = 0;
};

} // namespace tenlog::graph
