// The frequency privileges window: a chart of the segments one licence class
// may use on each band, drawn from BandPlan.txt, with a button per class.
// It opens on Extra. A file that cannot be read is reported; the class
// buttons then draw from the records read before the fault.
#pragma once

#include "bandplan/PrivilegesChart.h"

#include <QDialog>
#include <QWidget>

class QLabel;

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::bandplan {

// The chart itself: one bar per row with the band's name beside it and the
// segments painted on it, blue for CW and green for phone; tool tips name
// each bar's and segment's edges.
class PrivilegesChartView : public QWidget {
    Q_OBJECT
public:
    explicit PrivilegesChartView(QWidget* parent = nullptr);
    void setChart(PrivilegesChart chart);
    const PrivilegesChart& chart() const { return m_chart; }

    // Where things are drawn at the widget's present size.
    QRectF barRect(int row) const;
    QRectF nameRect(int row) const;
    QRectF segmentRect(const ChartSegment& segment) const;
    // The text drawn on a segment: its edges on one line, or on two when
    // only that fits, or nothing when neither fits (its tool tip and the
    // spoken chart still give them).
    QString segmentText(const ChartSegment& segment) const;
    QFont nameFont() const;
    QFont segmentFont() const;
    // The tool tip at a point: a segment's, else a bar's or band name's.
    QString toolTipAt(const QPointF& point) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    double nameWidth() const;

    PrivilegesChart m_chart;
};

class PrivilegesWindow : public QDialog {
    Q_OBJECT
public:
    // Reads BandPlan.txt in workingFolder; a fault is reported through dialogs.
    PrivilegesWindow(const QString& workingFolder, platform::Dialogs& dialogs, QWidget* parent = nullptr);

    // Draws the chart of one class ("N", "T", "P", "G", "A", "E").
    void drawClass(const LicenceClass& licenceClass);
    PrivilegesChartView* chartView() const { return m_view; }

private:
    BandPlan m_plan;
    QLabel* m_title = nullptr;
    PrivilegesChartView* m_view = nullptr;
};

} // namespace tenlog::bandplan
