// The DX country list.
#include "station/DxCountryList.h"

#include "log/ContestSession.h"
#include "station/AreaWidgets.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace tenlog::station {

// The main window is built over the log's session, records and rules.
using namespace tenlog::log;

DxCountryList::DxCountryList(ContestSession& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("dxCountryList"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    m_heading = makeLabel(this, QStringLiteral("lblStation_5"), QStringLiteral("DX-CW 0"));
    column->addWidget(m_heading);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setAccessibleName(QStringLiteral("DX countries worked on this mode"));
    column->addWidget(m_list, 1);

    connect(&m_session, &ContestSession::logReloaded, this, &DxCountryList::showCountries);
    connect(&m_session, &ContestSession::contactLogged, this,
            [this](int, const QsoRecord&, bool newCountry) {
                if (newCountry)
                    showCountries();
            });
}

void DxCountryList::showCountries()
{
    const QStringList& countries = m_session.log().dxCountries(m_session.mode());
    m_list->clear();
    m_list->addItems(countries);
    const bool cw = isCw(m_session.mode());
    m_heading->setText((cw ? QStringLiteral("DX-CW ") : QStringLiteral("DX-PH ")) + QString::number(countries.size()));
    m_heading->setAccessibleName(QStringLiteral("DX countries worked on ") + (cw ? QStringLiteral("CW: ") : QStringLiteral("phone: "))
                                 + QString::number(countries.size()));
}

} // namespace tenlog::station
