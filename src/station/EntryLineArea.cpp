// The entry line: layout, logging through the session, the duplicate hold.
#include "station/EntryLineArea.h"

#include "station/AreaWidgets.h"
#include "log/ui/ExchangeTextFilter.h"
#include "station/MessageLines.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "voice/VoiceNavigation.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace tenlog::station {

// The main window is built over the log's session, records and rules.
using namespace tenlog::log;

namespace {

// How long keys are held back after a duplicate, so the operator sees the notice.
constexpr qint64 kHoldMs = 3000;

} // namespace

EntryLineArea::EntryLineArea(ContestSession& session, voice::VoiceNavigation& voice, platform::Dialogs& dialogs,
                             QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_voice(voice)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("entryLineArea"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout;
    m_call = makeBox("txtCall", 12, QStringLiteral("Call"), QStringLiteral("The other station's call sign."));
    m_reportReceived = makeBox("txtRSTR", 3, QStringLiteral("Report received"),
                               QStringLiteral("Signal report received, 599 on CW or 59 on phone."));
    m_exchange = makeBox("txtSec", 5, QStringLiteral("Exchange: state, province or serial number"),
                         QStringLiteral("The exchange received: a US state, Canadian province, Mexican state, "
                                        "ITU region, or a DX station's serial number."));
    m_reportSent = makeBox("txtRSTS", 3, QStringLiteral("Report sent"), QStringLiteral("Signal report sent."));
    m_country = makeBox("txtCntry", 30, QStringLiteral("Country"),
                        QStringLiteral("Filled from the call; type to complete a country name."));
    const QString headings[] = {QStringLiteral("Call"), QStringLiteral("RS(T) Rc"), QStringLiteral("Sec/Serial"),
                                QStringLiteral("RS(T) Sn"), QStringLiteral("Country")};
    QLineEdit* boxes[] = {m_call, m_reportReceived, m_exchange, m_reportSent, m_country};
    const int stretch[] = {4, 2, 2, 2, 6};
    for (int i = 0; i < 5; ++i) {
        QLabel* heading = makeLabel(this, {}, headings[i]);
        heading->setBuddy(boxes[i]);
        grid->addWidget(heading, 0, i);
        grid->addWidget(boxes[i], 1, i);
        grid->setColumnStretch(i, stretch[i]);
    }
    for (int i = 0; i < 4; ++i)
        setTabOrder(boxes[i], boxes[i + 1]);
    // Typed or pasted, nothing a log checker would refuse gets in.
    auto* filter = new ExchangeTextFilter(this);
    for (QLineEdit* box : {m_call, m_reportReceived, m_exchange, m_reportSent})
        box->setValidator(filter);
    connect(m_call, &QLineEdit::textChanged, this, &EntryLineArea::callChanged);
    connect(m_country, &QLineEdit::textChanged, this, &EntryLineArea::updateNewFlag);

    m_postContestDate = makeBox("txtPostConDate", 10, QStringLiteral("Contact date, UTC"),
                                QStringLiteral("After the contest: the contact's UTC date as yyyy/mm/dd."));
    m_postContestTime = makeBox("txtPostConTime", 8, QStringLiteral("Contact time, UTC"),
                                QStringLiteral("After the contest: the contact's UTC time as hh:mm."));
    auto* dateLabel = makeLabel(this, QStringLiteral("lblPostConDate"), QStringLiteral("Date"));
    auto* timeLabel = makeLabel(this, QStringLiteral("lblPostConTime"), QStringLiteral("Time"));
    dateLabel->setBuddy(m_postContestDate);
    timeLabel->setBuddy(m_postContestTime);
    grid->addWidget(dateLabel, 0, 5);
    grid->addWidget(m_postContestDate, 1, 5);
    grid->addWidget(timeLabel, 0, 6);
    grid->addWidget(m_postContestTime, 1, 6);
    setTabOrder(m_country, m_postContestDate);
    setTabOrder(m_postContestDate, m_postContestTime);
    m_postContestWidgets = {dateLabel, timeLabel, m_postContestDate, m_postContestTime};
    for (QWidget* w : m_postContestWidgets)
        w->hide();
    column->addLayout(grid);

    m_lines = new MessageLines(this);
    column->addWidget(m_lines);

    auto* buttons = new QHBoxLayout;
    m_clearButton = makeButton(this, "cmdClear", QStringLiteral("&Clear"),
                               QStringLiteral("Click to clear entry fields or press ALT C"),
                               QStringLiteral("Clear the entry line"));
    connect(m_clearButton, &QPushButton::clicked, this, &EntryLineArea::clearEntry);
    m_partialDupesButton = makeButton(this, "cmdDup", QStringLiteral("On"),
                                      QStringLiteral("Displaying partial dupes slows the program on older pc's."),
                                      QStringLiteral("Partial duplicate list: on"));
    m_partialDupesButton->setAccessibleDescription(QStringLiteral("Ctrl+Shift+D switches the list on or off."));
    connect(m_partialDupesButton, &QPushButton::clicked, this, &EntryLineArea::togglePartialDupes);
    buttons->addWidget(m_clearButton);
    buttons->addWidget(m_partialDupesButton);
    buttons->addStretch(1);
    column->addLayout(buttons);

    // The hold after a duplicate ends on the clock; checking it often keeps
    // the window painting and the held keys in order.
    m_holdTimer = new QTimer(this);
    m_holdTimer->setInterval(50);
    connect(m_holdTimer, &QTimer::timeout, this, &EntryLineArea::releaseHeldKeys);

    connect(&m_session, &ContestSession::messageChanged, m_lines, &MessageLines::setMessage);
    connect(&m_session, &ContestSession::modeChanged, this, &EntryLineArea::showMode);
    connect(&m_session, &ContestSession::loggedOnChanged, this, [this] { m_call->setFocus(); });
    showMode(m_session.mode());
}

QLineEdit* EntryLineArea::makeBox(const char* name, int maxLength, const QString& accessibleName,
                                  const QString& description)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxLength(maxLength);
    box->setAccessibleName(accessibleName);
    box->setAccessibleDescription(description);
    box->installEventFilter(this);
    QFont font = box->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    box->setFont(font);
    return box;
}

