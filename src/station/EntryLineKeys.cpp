// The key rules of the entry line's boxes: capitals and digits, the carry of
// a character typed into the wrong box, country completion, and the keys
// that move between boxes or log the line.
#include "station/EntryLineArea.h"

#include "log/CountryCompletion.h"
#include "log/EntryRules.h"
#include "station/MessageLines.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "text/DateText.h"
#include "voice/VoiceNavigation.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTimer>

#include <utility>

namespace tenlog::station {

// The main window is built over the log's session, records and rules.
using namespace tenlog::log;

namespace {

QChar keyChar(const QKeyEvent* key)
{
    const QString text = key->text();
    return text.size() == 1 ? text.at(0) : QChar();
}

bool isEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// A synthetic key press with a given character, for handing a carried key
// on to the next box's rules.
QKeyEvent carriedKey(QChar c)
{
    return QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
}

// Focus that goes to a menu, a popup or another window and comes back has
// not moved along the entry line.
bool movedAlongTheLine(const QEvent* event)
{
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason && reason != Qt::ActiveWindowFocusReason;
}

} // namespace

bool EntryLineArea::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (movedAlongTheLine(event))
            fieldEntered(watched);
    } else if (event->type() == QEvent::FocusOut && watched == m_call) {
        if (movedAlongTheLine(event))
            callLeft();
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (holdAfterDuplicate(key))
            return true;
        if (key->key() == Qt::Key_Escape) {
            clearEntry();
            return true;
        }
        if (watched == m_call)
            return callKey(key);
        if (watched == m_reportReceived)
            return reportReceivedKey(key);
        if (watched == m_exchange)
            return exchangeKey(key);
        if (watched == m_reportSent)
            return reportSentKey(key);
        if (watched == m_country)
            return countryKey(key);
        if (watched == m_postContestDate || watched == m_postContestTime)
            return postContestKey(static_cast<QLineEdit*>(watched), key);
    }
    return QWidget::eventFilter(watched, event);
}

void EntryLineArea::fieldEntered(QObject* watched)
{
    using voice::EntryField;
    if (watched == m_call)
        m_voice.fieldEntered(EntryField::Call);
    else if (watched == m_reportReceived)
        m_voice.fieldEntered(EntryField::RstRcvd);
    else if (watched == m_exchange)
        m_voice.fieldEntered(EntryField::SecSer);
    else if (watched == m_reportSent)
        m_voice.fieldEntered(EntryField::RstSnt);
    else if (watched == m_country)
        m_voice.fieldEntered(EntryField::Country);
    if (watched == m_postContestDate) {
        if (m_postContestDate->text().isEmpty())
            m_postContestDate->setText(
                text::formatDateTime(m_session.clock().localNow(), QStringLiteral("yyyy/mm/dd")));
        QTimer::singleShot(0, m_postContestDate, &QLineEdit::selectAll);
    } else if (watched == m_postContestTime) {
        QTimer::singleShot(0, m_postContestTime, &QLineEdit::selectAll);
    }
    if (watched == m_call) {
        emit callBoxEntered();
        if (m_call->text().isEmpty()) {
            m_reportReceived->clear();
            m_reportSent->clear();
        }
    }
}

void EntryLineArea::typeInto(QLineEdit* box, QChar key)
{
    if (!key.isNull())
        box->insert(QString(key)); // respects the box's longest text
}

void EntryLineArea::placeCarried(QLineEdit* box)
{
    box->setText(QString(m_carryKey));
    box->setCursorPosition(1);
    m_carry = Carry::None;
}

bool EntryLineArea::callKey(QKeyEvent* key)
{
    const QString text = m_call->text();
    // Under two characters the country and call information go, unless the
    // key itself brings new ones (callChanged). Clearing first and filling
    // again on the same key would hide and show "New", which lays out the
    // whole window.
    m_callInfoStale = text.size() < 2;
    const auto clearWhatIsStale = qScopeGuard([this] {
        if (std::exchange(m_callInfoStale, false))
            clearCallInfo();
    });
    QChar c = keyChar(key);
    if (c == QLatin1Char('"'))
        return true;
    if (carriesIntoReport(text, c, m_call->cursorPosition() == text.size())) {
        m_carryKey = c;
        m_carry = Carry::ToReportReceived;
        m_reportReceived->setFocus();
        QKeyEvent carried = carriedKey(c);
        reportReceivedKey(&carried);
        return true;
    }
    if (text.size() < 3 && m_session.loggedOn())
        m_session.showMessage(QStringLiteral(" "));
    if (!m_session.loggedOn()) {
        m_session.showMessage(QStringLiteral("Click Log \"Time On\"!"));
        m_dialogs.beep();
    }
    if (isEnter(key)) {
        logEntry();
        return true;
    }
    if (c == QLatin1Char(' ')) {
        m_reportReceived->setFocus();
        return true;
    }
    if (key->key() == Qt::Key_Backspace) {
        // The shorter call refreshes the list like any other key.
        m_call->backspace();
        m_lines->setDupeLine(m_session.partialDupeList(m_call->text(), m_partialDupesOn));
        return true;
    }
    if (c.isNull() || c.unicode() < 32)
        return false; // editing keys work as usual
    if (!isExchangeChar(c))
        return true; // no call holds it
    c = capitalLetter(c);
    m_lines->setDupeLine(m_session.partialDupeCheck(m_call->text(), c, m_partialDupesOn));
    typeInto(m_call, c);
    return true;
}

