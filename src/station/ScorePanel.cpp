// The score panel.
#include "station/ScorePanel.h"

#include "log/ContestSession.h"
#include "station/AreaWidgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace tenlog::station {

// The main window is built over the log's session, records and rules.
using namespace tenlog::log;

namespace {

const char* const kSpoken[] = {"Contacts", "Multipliers", "QSO points", "Score",
                               "Contacts per hour, last 20 minutes", "Contacts in the last 60 minutes"};

} // namespace

ScorePanel::ScorePanel(ContestSession& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("scorePanel"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(makeLabel(this, {}, QStringLiteral("Score Statistics")));
    auto* grid = new QGridLayout;
    const std::tuple<QString, const char*, QLabel**> rows[] = {
        {QStringLiteral("Total Contacts ............"), "lblTotCon", &m_contacts},
        {QStringLiteral("Total Multipliers ..........."), "lblsectogo", &m_multipliers},
        {QStringLiteral("Total QSO Points ........"), "lblTotSec", &m_points},
        {QStringLiteral("Total Score.................."), "lblTotScore", &m_score},
        {QStringLiteral("QSOs / Hr (last 20 min)"), "lblAQSO20", &m_rate20},
        {QStringLiteral("QSOs / Hr (last 60 min)"), "lblAQSO60", &m_rate60},
    };
    int row = 0;
    for (const auto& [caption, name, member] : rows) {
        grid->addWidget(makeLabel(this, {}, caption), row, 0);
        *member = makeLabel(this, QString::fromLatin1(name));
        setValue(*member, QString::fromLatin1(kSpoken[row]), 0);
        grid->addWidget(*member, row++, 1);
    }
    column->addLayout(grid);

    m_rateTimer = new QTimer(this);
    m_rateTimer->setObjectName(QStringLiteral("Timer1"));
    m_rateTimer->setInterval(60000);
    connect(m_rateTimer, &QTimer::timeout, this, &ScorePanel::updateRates);
    connect(&m_session, &ContestSession::scoreChanged, this, [this] {
        showScore();
        updateRates();
    });
}

void ScorePanel::start()
{
    m_rateTimer->start();
}

void ScorePanel::setValue(QLabel* label, const QString& spoken, qint64 value)
{
    const QString text = QString::number(value);
    if (label->text() == text && !label->accessibleName().isEmpty())
        return;
    label->setText(text);
    label->setAccessibleName(spoken + QStringLiteral(": ") + text);
}

void ScorePanel::showScore()
{
    const Score s = m_session.log().currentScore();
    setValue(m_contacts, QString::fromLatin1(kSpoken[0]), s.contacts);
    setValue(m_multipliers, QString::fromLatin1(kSpoken[1]), s.multipliers);
    setValue(m_points, QString::fromLatin1(kSpoken[2]), s.points);
    setValue(m_score, QString::fromLatin1(kSpoken[3]), s.score);
}

void ScorePanel::updateRates()
{
    const auto rates = m_session.log().rates(m_session.utcNow());
    if (!rates)
        return; // a record with an unreadable stamp leaves the rates as they were
    setValue(m_rate20, QString::fromLatin1(kSpoken[4]), rates->last20);
    setValue(m_rate60, QString::fromLatin1(kSpoken[5]), rates->last60);
}

} // namespace tenlog::station