QLineEdit* EntryLineArea::box(EntryBox which) const
{
    QLineEdit* const boxes[] = {m_call, m_reportReceived, m_exchange, m_reportSent, m_country};
    return boxes[static_cast<int>(which)];
}

void EntryLineArea::showMode(const QString& mode)
{
    const int length = reportLength(mode);
    m_reportReceived->setMaxLength(length);
    m_reportSent->setMaxLength(length);
    if (!m_call->text().isEmpty())
        updateNewFlag();
}

void EntryLineArea::togglePartialDupes()
{
    m_partialDupesOn = !m_partialDupesOn;
    const QString state = m_partialDupesOn ? QStringLiteral("On") : QStringLiteral("Off");
    m_partialDupesButton->setText(state);
    m_partialDupesButton->setAccessibleName(QStringLiteral("Partial duplicate list: ") + state.toLower());
    m_lines->setDupeLine(QString());
    m_call->setFocus();
}

void EntryLineArea::placeUnderBoxes(QWidget* row)
{
    row->setParent(this);
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, row);
}

void EntryLineArea::focusCall()
{
    m_call->setFocus();
}

void EntryLineArea::setExchange(const QString& abbreviation)
{
    m_exchange->setText(abbreviation);
}

void EntryLineArea::takeSpottedCall(const QString& call)
{
    m_call->setFocus(Qt::OtherFocusReason);
    m_call->setText(call);
    m_reportReceived->setFocus(Qt::TabFocusReason);
}

void EntryLineArea::putSpottedCall(const QString& call)
{
    m_call->setFocus(Qt::OtherFocusReason);
    m_call->setText(call);
}

void EntryLineArea::showOwnCallSpotted(const QString& message, const QString& record)
{
    m_session.showMessage(message);
    m_lines->setDupeLine(record);
    m_lines->whitenBoth();
}

void EntryLineArea::showHoverText(const QString& text)
{
    m_lines->setDupeLine(text);
}

void EntryLineArea::setPostContestVisible(bool visible)
{
    for (QWidget* w : m_postContestWidgets)
        w->setVisible(visible);
}

bool EntryLineArea::postContestVisible() const
{
    return !m_postContestTime->isHidden();
}

void EntryLineArea::logEntry()
{
    updateNewFlag();
    EntryLine line{m_call->text(), m_reportReceived->text(), m_exchange->text(), m_reportSent->text(),
                   m_country->text(), postContestVisible(), m_postContestDate->text(), m_postContestTime->text()};
    m_holding = false;
    const EntryOutcome outcome = m_session.logEntry(line);
    applyOutcome(outcome);
}

void EntryLineArea::applyOutcome(const EntryOutcome& outcome)
{
    if (!outcome.postContestDate.isEmpty())
        m_postContestDate->setText(outcome.postContestDate);
    if (!outcome.postContestTime.isEmpty())
        m_postContestTime->setText(outcome.postContestTime);
    if (outcome.duplicateOf > 0)
        duplicateFound(false);
    if (outcome.logged)
        m_lines->setDupeLine(QString());
    if (outcome.focus)
        box(*outcome.focus)->setFocus();
    if (outcome.clearLine) {
        clearBoxes();
        m_call->setFocus();
    }
    m_lines->setDupeLine(QString());
}

