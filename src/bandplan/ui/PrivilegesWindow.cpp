// The frequency privileges window.
#include "bandplan/ui/PrivilegesWindow.h"

#include "common/ui/FormScaling.h"
#include "platform/Dialogs.h"

#include <QFontMetricsF>
#include <QFrame>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace tenlog::bandplan {

namespace {

const QColor kCwColour(0, 0, 255);
const QColor kPhoneColour(0, 255, 0);
const QColor kBandNameColour(255, 255, 0);

QString spokenChart(const PrivilegesChart& chart)
{
    QStringList parts;
    for (int row = 0; row < chart.rows.size(); ++row) {
        QStringList segments;
        for (const ChartSegment& segment : chart.segments) {
            if (segment.row == row)
                segments << segment.toolTip;
        }
        parts << chart.rows[row].caption + QStringLiteral(": ") + segments.join(QStringLiteral(", "));
    }
    return parts.isEmpty() ? QStringLiteral("No segments") : parts.join(QStringLiteral("; "));
}

QLabel* legendLabel(QWidget* parent, const char* name, const QString& caption, const QColor& colour,
                    const QColor& textColour)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(caption + QStringLiteral(" segments colour"));
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, textColour);
    label->setPalette(palette);
    // Room for the whole caption with a margin, at any font size.
    label->setMinimumWidth(std::max(60, label->fontMetrics().horizontalAdvance(caption) + 16));
    label->setMinimumHeight(label->fontMetrics().height() + 4);
    return label;
}

} // namespace

PrivilegesChartView::PrivilegesChartView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("chart"));
    setAccessibleName(QStringLiteral("Privileges chart"));
    setMinimumSize(600, 360);
}

void PrivilegesChartView::setChart(PrivilegesChart chart)
{
    m_chart = std::move(chart);
    setAccessibleDescription(spokenChart(m_chart));
    update();
}

QFont PrivilegesChartView::nameFont() const
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSizeF(8 * std::clamp(width() / 960.0, 1.0, 1.5));
    return font;
}

QFont PrivilegesChartView::segmentFont() const
{
    QFont font(QStringLiteral("Arial Narrow"));
    font.setPointSizeF(7 * std::clamp(width() / 960.0, 1.0, 1.5));
    return font;
}

double PrivilegesChartView::nameWidth() const
{
    const QFontMetricsF metrics(nameFont());
    double widest = 0;
    for (const ChartRow& row : m_chart.rows)
        widest = std::max(widest, metrics.horizontalAdvance(row.caption));
    return std::max(0.05 * width(), widest + 8);
}

QRectF PrivilegesChartView::barRect(int row) const
{
    const double top = chartRowTop(row, int(m_chart.rows.size()), 0, height());
    // Tall enough for a line of text, but never into the next bar.
    const double step = m_chart.rows.isEmpty() ? height() : 0.8 * height() / m_chart.rows.size();
    const double textHeight = QFontMetricsF(segmentFont()).height() + 2;
    const double barHeight = std::min(std::max(0.04 * height(), textHeight), 0.9 * step);
    const double left = 0.04 * width() + nameWidth() + 0.01 * width();
    return {left, top, 0.96 * width() - left, barHeight};
}

QRectF PrivilegesChartView::nameRect(int row) const
{
    const QRectF bar = barRect(row);
    return {0.04 * width(), bar.top(), nameWidth(), bar.height()};
}

QRectF PrivilegesChartView::segmentRect(const ChartSegment& segment) const
{
    const QRectF bar = barRect(segment.row);
    return {bar.left() + bar.width() * segment.left, bar.top(), bar.width() * segment.width, bar.height()};
}

QString PrivilegesChartView::segmentText(const ChartSegment& segment) const
{
    const QRectF area = segmentRect(segment).adjusted(1, 0, -1, 0);
    const QFontMetricsF metrics(segmentFont());
    const QString twoLines = QString(segment.caption).replace(QStringLiteral(" - "), QStringLiteral(" -\n"));
    for (const QString& text : {segment.caption, twoLines}) {
        const QRectF needed = metrics.boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop, text);
        if (needed.width() <= area.width() && needed.height() <= area.height())
            return text;
    }
    return {};
}

