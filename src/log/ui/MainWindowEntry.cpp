// The entry line of the main window: the key rules of the five boxes, the
// carries between them, country completion, the checks and logging.
#include "log/ui/MainWindow.h"

#include "geo/Bearing.h"
#include "log/CountryCompletion.h"
#include "log/EntryRules.h"
#include "log/MultTable.h"
#include "log/ui/MultiplierGrid.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "text/DateText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTimer>
#include <QPushButton>
#include <QTreeWidget>

namespace tenlog::log {

namespace {

constexpr int kToReportReceived = 4;
constexpr int kToExchange = 3;
constexpr int kToReportSent = 1;
constexpr int kToCountry = 2;

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

} // namespace

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_label30Mode && event->type() == QEvent::MouseButtonRelease) {
        setMode(isCw(m_prefs.CurrentMode) ? QStringLiteral("PH") : QStringLiteral("CW"));
        return true;
    }
    if (m_listView1 && watched == m_listView1->viewport() && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && m_listView1->topLevelItemCount() > 0) {
        if (QTreeWidgetItem* item = m_listView1->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
            m_listView1->setCurrentItem(item);
        cmdEdit_Click();
        return true;
    }
    if (watched == centralWidget() && event->type() == QEvent::MouseMove) {
        setDupeLine(QString());
        return false;
    }
    if (event->type() == QEvent::FocusIn) {
        using voice::EntryField;
        if (watched == m_txtCall)
            m_voiceNav.fieldEntered(EntryField::Call);
        else if (watched == m_txtRSTR)
            m_voiceNav.fieldEntered(EntryField::RstRcvd);
        else if (watched == m_txtSec)
            m_voiceNav.fieldEntered(EntryField::SecSer);
        else if (watched == m_txtRSTS)
            m_voiceNav.fieldEntered(EntryField::RstSnt);
        else if (watched == m_txtCntry)
            m_voiceNav.fieldEntered(EntryField::Country);
        if (watched == m_txtPostConDate) {
            if (m_txtPostConDate->text().isEmpty())
                m_txtPostConDate->setText(
                    text::formatDateTime(m_services.clock.localNow(), QStringLiteral("yyyy/mm/dd")));
            QTimer::singleShot(0, m_txtPostConDate, &QLineEdit::selectAll);
        } else if (watched == m_txtPostConTime) {
            QTimer::singleShot(0, m_txtPostConTime, &QLineEdit::selectAll);
        }
        if (watched == m_txtCall) {
            m_cmdEdit->hide();
            m_cmdDelete->hide();
            if (m_txtCall->text().isEmpty()) {
                m_txtRSTR->clear();
                m_txtRSTS->clear();
            }
        }
    } else if (event->type() == QEvent::FocusOut && watched == m_txtCall) {
        callLeft();
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            clearEntry();
            return true;
        }
        if (watched == m_txtCall)
            return callKey(key);
        if (watched == m_txtRSTR)
            return rstRcvdKey(key);
        if (watched == m_txtSec)
            return secSerKey(key);
        if (watched == m_txtRSTS)
            return rstSntKey(key);
        if (watched == m_txtCntry)
            return countryKey(key);
        if (watched == m_txtPostConDate || watched == m_txtPostConTime)
            return postContestKey(static_cast<QLineEdit*>(watched), key);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::typeInto(QLineEdit* box, QChar key)
{
    if (!key.isNull())
        box->insert(QString(key)); // respects the box's longest text
}

void MainWindow::placeCarried(QLineEdit* box)
{
    box->setText(QString(m_carryKey));
    box->setCursorPosition(1);
    m_carryTarget = 0;
}

bool MainWindow::holdAfterDupe(QKeyEvent* key)
{
    if (!m_dupeFlag || key->text().isEmpty())
        return false;
    if (!m_voiceNav.isWaiting() && m_services.clock.monotonicMs() > m_dupeTimeMs + 3000 && m_heldKeys.isEmpty()) {
        m_dupeFlag = false;
        return false;
    }
    // Typed too soon after a duplicate: kept back, delivered when the hold ends.
    m_heldKeys.append({key->key(), key->text()});
    if (!m_holdTimer->isActive())
        m_holdTimer->start();
    return true;
}

void MainWindow::releaseHeldKeys()
{
    if (m_voiceNav.isWaiting() || m_services.clock.monotonicMs() <= m_dupeTimeMs + 3000)
        return;
    m_holdTimer->stop();
    m_dupeFlag = false;
    const auto held = std::exchange(m_heldKeys, {});
    for (const auto& [code, text] : held) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
        QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : m_txtCall, &press);
    }
}

