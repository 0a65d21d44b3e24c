// The geometry of the frequency privileges chart for one licence class: a
// bar per band on which the class has a segment, in file order, and the
// segments placed on their bars in proportion to the band's range. The
// window only turns these into rectangles.
#pragma once

#include "bandplan/BandPlan.h"

#include <QList>
#include <QString>

#include <span>

namespace tenlog::bandplan {

// More bands than this do not fit the window's height; the rest are left off.
inline constexpr int kMaxChartRows = 20;

struct LicenceClass {
    const char* buttonName; // the button's objectName
    QString caption;
    QString title;
    QString letter;
};

// Novice, Technician, Tech +, General, Advanced, Extra: the buttons' order.
std::span<const LicenceClass> licenceClasses();

struct ChartRow {
    QString band;
    QString caption; // the band with its unit: "160 m", "1.25 m", "70 cm"
    // The band's range: from the first record carrying its name.
    float lowMHz = 0;
    float highMHz = 0;
    // From the band's "O" record: "10  28.000 - 29.700".
    QString toolTip;
};

struct ChartSegment {
    int row = 0; // index into ChartRow
    // Where the segment stands on its bar, as fractions of the bar's width.
    double left = 0;
    double width = 0;
    QString caption; // "28.300 - 29.700"
    QString toolTip; // "PH  28.300 - 29.700"
    bool cw = false; // drawn blue; anything but "CW" is drawn green as phone
};

struct PrivilegesChart {
    QList<ChartRow> rows;
    QList<ChartSegment> segments;
};

PrivilegesChart buildPrivilegesChart(const QList<BandPlanRecord>& records, const QString& licenceClass);

// A band's name with its unit: bands above 300 MHz are named in
// centimetres ("70 cm"), the others in metres ("10 m").
QString bandCaption(const QString& band, float lowMHz);
// "Frequencies Effective: " and the file's date.
QString effectiveDateCaption(const QString& effectiveDate);
// An edge as the chart writes it: "#,###.##0".
QString chartEdgeText(float megahertz);
// The top of row (0-based) of rowCount bars spread over the chart area that
// starts at chartTop in a window height high.
double chartRowTop(int row, int rowCount, double chartTop, double height);

} // namespace tenlog::bandplan
