// The call information beside the entry line.
#include "station/CallInfoArea.h"

#include "station/AreaWidgets.h"

#include <QHBoxLayout>
#include <QLabel>

namespace tenlog::station {

// The main window is built over the log's session, records and rules.
using namespace tenlog::log;

CallInfoArea::CallInfoArea(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("callInfoArea"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    // Every label here changes on the keys of a call. Fixed to the widest
    // text each holds, none of them lays out the window when it changes, and
    // "New" comes and goes as text (hiding and showing a widget lays out every
    // parent at once) in a place that is always kept for it.
    auto* newFlag = new FixedWidthLabel(QStringLiteral("New"), this);
    newFlag->setObjectName(QStringLiteral("Label3"));
    QPalette red = newFlag->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    newFlag->setPalette(red);
    newFlag->setFont(headlineFont(newFlag->font()));
    m_newLabel = newFlag;
    row->addWidget(m_newLabel);
    row->addSpacing(10);

    const std::tuple<QString, const char*, QString, QString, QLabel**> values[] = {
        {QStringLiteral("Cont:"), "Label19", QStringLiteral("Continent"), QStringLiteral("WW"), &m_continentLabel},
        {QStringLiteral("Bearing:"), "Label22", QStringLiteral("Bearing, degrees"), QStringLiteral("888 "),
         &m_bearingLabel},
        {QStringLiteral("Miles:"), "Label23", QStringLiteral("Distance, miles"), QStringLiteral("88,888 "),
         &m_milesLabel},
    };
    for (const auto& [caption, name, spoken, widest, member] : values) {
        row->addWidget(makeLabel(this, {}, caption));
        *member = new FixedWidthLabel(widest, this);
        (*member)->setObjectName(QString::fromLatin1(name));
        (*member)->setAccessibleName(spoken);
        row->addWidget(*member);
        row->addSpacing(10);
    }
    row->addStretch(1);
}

void CallInfoArea::showCallInfo(const CallInfo& info)
{
    // Asked on every key; most keys leave the country, and all this, alone.
    if (info == m_shown)
        return;
    m_shown = info;
    m_continentLabel->setText(info.continent);
    m_bearingLabel->setText(info.bearing);
    m_milesLabel->setText(info.miles);
    m_continentLabel->setAccessibleName(QStringLiteral("Continent ") + info.continent);
    m_bearingLabel->setAccessibleName(QStringLiteral("Bearing, degrees ") + info.bearing.trimmed());
    m_milesLabel->setAccessibleName(QStringLiteral("Distance, miles ") + info.miles.trimmed());
}

void CallInfoArea::showNewCountry(bool isNew)
{
    m_newLabel->setText(isNew ? QStringLiteral("New") : QString());
    // Empty, the place says nothing to a screen reader either.
    m_newLabel->setAccessibleName(isNew ? QStringLiteral("New DX country") : QString());
}

} // namespace tenlog::station