void MainWindow::PartialDupeCheck(QChar key)
{
    setMessageRed(false);
    setDupeLine(QString());
    const QString text = m_txtCall->text();
    const QString probe = text + key;
    QString list;
    if (m_partialDupesOn && refreshesPartialDupes(key)) {
        list = m_log.partialDupes(probe, m_prefs.CurrentMode);
        setDupeLine(list);
    }
    if (text.size() > 2 && !list.isEmpty())
        setMessage(QStringLiteral("Possible Duplicate!"));
    else if (LoggedOn())
        setMessage(QStringLiteral(" "));
    if (probe.size() == 3 && refreshesPartialDupes(key)) {
        if (callShapeWarning(probe, key)) {
            m_services.dialogs.beep();
            setMessage(QStringLiteral("The second or third character is not numeric!"));
        } else {
            setMessage(QStringLiteral(" "));
        }
    }
}

bool MainWindow::callKey(QKeyEvent* key)
{
    if (holdAfterDupe(key))
        return true;
    const QString text = m_txtCall->text();
    if (text.size() < 2)
        clearCallInfo();
    QChar c = keyChar(key);
    if (c == QLatin1Char('"'))
        return true;
    if (carriesIntoReport(text, c, m_txtCall->cursorPosition() == text.size())) {
        m_carryKey = c;
        m_carryTarget = kToReportReceived;
        m_txtRSTR->setFocus();
        QKeyEvent carried = carriedKey(c);
        rstRcvdKey(&carried);
        return true;
    }
    if (text.size() < 3 && LoggedOn())
        setMessage(QStringLiteral(" "));
    if (!LoggedOn()) {
        setMessage(QStringLiteral("Click Log \"Time On\"!"));
        m_services.dialogs.beep();
    }
    if (isEnter(key)) {
        Mains();
        return true;
    }
    if (c == QLatin1Char(' ')) {
        m_txtRSTR->setFocus();
        return true;
    }
    if (c.isNull() || c.unicode() < 32)
        return false; // editing keys work as usual
    c = capitalLetter(c);
    PartialDupeCheck(c);
    typeInto(m_txtCall, c);
    return true;
}

bool MainWindow::rstRcvdKey(QKeyEvent* key)
{
    QChar c = keyChar(key);
    if (!c.isNull() && c.unicode() > 57) {
        m_carryKey = c;
        m_carryTarget = kToExchange;
        QKeyEvent carried = carriedKey(c);
        secSerKey(&carried);
        c = QLatin1Char(' ');
    }
    if (m_carryTarget == kToReportReceived)
        c = m_carryKey;
    if (isEnter(key) && c != QLatin1Char(' ')) {
        Mains();
        return true;
    }
    if (c == QLatin1Char(' ')) {
        m_txtSec->setFocus();
        return true;
    }
    if (m_carryTarget == kToReportReceived) {
        placeCarried(m_txtRSTR);
        return true;
    }
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Left
        || key->key() == Qt::Key_Right || key->key() == Qt::Key_Home || key->key() == Qt::Key_End
        || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    typeInto(m_txtRSTR, digitOnly(c));
    return true;
}