void EntryLineArea::clearBoxes()
{
    for (QLineEdit* b : {m_call, m_reportReceived, m_exchange, m_reportSent, m_country})
        b->clear();
    clearCallInfo();
}

void EntryLineArea::clearEntry()
{
    clearBoxes();
    m_lines->setDupeLine(QString());
    m_session.showMessage(QString());
    m_call->setFocus();
}

void EntryLineArea::clearCallInfo()
{
    if (!m_country->text().isEmpty())
        m_country->clear();
    emit callInfoChanged({});
}

void EntryLineArea::updateNewFlag()
{
    const bool isNew = m_session.isNewCountry(m_country->text(), m_exchange->text());
    if (isNew == m_isNewCountry)
        return;
    m_isNewCountry = isNew;
    emit newCountryChanged(isNew);
}

void EntryLineArea::callChanged(const QString& text)
{
    if (!text.isEmpty()) {
        m_callInfoStale = false;
        const auto [country, info] = m_session.lookupCall(text);
        // Setting a line edit's text lays it out again; most keys keep the country.
        if (m_country->text() != country)
            m_country->setText(country);
        emit callInfoChanged(info.value_or(CallInfo{}));
        if (m_country->selectedText() != m_country->text())
            m_country->selectAll();
    }
    m_currentCall = text;
}

void EntryLineArea::callLeft()
{
    if (m_call->text().isEmpty())
        return;
    m_holding = false; // every duplicate check starts a new verdict
    if (m_session.checkDuplicate(m_call->text()) > 0)
        duplicateFound(true);
    for (QLineEdit* report : {m_reportReceived, m_reportSent}) {
        if (report->text().isEmpty()) {
            report->setText(defaultReport(m_session.mode()));
            report->selectAll();
        }
    }
}

void EntryLineArea::duplicateFound(bool midEntry)
{
    m_dropUntilEnter = midEntry;
    m_lines->setDupeLine(QString());
    // With navigation on, the line is cleared only once "Dupe" has been
    // heard; keys typed meanwhile are held, and the window keeps painting.
    m_holding = true;
    m_duplicateAtMs = m_session.clock().monotonicMs();
    m_voice.dupeFound([this] {
        m_duplicateAtMs = m_session.clock().monotonicMs();
        m_call->setFocus();
        clearBoxes();
    });
    if (m_voice.isWaiting() && !m_holdTimer->isActive())
        m_holdTimer->start();
}

bool EntryLineArea::holdAfterDuplicate(QKeyEvent* key)
{
    if (!m_holding)
        return false;
    const int code = key->key();
    if (code == Qt::Key_Shift || code == Qt::Key_Control || code == Qt::Key_Alt || code == Qt::Key_Meta
        || (code == 0 && key->text().isEmpty()))
        return false;
    if (!m_voice.isWaiting() && m_session.clock().monotonicMs() > m_duplicateAtMs + kHoldMs && m_heldKeys.isEmpty()) {
        m_holding = false;
        return false;
    }
    // Typed too soon after a duplicate: every key for the line (Tab, space
    // and Enter too) is kept back, in order, so the notice stays in sight.
    m_heldKeys.append({code, key->modifiers(), key->text()});
    if (!m_holdTimer->isActive())
        m_holdTimer->start();
    return true;
}

void EntryLineArea::releaseHeldKeys()
{
    if (m_voice.isWaiting() || m_session.clock().monotonicMs() <= m_duplicateAtMs + kHoldMs)
        return;
    m_holdTimer->stop();
    m_holding = false;
    QList<HeldKey> held = std::exchange(m_heldKeys, {});
    if (m_dropUntilEnter) {
        // Found on leaving the call box, the duplicate's own exchange and
        // Enter were still to come: they belong to the contact refused.
        const auto enter = std::find_if(held.begin(), held.end(), [](const HeldKey& k) {
            return k.code == Qt::Key_Return || k.code == Qt::Key_Enter;
        });
        if (enter != held.end())
            held.erase(held.begin(), enter + 1);
    }
    // What is left is the next contact, typed from the call box.
    m_call->setFocus();
    for (const HeldKey& k : held) {
        QKeyEvent press(QEvent::KeyPress, k.code, k.modifiers, k.text);
        QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : m_call, &press);
    }
}

void EntryLineArea::showKeyerStatus(const QString& text)
{
    m_lines->setMessage(text, false);
}

void EntryLineArea::showKeyboardCw(bool on)
{
    m_lines->setMessage(on ? QStringLiteral("Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode.") : QString(), false);
    m_lines->setKeyboardCwShown(on);
}

} // namespace tenlog::station
