// Clocks and operating time.
#include "station/ClockArea.h"

#include "log/ContestSession.h"
#include "station/AreaWidgets.h"
#include "platform/Clock.h"
#include "text/DateText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace tenlog::station {

// The main window is built over the log's session, records and rules.
using namespace tenlog::log;

ClockArea::ClockArea(ContestSession& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("clockArea"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(makeLabel(this, {}, QStringLiteral("Local")));
    m_localTime = makeLabel(this, QStringLiteral("lblCurTime"), QString(), QStringLiteral("Local time"));
    m_amPm = makeLabel(this, QStringLiteral("Label16"), QString(), QStringLiteral("AM or PM"));
    row->addWidget(m_localTime);
    row->addWidget(m_amPm);
    row->addSpacing(16);
    row->addWidget(makeLabel(this, {}, QStringLiteral("UTC")));
    m_utcTime = makeLabel(this, QStringLiteral("lblutctime"), QString(), QStringLiteral("UTC time"));
    row->addWidget(m_utcTime);
    row->addSpacing(16);
    row->addWidget(makeLabel(this, {}, QStringLiteral("Tot Op Time:")));
    m_operatingTime = makeLabel(this, QStringLiteral("lblttrack"), QStringLiteral("00:00:00"),
                                QStringLiteral("Total operating time"));
    row->addWidget(m_operatingTime);
    row->addSpacing(16);
    m_logOnButton = makeButton(this, "cmdLogOn", QStringLiteral("&Log \"Time On\""),
                               QStringLiteral("Records On/Off times and controls duration clock."),
                               QStringLiteral("Log time on"));
    connect(m_logOnButton, &QPushButton::clicked, this,
            [this] { m_session.loggedOn() ? m_session.timeOff() : m_session.timeOn(); });
    row->addWidget(m_logOnButton);

    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(QStringLiteral("Timer2"));
    m_clockTimer->setInterval(1000);
    connect(m_clockTimer, &QTimer::timeout, this, &ClockArea::updateClocks);
    connect(&m_session, &ContestSession::loggedOnChanged, this, &ClockArea::showLoggedOn);
}

void ClockArea::start()
{
    m_clockTimer->start();
    updateClocks();
}

void ClockArea::showLoggedOn(bool on)
{
    m_logOnButton->setText(on ? QStringLiteral("&Log \"Time Off\"") : QStringLiteral("&Log \"Time On\""));
    m_logOnButton->setAccessibleName(on ? QStringLiteral("Log time off") : QStringLiteral("Log time on"));
}

void ClockArea::updateClocks()
{
    const QDateTime local = m_session.clock().localNow();
    const QDateTime utc = m_session.utcNow();
    m_utcTime->setText(text::formatDateTime(utc, QStringLiteral("hh:nn:ss")));
    const QString twelve = text::formatDateTime(local, QStringLiteral("h:nn:ss AMPM"));
    m_localTime->setText(twelve.left(twelve.size() - 3));
    m_amPm->setText(text::formatDateTime(local, QStringLiteral("AMPM")));
    // A screen reader reads the time itself, not only what the label is.
    m_localTime->setAccessibleName(QStringLiteral("Local time ") + m_localTime->text() + QLatin1Char(' ') + m_amPm->text());
    m_amPm->setAccessibleName(m_amPm->text());
    m_utcTime->setAccessibleName(QStringLiteral("UTC ") + m_utcTime->text());
    if (m_session.loggedOn())
        m_operatingTime->setText(formatOperatingTime(m_session.operatingSeconds()));
    m_operatingTime->setAccessibleName(QStringLiteral("Total operating time ") + m_operatingTime->text());
}

} // namespace tenlog::station