bool MainWindow::secSerKey(QKeyEvent* key)
{
    if (m_txtSec->text() == QLatin1String("R"))
        updateNewFlag();
    QChar c = keyChar(key);
    if (c == QLatin1Char('"'))
        return true;
    const QString text = m_txtSec->text();
    if (text.size() == 2 && text.at(0).unicode() > 57 && c.unicode() >= 33 && c.unicode() <= 57) {
        m_carryKey = c;
        m_carryTarget = kToReportSent;
        QKeyEvent carried = carriedKey(c);
        rstSntKey(&carried);
        c = QLatin1Char(' ');
    }
    if (m_carryTarget == kToExchange)
        c = m_carryKey;
    if (isEnter(key) && c != QLatin1Char(' ')) {
        Mains();
        return true;
    }
    if (c == QLatin1Char(' ')) {
        m_txtRSTS->setFocus();
        return true;
    }
    if (m_carryTarget == kToExchange) {
        m_carryKey = capitalLetter(m_carryKey);
        placeCarried(m_txtSec);
        m_txtSec->setFocus();
        return true;
    }
    if (c.isNull() || c.unicode() < 32)
        return false;
    typeInto(m_txtSec, capitalLetter(c));
    return true;
}

bool MainWindow::rstSntKey(QKeyEvent* key)
{
    QChar c = keyChar(key);
    if (!c.isNull() && c.unicode() > 57) {
        m_carryKey = capitalLetter(c);
        m_carryTarget = kToCountry;
        QKeyEvent carried = carriedKey(m_carryKey);
        countryKey(&carried);
        c = QLatin1Char(' ');
    }
    if (m_carryTarget == kToReportSent)
        c = m_carryKey;
    if (isEnter(key) && c != QLatin1Char(' ')) {
        Mains();
        return true;
    }
    if (c == QLatin1Char(' ')) {
        m_txtCntry->setFocus();
        return true;
    }
    if (m_carryTarget == kToReportSent) {
        placeCarried(m_txtRSTS);
        m_txtRSTS->setFocus();
        return true;
    }
    if (c.isNull() || c.unicode() < 32)
        return false;
    typeInto(m_txtRSTS, digitOnly(c));
    return true;
}

bool MainWindow::countryKey(QKeyEvent* key)
{
    QChar c = keyChar(key);
    if (c == QLatin1Char('"'))
        return true;
    const bool carried = m_carryTarget == kToCountry;
    if (carried)
        c = m_carryKey;
    if (isEnter(key) && !carried) {
        Mains();
        return true;
    }
    if (c == QLatin1Char(' ') && m_txtCntry->cursorPosition() == 0 && !carried) {
        focusNextChild();
        return true;
    }
    if (c.isNull() || c.unicode() < 32)
        return false;
    QString left;
    if (carried) {
        m_carryTarget = 0;
        m_txtCntry->clear();
    } else if (m_txtCntry->text().isEmpty() || m_txtCntry->cursorPosition() == 0) {
        m_txtCntry->clear();
        c = capitalLetter(c);
    } else {
        left = m_txtCntry->text().left(m_txtCntry->cursorPosition());
    }

    // Completion from the prefix table, searched from its last entry backwards.
    const QString typed = left + c;
    const int match = findCountryCompletion(m_prefixes, typed, Qt::CaseInsensitive);
    if (match < 0) {
        if (left.isEmpty())
            m_txtCntry->setText(QString(c));
        else
            typeInto(m_txtCntry, c);
        if (carried)
            m_txtCntry->setFocus();
        return true;
    }
    const geo::PrefixEntry& entry = m_prefixes.entries().at(match);
    m_txtCntry->setText(typed + entry.CountryName.mid(typed.size()));
    m_txtCntry->setSelection(static_cast<int>(m_txtCntry->text().size()), -static_cast<int>(m_txtCntry->text().size() - typed.size()));
    m_label19Cont->setText(entry.Continent);
    const geo::BearingLabels labels = geo::bearingAndDistance(m_prefs.OwnLatitude, m_prefs.OwnLongitude, entry.Latitude,
                                                  entry.Longitude);
    m_label22Bearing->setText(labels.bearing);
    m_label23Miles->setText(labels.distance);
    if (carried)
        m_txtCntry->setFocus();
    return true;
}

