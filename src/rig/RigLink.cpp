#include "rig/RigLink.h"

#include "text/NumberText.h"

namespace tenlog::rig {

QString frequencyDisplayText(float frequencyMHz)
{
    return frequencyMHz > 0 ? text::formatNumber(frequencyMHz, QStringLiteral("###.####0")) : QString();
}

bool isNoRig(const QString& rigName)
{
    return rigName.compare(kNoRigName, Qt::CaseInsensitive) == 0;
}

RigLink::RigLink(QObject* parent)
    : QObject(parent)
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
}

void RigLink::resumeAfterCommand()
{
    if (linkUp())
        m_timer.start();
}

int RigLink::intervalForRate(const QString& rateCode, int currentMs)
{
    if (rateCode == u"F")
        return 50;
    if (rateCode == u"M")
        return 250;
    if (rateCode == u"S")
        return 1000;
    if (rateCode == u"R")
        return 5000;
    return currentMs;
}

void RigLink::startPollTimer()
{
    m_timer.setInterval(intervalForRate(m_settings.pollRateCode, m_timer.interval()));
    m_timer.start();
}

void RigLink::publish(const QByteArray& raw)
{
    if (m_settings.modeBy == ModeBy::Frequency)
        modeFromFrequency(m_reading.frequencyMHz, m_reading.mode);
    emit rawReceived(raw);
    emit readingChanged(m_reading.frequencyMHz, m_reading.mode);
    // Until a frequency has been decoded there is none to log: a radio whose
    // replies are only shown raw must not put 0 MHz on the contacts.
    if (m_settings.useFrequency && m_reading.frequencyMHz > 0)
        emit frequencyPolled(m_reading.frequencyMHz);
    if (m_settings.modeBy != ModeBy::DontUse)
        emit modePolled(m_reading.mode);
}

void RigLink::failLink(const QString& reason)
{
    m_timer.stop();
    dropLink();
    if (m_failureReported)
        return;
    m_failureReported = true;
    emit linkFailed(reason);
}

} // namespace tenlog::rig