QString PrivilegesChartView::toolTipAt(const QPointF& point) const
{
    // Segments lie in front of their bars: the last drawn is on top.
    for (qsizetype i = m_chart.segments.size() - 1; i >= 0; --i) {
        if (segmentRect(m_chart.segments[i]).contains(point))
            return m_chart.segments[i].toolTip;
    }
    for (int row = 0; row < m_chart.rows.size(); ++row) {
        if (barRect(row).contains(point) || nameRect(row).contains(point))
            return m_chart.rows[row].toolTip;
    }
    return {};
}

void PrivilegesChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(nameFont());
    for (int row = 0; row < m_chart.rows.size(); ++row) {
        painter.setPen(Qt::black);
        painter.setBrush(Qt::black);
        painter.drawRect(barRect(row));
        painter.setBrush(kBandNameColour);
        painter.drawRect(nameRect(row));
        painter.drawText(nameRect(row), Qt::AlignCenter, m_chart.rows[row].caption);
    }
    painter.setFont(segmentFont());
    for (const ChartSegment& segment : m_chart.segments) {
        const QRectF area = segmentRect(segment);
        painter.setPen(Qt::black);
        painter.setBrush(segment.cw ? kCwColour : kPhoneColour);
        painter.drawRect(area);
        painter.setPen(segment.cw ? Qt::white : Qt::black);
        painter.drawText(area, Qt::AlignCenter, segmentText(segment));
    }
}

bool PrivilegesChartView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}

PrivilegesWindow::PrivilegesWindow(const QString& workingFolder, platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_plan(loadBandPlan(workingFolder))
{
    setObjectName(QStringLiteral("frmBandPlan"));
    setWindowTitle(QStringLiteral("Frequency Privileges"));
    setAccessibleName(QStringLiteral("Frequency privileges"));
    auto* top = new QVBoxLayout(this);
    auto* heading = new QHBoxLayout;
    auto* effective = new QLabel(effectiveDateCaption(m_plan.effectiveDate), this);
    effective->setObjectName(QStringLiteral("Label1"));
    effective->setAccessibleName(effective->text());
    m_title = new QLabel(QStringLiteral("Privelages"), this);
    m_title->setObjectName(QStringLiteral("Label2"));
    m_title->setAccessibleName(QStringLiteral("Chart title"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    m_title->setFont(titleFont);
    heading->addWidget(effective);
    heading->addStretch(1);
    heading->addWidget(m_title);
    heading->addStretch(1);
    heading->addWidget(legendLabel(this, "Label3", QStringLiteral("CW"), kCwColour, Qt::white));
    heading->addWidget(legendLabel(this, "Label4", QStringLiteral("Phone"), kPhoneColour, Qt::black));
    top->addLayout(heading);
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    top->addWidget(line);
    m_view = new PrivilegesChartView(this);
    top->addWidget(m_view, 1);

    auto* buttons = new QHBoxLayout;
    for (const LicenceClass& licenceClass : licenceClasses()) {
        auto* button = new QPushButton(licenceClass.caption, this);
        button->setObjectName(QString::fromLatin1(licenceClass.buttonName));
        button->setAccessibleName(licenceClass.caption + QStringLiteral(" privileges"));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, &licenceClass] { drawClass(licenceClass); });
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("Command7"));
    done->setAccessibleName(QStringLiteral("Done"));
    done->setAutoDefault(false);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(done);
    top->addLayout(buttons);
    common::scaleFormToScreen(this, dialogs);

    if (m_plan.error != BandPlanError::None) {
        dialogs.message(QStringLiteral("Band Data Not Available."), QStringLiteral("Band data not available."));
        return;
    }
    drawClass(licenceClasses().back());
}

void PrivilegesWindow::drawClass(const LicenceClass& licenceClass)
{
    m_title->setText(licenceClass.title);
    m_view->setChart(buildPrivilegesChart(m_plan.records, licenceClass.letter));
}

} // namespace tenlog::bandplan