bool MainWindow::postContestKey(QLineEdit* box, QKeyEvent* key)
{
    if (isEnter(key)) {
        Mains();
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
    const int low = box == m_txtPostConDate ? 47 : 48;
    const int high = box == m_txtPostConDate ? 57 : 58;
    return c.unicode() < low || c.unicode() > high;
}

bool MainWindow::postContestChecks()
{
    const auto date = postContestDate(m_txtPostConDate->text());
    if (!date) {
        setMessage(QStringLiteral("Invalid date format!"));
        m_services.dialogs.beep();
        return false;
    }
    m_txtPostConDate->setText(*date);
    const auto time = postContestTime(m_txtPostConTime->text());
    if (!time) {
        setMessage(QStringLiteral("Invalid time format!"));
        m_services.dialogs.beep();
        return false;
    }
    m_txtPostConTime->setText(*time);
    return true;
}

void MainWindow::callChanged(const QString& text)
{
    lookupCall();
    m_currentCall = text;
}

void MainWindow::lookupCall()
{
    const QString call = m_txtCall->text();
    if (call.isEmpty())
        return;
    const geo::CallLookup found = m_prefixes.lookupCall(call);
    m_txtCntry->setText(found.country);
    if (found.found) {
        m_label19Cont->setText(found.entry->Continent);
        const geo::BearingLabels labels = geo::bearingAndDistance(m_prefs.OwnLatitude, m_prefs.OwnLongitude,
                                                      found.entry->Latitude, found.entry->Longitude);
        m_label22Bearing->setText(labels.bearing);
        m_label23Miles->setText(labels.distance);
    } else {
        m_label19Cont->clear();
        m_label22Bearing->clear();
        m_label23Miles->clear();
    }
    m_txtCntry->selectAll();
}

void MainWindow::callLeft()
{
    if (m_txtCall->text().isEmpty())
        return;
    dupcheck();
    for (QLineEdit* report : {m_txtRSTR, m_txtRSTS}) {
        if (report->text().isEmpty()) {
            report->setText(defaultReport(m_prefs.CurrentMode));
            report->selectAll();
        }
    }
}

void MainWindow::countryChanged()
{
    updateNewFlag();
}

void MainWindow::updateNewFlag()
{
    m_label3New->setVisible(newCountryFlag(m_txtCntry->text(), m_txtSec->text(),
                                           m_log.dxCountries(m_prefs.CurrentMode)));
}

void MainWindow::clearCallInfo()
{
    m_txtCntry->clear();
    m_label19Cont->clear();
    m_label22Bearing->clear();
    m_label23Miles->clear();
}

void MainWindow::clearEntry()
{
    for (QLineEdit* box : {m_txtCall, m_txtRSTR, m_txtSec, m_txtRSTS, m_txtCntry})
        box->clear();
    setDupeLine(QString());
    setMessage(QString());
    clearCallInfo();
    m_txtCall->setFocus();
}

bool MainWindow::frmcmp()
{
    m_incompleteFlag = false;
    const QList<Failure> failures = log::frmcmp(m_txtCall->text(), m_txtRSTR->text(), m_txtSec->text(),
                                                m_txtRSTS->text(), m_txtCntry->text());
    QLineEdit* boxes[] = {m_txtCall, m_txtRSTR, m_txtSec, m_txtRSTS, m_txtCntry};
    for (const Failure& f : failures) {
        m_services.dialogs.beep();
        setMessage(f.message);
        m_incompleteFlag = true;
        boxes[static_cast<int>(f.box)]->setFocus();
    }
    return !m_incompleteFlag;
}

bool MainWindow::checkExchange()
{
    const SectionCheck check = log::checkExchange(m_txtSec->text());
    if (check == SectionCheck::NotChecked)
        return !m_badSectionFlag;
    m_badSectionFlag = check == SectionCheck::Invalid;
    if (m_badSectionFlag) {
        m_services.dialogs.beep();
        setMessage(QStringLiteral("Invalid Section!"));
    }
    return !m_badSectionFlag;
}

bool MainWindow::dupcheck()
{
    m_dupeFlag = false;
    const int rec = m_log.findDuplicate(m_txtCall->text(), m_prefs.CurrentMode);
    if (rec == 0)
        return false;
    const QsoRecord& r = m_log.records().at(rec - 1);
    setMessage(QStringLiteral("Duplicate ") + r.Call + QLatin1Char(' ') + r.SecSer + QLatin1Char(' ') + r.QsoDate
                   + QLatin1Char(' ') + r.QsoTime + QStringLiteral(" ON ") + r.Mode + QStringLiteral("  Rec# ")
                   + QString::number(rec),
               true);
    setDupeLine(QString());
    m_services.dialogs.beep();
    // With navigation on, the line is cleared only once "Dupe" has been
    // heard; keys typed meanwhile are held, and the window keeps painting.
    m_dupeFlag = true;
    m_dupeTimeMs = m_services.clock.monotonicMs();
    m_voiceNav.dupeFound([this] {
        m_dupeTimeMs = m_services.clock.monotonicMs();
        m_txtCall->setFocus();
        for (QLineEdit* box : {m_txtCall, m_txtRSTR, m_txtSec, m_txtRSTS, m_txtCntry})
            box->clear();
        clearCallInfo();
    });
    if (m_voiceNav.isWaiting() && !m_holdTimer->isActive())
        m_holdTimer->start();
    return true;
}

void MainWindow::Mains()
{
    if (!LoggedOn())
        timeOn();
    updateNewFlag();
    const bool newCountry = m_label3New->isVisible();
    const bool postContest = m_txtPostConTime->isVisible();
    if (postContest && !postContestChecks())
        return;

    checkEntryComplete();
    checkExchange();
    dupcheck();

    if (!m_dupeFlag && !m_incompleteFlag && !m_badSectionFlag) {
        QsoRecord r;
        r.Call = m_txtCall->text();
        r.RstRcvd = m_txtRSTR->text();
        r.SecSer = m_txtSec->text();
        r.RstSnt = m_txtRSTS->text();
        r.Country = m_txtCntry->text();
        const QDateTime utc = utcFromLocal(m_services.clock.localNow(), m_prefs.UtcOffsetHours);
        // After the contest the operator types the UTC date and time.
        r.QsoDate = postContest ? m_txtPostConDate->text() : text::formatDateTime(utc, QStringLiteral("yyyy/mm/dd"));
        r.QsoTime = postContest ? m_txtPostConTime->text() : text::formatDateTime(utc, QStringLiteral("hh:nn:ss"));
        r.Mode = m_prefs.CurrentMode;
        r.Freq = m_pendingFreq;

        // The contact shows as logged only once it is safely on disk.
        if (const auto error = m_log.appendContact(r)) {
            m_services.dialogs.beep();
            m_services.dialogs.message(QStringLiteral("Contact Not Logged"),
                                       QStringLiteral("The contact could not be written to log.txt: ") + *error
                                           + QStringLiteral("\nIt is still on the entry line."),
                                       platform::MessageIcon::Critical);
            return;
        }
        RefreshContactList();
        setMessage(QString());
        setDupeLine(QString());
        if (newCountry)
            showDxList();
        const int c = multIndex(r.SecSer);
        if (c > 0)
            m_grid->setColour(c, m_prefs.WorkedColor);
        Labeldisplay();
    }
    if (!m_badSectionFlag && !m_incompleteFlag) {
        for (QLineEdit* box : {m_txtCall, m_txtRSTR, m_txtSec, m_txtRSTS, m_txtCntry})
            box->clear();
        clearCallInfo();
        m_txtCall->setFocus();
    }
    setDupeLine(QString());
    TimeStats();
    m_pendingFreq.clear();
}

} // namespace tenlog::log
