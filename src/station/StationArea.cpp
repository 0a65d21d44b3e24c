// The station and mode at the top of the main window.
#include "station/StationArea.h"

#include "station/AreaWidgets.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

namespace tenlog::station {

StationArea::StationArea(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("stationArea"));
    auto* row = m_row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_callLabel = makeLabel(this, QStringLiteral("Label2"), QStringLiteral("CALL"), QStringLiteral("Own call"));
    m_stateLabel = makeLabel(this, QStringLiteral("Label4"), QStringLiteral("SEC"), QStringLiteral("Own state or province"));
    const QFont big = headlineFont(m_callLabel->font());
    m_callLabel->setFont(big);
    m_stateLabel->setFont(big);
    row->addWidget(m_callLabel);
    row->addSpacing(12);
    row->addWidget(m_stateLabel);
    row->addSpacing(30);
    row->addWidget(makeLabel(this, {}, QStringLiteral("Mode:")));
    m_modeLabel = makeLabel(this, QStringLiteral("Label30"), QStringLiteral("CW"));
    m_modeLabel->setFont(big);
    m_modeLabel->setToolTip(QStringLiteral("Click to change modes."));
    m_modeLabel->setAccessibleDescription(QStringLiteral("Change modes from the Mode menu."));
    m_modeLabel->installEventFilter(this);
    row->addWidget(m_modeLabel);
    row->addStretch(1);
}

void StationArea::showStation(const QString& call, const QString& state)
{
    m_callLabel->setText(call);
    m_stateLabel->setText(state);
    m_callLabel->setAccessibleName(QStringLiteral("Own call ") + call);
    m_stateLabel->setAccessibleName(QStringLiteral("Own state or province ") + state);
}

void StationArea::showMode(const QString& mode)
{
    m_modeLabel->setText(mode);
    m_modeLabel->setAccessibleName(QStringLiteral("Mode ") + (mode == QLatin1String("PH") ? QStringLiteral("phone") : mode));
}

void StationArea::placeBesideMode(QWidget* area)
{
    // Before the closing stretch, and taking most of the room left.
    const int stretchAt = m_row->count() - 1;
    m_row->insertSpacing(stretchAt, 20);
    m_row->insertWidget(stretchAt + 1, area, 4);
}

bool StationArea::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_modeLabel && event->type() == QEvent::MouseButtonRelease) {
        emit modeClicked();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tenlog::station
