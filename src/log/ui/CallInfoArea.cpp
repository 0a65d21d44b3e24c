// The call information beside the entry line.
#include "log/ui/CallInfoArea.h"

#include "log/ui/AreaWidgets.h"

#include <QHBoxLayout>
#include <QLabel>

namespace tenlog::log {

CallInfoArea::CallInfoArea(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("callInfoArea"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_newLabel = makeLabel(this, QStringLiteral("Label3"), QStringLiteral("New"), QStringLiteral("New DX country"));
    QPalette red = m_newLabel->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    m_newLabel->setPalette(red);
    const QFont big = headlineFont(m_newLabel->font());
    m_newLabel->setFont(big);
    // Hidden, it still holds its room, so showing it never moves what is below.
    QSizePolicy keep = m_newLabel->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_newLabel->setSizePolicy(keep);
    m_newLabel->hide();
    row->addWidget(m_newLabel);
    row->addSpacing(10);

    const std::tuple<QString, const char*, QString, QLabel**> values[] = {
        {QStringLiteral("Cont:"), "Label19", QStringLiteral("Continent"), &m_continentLabel},
        {QStringLiteral("Bearing:"), "Label22", QStringLiteral("Bearing, degrees"), &m_bearingLabel},
        {QStringLiteral("Miles:"), "Label23", QStringLiteral("Distance, miles"), &m_milesLabel},
    };
    for (const auto& [caption, name, spoken, member] : values) {
        row->addWidget(makeLabel(this, {}, caption));
        *member = makeLabel(this, QString::fromLatin1(name), QString(), spoken);
        row->addWidget(*member);
        row->addSpacing(10);
    }
    row->addStretch(1);
}

void CallInfoArea::showCallInfo(const CallInfo& info)
{
    m_continentLabel->setText(info.continent);
    m_bearingLabel->setText(info.bearing);
    m_milesLabel->setText(info.miles);
    m_continentLabel->setAccessibleName(QStringLiteral("Continent ") + info.continent);
    m_bearingLabel->setAccessibleName(QStringLiteral("Bearing, degrees ") + info.bearing.trimmed());
    m_milesLabel->setAccessibleName(QStringLiteral("Distance, miles ") + info.miles.trimmed());
}

void CallInfoArea::showNewCountry(bool isNew)
{
    m_newLabel->setVisible(isNew);
}

} // namespace tenlog::log