bool EntryLineArea::reportReceivedKey(QKeyEvent* key)
{
    QChar c = keyChar(key);
    if (!c.isNull() && c.unicode() > 57) {
        m_carryKey = c;
        m_carry = Carry::ToExchange;
        QKeyEvent carried = carriedKey(c);
        exchangeKey(&carried);
        c = QLatin1Char(' ');
    }
    if (m_carry == Carry::ToReportReceived)
        c = m_carryKey;
    if (isEnter(key) && c != QLatin1Char(' ')) {
        logEntry();
        return true;
    }
    if (c == QLatin1Char(' ')) {
        m_exchange->setFocus();
        return true;
    }
    if (m_carry == Carry::ToReportReceived) {
        placeCarried(m_reportReceived);
        return true;
    }
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Left
        || key->key() == Qt::Key_Right || key->key() == Qt::Key_Home || key->key() == Qt::Key_End
        || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    typeInto(m_reportReceived, digitOnly(c));
    return true;
}

bool EntryLineArea::exchangeKey(QKeyEvent* key)
{
    if (m_exchange->text() == QLatin1String("R"))
        updateNewFlag();
    QChar c = keyChar(key);
    if (c == QLatin1Char('"'))
        return true;
    const QString text = m_exchange->text();
    if (text.size() == 2 && text.at(0).unicode() > 57 && c.unicode() >= 33 && c.unicode() <= 57) {
        m_carryKey = c;
        m_carry = Carry::ToReportSent;
        QKeyEvent carried = carriedKey(c);
        reportSentKey(&carried);
        c = QLatin1Char(' ');
    }
    if (m_carry == Carry::ToExchange)
        c = m_carryKey;
    if (isEnter(key) && c != QLatin1Char(' ')) {
        logEntry();
        return true;
    }
    if (c == QLatin1Char(' ')) {
        m_reportSent->setFocus();
        return true;
    }
    if (m_carry == Carry::ToExchange) {
        m_carryKey = capitalLetter(m_carryKey);
        placeCarried(m_exchange);
        m_exchange->setFocus();
        return true;
    }
    if (c.isNull() || c.unicode() < 32)
        return false;
    typeInto(m_exchange, capitalLetter(c));
    return true;
}

bool EntryLineArea::reportSentKey(QKeyEvent* key)
{
    QChar c = keyChar(key);
    if (!c.isNull() && c.unicode() > 57) {
        m_carryKey = capitalLetter(c);
        m_carry = Carry::ToCountry;
        QKeyEvent carried = carriedKey(m_carryKey);
        countryKey(&carried);
        c = QLatin1Char(' ');
    }
    if (m_carry == Carry::ToReportSent)
        c = m_carryKey;
    if (isEnter(key) && c != QLatin1Char(' ')) {
        logEntry();
        return true;
    }
    if (c == QLatin1Char(' ')) {
        m_country->setFocus();
        return true;
    }
    if (m_carry == Carry::ToReportSent) {
        placeCarried(m_reportSent);
        m_reportSent->setFocus();
        return true;
    }
    if (c.isNull() || c.unicode() < 32)
        return false;
    typeInto(m_reportSent, digitOnly(c));
    return true;
}

bool EntryLineArea::countryKey(QKeyEvent* key)
{
    QChar c = keyChar(key);
    if (c == QLatin1Char('"'))
        return true;
    const bool carried = m_carry == Carry::ToCountry;
    if (carried)
        c = m_carryKey;
    if (isEnter(key) && !carried) {
        logEntry();
        return true;
    }
    if (c == QLatin1Char(' ') && m_country->cursorPosition() == 0 && !carried) {
        focusNextChild();
        return true;
    }
    if (c.isNull() || c.unicode() < 32)
        return false;
    QString left;
    if (carried) {
        m_carry = Carry::None;
        m_country->clear();
    } else if (m_country->text().isEmpty() || m_country->cursorPosition() == 0) {
        m_country->clear();
        c = capitalLetter(c);
    } else {
        left = m_country->text().left(m_country->cursorPosition());
    }

    // Completion from the prefix table, searched from its last entry backwards.
    const QString typed = left + c;
    const int match = findCountryCompletion(m_session.prefixes(), typed, Qt::CaseInsensitive);
    if (match < 0) {
        if (left.isEmpty())
            m_country->setText(QString(c));
        else
            typeInto(m_country, c);
        if (carried)
            m_country->setFocus();
        return true;
    }
    const geo::PrefixEntry& entry = m_session.prefixes().entries().at(match);
    m_country->setText(typed + entry.CountryName.mid(typed.size()));
    m_country->setSelection(static_cast<int>(m_country->text().size()), -static_cast<int>(m_country->text().size() - typed.size()));
    emit callInfoChanged(m_session.callInfoFor(entry));
    if (carried)
        m_country->setFocus();
    return true;
}

bool EntryLineArea::postContestKey(QLineEdit* box, QKeyEvent* key)
{
    if (isEnter(key)) {
        logEntry();
        return true;
    }
    const QChar c = keyChar(key);
    if (c == QLatin1Char(' ')) {
        focusNextChild();
        return true;
    }
    if (c.isNull() || c.unicode() < 32)
        return false; // backspace and editing keys
    // The date takes "/" and digits, the time digits and ":".
    const int low = box == m_postContestDate ? 47 : 48;
    const int high = box == m_postContestDate ? 57 : 58;
    return c.unicode() < low || c.unicode() > high;
}

} // namespace tenlog::station
