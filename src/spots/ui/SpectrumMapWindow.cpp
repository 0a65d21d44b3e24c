#include "spots/ui/SpectrumMapWindow.h"

#include "common/ui/NamedWidget.h"
#include "common/ui/ScreenFit.h"
#include "platform/Clock.h"
#include "spots/SpotMapLayout.h"
#include "spots/ui/SpotMapView.h"

#include <QEvent>
#include <QShowEvent>
#include <QVBoxLayout>

namespace tenlog::spots {

SpectrumMapWindow::SpectrumMapWindow(const SpotStore& store, const platform::Clock& clock,
                                     std::function<float()> utcOffsetHours, QWidget* parent)
    : QDialog(parent)
    , m_store(store)
    , m_clock(clock)
    , m_utcOffsetHours(std::move(utcOffsetHours))
{
    setObjectName(QStringLiteral("SpectrumMap"));
    setWindowTitle(QStringLiteral(" HF Spectrum Map"));
    setAccessibleName(QStringLiteral("HF spectrum map"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    m_view = common::named(new SpotMapView(this), QStringLiteral("hfSpotMap"),
                           QStringLiteral("Spots on the bands from 160 to 2 metres"));
    column->addWidget(m_view);
    connect(m_view, &SpotMapView::tuneRequested, this, [this](int storeIndex) {
        emit tuneRequested(storeIndex);
        accept();
    });
    connect(m_view, &SpotMapView::removeRequested, this, [this](int storeIndex) {
        emit removeRequested(storeIndex);
        redraw();
    });
    // The window system fits a maximised window, frame and all, to the work
    // area; the size given on showing serves where there is none.
    setWindowState(windowState() | Qt::WindowMaximized);
    redraw();
}

void SpectrumMapWindow::redraw()
{
    m_view->setMap(spectrumMap(m_store, m_clock.localNow(), m_utcOffsetHours ? m_utcOffsetHours() : 0.0f));
}

void SpectrumMapWindow::showEvent(QShowEvent* event)
{
    // The whole work area of the screen the owner is on.
    if (!event->spontaneous())
        common::fillWithFrame(this, common::availableAreaFor(parentWidget() ? parentWidget()->window() : this));
    QDialog::showEvent(event);
    m_view->setFocus(Qt::OtherFocusReason);
}

void SpectrumMapWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        redraw();
}

} // namespace tenlog::spots
