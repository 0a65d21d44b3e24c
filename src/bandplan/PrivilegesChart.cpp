#include "bandplan/PrivilegesChart.h"

#include "text/NumberText.h"

#include <vector>

namespace tenlog::bandplan {

namespace {

QString edgesText(float low, float high)
{
    return chartEdgeText(low) + QStringLiteral(" - ") + chartEdgeText(high);
}

// The first record carrying the band's name gives its range.
const BandPlanRecord* bandRange(const QList<BandPlanRecord>& records, const QString& band)
{
    for (const BandPlanRecord& record : records) {
        if (record.band == band)
            return &record;
    }
    return nullptr;
}

} // namespace

std::span<const LicenceClass> licenceClasses()
{
    static const std::vector<LicenceClass> classes = {
        {"Command1", QStringLiteral("Novice"), QStringLiteral("Novice Frequency Privileges"), QStringLiteral("N")},
        {"Command2", QStringLiteral("Technician"), QStringLiteral("Technician Frequency Privileges"),
         QStringLiteral("T")},
        {"Command3", QStringLiteral("Tech +"), QStringLiteral("Technician Plus Frequency Privileges"),
         QStringLiteral("P")},
        {"Command4", QStringLiteral("General"), QStringLiteral("General Frequency Privileges"), QStringLiteral("G")},
        {"Command5", QStringLiteral("Advanced"), QStringLiteral("Advanced Frequency Privileges"), QStringLiteral("A")},
        {"Command6", QStringLiteral("Extra"), QStringLiteral("Extra Frequency Privileges"), QStringLiteral("E")},
    };
    return classes;
}

QString bandCaption(const QString& band, float lowMHz)
{
    return band + (lowMHz >= 300 ? QStringLiteral(" cm") : QStringLiteral(" m"));
}

QString chartEdgeText(float megahertz)
{
    return text::formatNumber(megahertz, QStringLiteral("#,###.##0"));
}

QString effectiveDateCaption(const QString& effectiveDate)
{
    return QStringLiteral("Frequencies Effective: ") + effectiveDate;
}

double chartRowTop(int row, int rowCount, double chartTop, double height)
{
    if (rowCount <= 0)
        return chartTop;
    const double step = 0.8 * (height - chartTop) / rowCount;
    return chartTop + (row + 1) * step;
}

PrivilegesChart buildPrivilegesChart(const QList<BandPlanRecord>& records, const QString& licenceClass)
{
    PrivilegesChart chart;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const BandPlanRecord& overall = records[i];
        if (overall.licenceClass != u"O")
            continue;
        bool classHasSegment = false;
        for (qsizetype j = i + 1; j < records.size() && records[j].band == overall.band; ++j)
            classHasSegment = classHasSegment || records[j].licenceClass == licenceClass;
        if (!classHasSegment)
            continue;
        // Bands past the chart's room are left off rather than spoiling the
        // bands that fit.
        if (chart.rows.size() == kMaxChartRows)
            break;
        const BandPlanRecord* range = bandRange(records, overall.band);
        chart.rows.append({overall.band, bandCaption(overall.band, range->lowMHz), range->lowMHz, range->highMHz,
                           overall.band + QStringLiteral("  ") + edgesText(overall.lowMHz, overall.highMHz)});
    }
    for (const BandPlanRecord& record : records) {
        if (record.licenceClass != licenceClass)
            continue;
        for (int row = 0; row < chart.rows.size(); ++row) {
            const ChartRow& bar = chart.rows[row];
            const double span = double(bar.highMHz) - double(bar.lowMHz);
            // A band without a range has nowhere to put a segment.
            if (bar.band != record.band || !(span > 0))
                continue;
            const bool cw = record.mode == u"CW";
            const QString edges = edgesText(record.lowMHz, record.highMHz);
            chart.segments.append({row, (double(record.lowMHz) - bar.lowMHz) / span,
                                   (double(record.highMHz) - record.lowMHz) / span, edges,
                                   (cw ? QStringLiteral("CW  ") : QStringLiteral("PH  ")) + edges, cw});
        }
    }
    return chart;
}

} // namespace tenlog::bandplan
