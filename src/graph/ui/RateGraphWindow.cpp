#include "graph/ui/RateGraphWindow.h"

#include "common/ui/FormScaling.h"
#include "common/ui/NamedWidget.h"
#include "graph/ui/RateGraphView.h"
#include "platform/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tenlog::graph {

namespace {

// Size on the 640 x 480 reference screen: nearly all of it, as a graph
// wants the room.
constexpr int kDesignWidth = 632;
constexpr int kDesignHeight = 456;

const QString kShowingBlack = QStringLiteral("Black Background");
const QString kShowingWhite = QStringLiteral("White Background");

QLabel* legendLabel(QWidget* parent, const char* name, const QString& caption, const QString& spoken,
                    const QColor& colour)
{
    auto* label = common::named(new QLabel(caption, parent), QString::fromLatin1(name), spoken);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QString pointerHint(const RateGraph& graph)
{
    if (!graph.hasCurve())
        return {};
    if (!graph.orderNote.isEmpty())
        return graph.orderNote;
    return QStringLiteral("Point at the graph to read the time and rate there.");
}

} // namespace

RateGraphWindow::RateGraphWindow(const QList<log::QsoRecord>& contacts, platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_graph(computeRateGraph(contacts))
{
    setObjectName(QStringLiteral("GraphQSO"));
    setWindowTitle(QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"));
    setAccessibleName(QStringLiteral("Activity graph, QSOs per hour"));
    setAutoFillBackground(true);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 6);
    m_view = new RateGraphView(this);
    m_view->setGraph(&m_graph);
    page->addWidget(m_view, 1);

    m_reading = common::named(new QLabel(pointerHint(m_graph), this), QStringLiteral("lblReading"),
                              QStringLiteral("Time and rate at the pointer"));
    m_reading->setWordWrap(true);
    m_reading->setTextFormat(Qt::PlainText);
    m_reading->setContentsMargins(8, 0, 8, 0);
    page->addWidget(m_reading);
    connect(m_view, &RateGraphView::readingChanged, this, &RateGraphWindow::showReading);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 0, 8, 0);
    m_modeLegend = common::named(new QLabel(QStringLiteral("Mode: "), this), QStringLiteral("Label1"),
                                 QStringLiteral("Mode colours under the axis:"));
    row->addWidget(m_modeLegend);
    row->addWidget(legendLabel(this, "lblMode_0", QStringLiteral("CW"), QStringLiteral("CW in red"), kCwStripColour));
    row->addWidget(
        legendLabel(this, "lblMode_1", QStringLiteral("PH"), QStringLiteral("PH in cyan"), kPhoneStripColour));
    row->addStretch(1);
    m_backgroundButton = common::named(new QPushButton(kShowingBlack, this), QStringLiteral("Command1"), kShowingBlack);
    m_backgroundButton->setAccessibleDescription(
        QStringLiteral("Switches the graph between a black and a white background"));
    m_backgroundButton->setAutoDefault(false);
    connect(m_backgroundButton, &QPushButton::clicked, this, &RateGraphWindow::toggleBackground);
    row->addWidget(m_backgroundButton);
    page->addLayout(row);

    applyBackground(false);
    resize(kDesignWidth, kDesignHeight);
    common::scaleFormToScreen(this, dialogs);

    if (!m_graph.noCurveTitle.isEmpty())
        dialogs.message(m_graph.noCurveTitle, m_graph.noCurveReason);
}

void RateGraphWindow::toggleBackground()
{
    applyBackground(m_backgroundButton->text() == kShowingBlack);
}

void RateGraphWindow::applyBackground(bool white)
{
    m_view->setWhiteBackground(white);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, m_view->backgroundColour());
    palette.setColor(QPalette::WindowText, m_view->labelColour());
    setPalette(palette);
    // The mode legend keeps its own colours.
    const QString caption = white ? kShowingWhite : kShowingBlack;
    m_backgroundButton->setText(caption);
    m_backgroundButton->setAccessibleName(caption);
}

void RateGraphWindow::showReading(const QString& reading)
{
    m_reading->setText(reading.isEmpty() ? pointerHint(m_graph) : reading);
}

} // namespace tenlog::graph
