// The spotting window: the source choice, the send line, the settings and
// "&Done". Its controls are built in SpottingWindowControls.cpp.
#include "spots/ui/SpottingWindow.h"

#include "common/ui/FormScaling.h"
#include "spots/SpotPaths.h"
#include "spots/SpotSession.h"
#include "spots/SpotSettings.h"
#include "spots/SpotTerminal.h"
#include "spots/SpottingHelp.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace tenlog::spots {

namespace {

constexpr int kDesignWidth = 620;
constexpr int kDesignHeight = 460;

const QStringList kBaudValues{"1200", "2400", "4800", "9600", "14400", "19200"};
const QStringList kParityValues{"O", "N", "E"};
const QStringList kDataValues{"7", "8"};
const QStringList kStopValues{"1", "2"};
const QStringList kPowerValues{"N", "R", "D"};

void check(QButtonGroup* group, int id)
{
    if (QAbstractButton* button = group->button(id))
        button->setChecked(true);
}

QString checkedValue(const QButtonGroup* group, const QStringList& values)
{
    return values.value(group->checkedId());
}

} // namespace

SpottingWindow::SpottingWindow(SpotSession& session, SpotTerminal& terminal, SpotPaths& paths,
                               platform::Dialogs& dialogs, QString workingFolder, Hooks hooks,
                               common::PortDevices* portDevices, QWidget* parent)
    : QDialog(parent), m_session(session), m_terminal(terminal), m_paths(paths), m_dialogs(dialogs),
      m_portDevices(portDevices), m_workingFolder(std::move(workingFolder)), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("PacketSpotfrm"));
    setWindowTitle(QStringLiteral(" DX Spotting Setup"));
    setAccessibleName(QStringLiteral("DX spotting setup"));
    buildLayout();
    resize(kDesignWidth, kDesignHeight);
    // Its type grows with the screen's width, but at most by half: the
    // window is dense and must stay within the screen. Centred across the
    // screen and at its very top, clear of the main window's entry line.
    common::scaleFormToScreen(this, dialogs, std::nullopt, {.widthFontCap = 1.5, .atTopOfScreen = true});
    // Every source in sight without scrolling, in the type size scaling chose.
    m_sources->setMinimumHeight(m_sources->sizeHintForRow(0) * m_sources->count() + 2 * m_sources->frameWidth() + 4);
    // The terminal never shrinks below four lines of the cluster's text, so
    // a spot and what came round it stay readable on a small screen.
    const int documentMargin = static_cast<int>(2 * m_terminalView->document()->documentMargin());
    m_terminalView->setMinimumHeight(4 * m_terminalView->fontMetrics().lineSpacing() + documentMargin
                                     + 2 * m_terminalView->frameWidth());

    connect(&m_terminal, &SpotTerminal::changed, this, &SpottingWindow::showTerminal);
    connect(&m_session, &SpotSession::listeningChanged, m_listening, &QLabel::setVisible);
    connect(&m_session, &SpotSession::captionChanged, this, &QWidget::setWindowTitle);
    loadSettings();
}

void SpottingWindow::disableSourceControls()
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_host, m_port, m_hex, m_send, m_display, m_dxOnly, m_convertToHex, m_portFrame, m_baudFrame, m_parityFrame,
             m_dataFrame, m_stopFrame, m_powerFrame, m_handshakeFrame, m_hostLabel, m_portLabel, m_hexLabel,
             m_sendPrompt, m_open, m_close})
        w->setEnabled(false);
}

void SpottingWindow::enableControlsFor(const QString& word)
{
    const auto is = [&](const QString& source) { return word.compare(source, Qt::CaseInsensitive) == 0; };
    QList<QWidget*> controls;
    if (is(kSourceTnc))
        controls = {m_display, m_dxOnly, m_send, m_hex, m_handshakeFrame, m_baudFrame, m_parityFrame, m_dataFrame,
                    m_stopFrame, m_portFrame, m_powerFrame, m_hexLabel, m_sendPrompt, m_open, m_close};
    else if (is(kSourceTelnet))
        controls = {m_host, m_port, m_hostLabel, m_portLabel, m_sendPrompt, m_send, m_open, m_close, m_display, m_dxOnly};
    else if (is(kSourceAgw))
        controls = {m_sendPrompt, m_send, m_open, m_close, m_display, m_dxOnly};
    for (QWidget* w : controls)
        w->setEnabled(true);
}

void SpottingWindow::chooseSource(const QString& word)
{
    m_dxOnly->setChecked(false);
    const auto is = [&](const QString& source) { return word.compare(source, Qt::CaseInsensitive) == 0; };
    if (!m_loading) {
        m_session.close();
        disableSourceControls();
        m_session.setSource(word);
        if (is(kSourceTnc)) {
            check(m_baudGroup, 3);
            check(m_parityGroup, 1);
            check(m_dataGroup, 1);
            check(m_stopGroup, 0);
            check(m_handshakeGroup, 2);
            m_hex->setText(QStringLiteral("03"));
        }
        enableControlsFor(word);
    }
    m_terminal.replace(spottingHelp(word));
    QTextCursor cursor = m_terminalView->textCursor();
    cursor.setPosition(std::min(1, m_terminalView->document()->characterCount() - 1));
    m_terminalView->setTextCursor(cursor);
    if (is(kSourceTnc))
        m_sendPrompt->setText(QStringLiteral("Send text  (Ctrl C or Esc for TNC Command mode):"));
    else if (is(kSourceAgw))
        m_sendPrompt->setText(QStringLiteral("Send text (use : to send cmds such as :C Korvo or :D)"));
    else if (is(kSourceTelnet))
        m_sendPrompt->setText(QStringLiteral("Type text to send and press enter:"));
    m_send->setAccessibleDescription(m_sendPrompt->text());
}

void SpottingWindow::openSource()
{
    const SpotSettings s = currentSettings();
    TncSettings tnc;
    tnc.port = s.port;
    tnc.settings = s.baud.trimmed() + QLatin1Char(',') + s.parity + QLatin1Char(',') + s.dataBits + QLatin1Char(',') + s.stopBits;
    tnc.handshake = s.handshake;
    tnc.power = s.power.isEmpty() ? QLatin1Char('N') : s.power.at(0);
    m_session.setTncSettings(tnc);
    m_session.setTelnetAddress(m_host->text(), m_port->text());
    m_session.open();
    if (isVisible() && m_session.isListening())
        m_send->setFocus(Qt::OtherFocusReason);
}

void SpottingWindow::showTerminal()
{
    const QString& text = m_terminal.text();
    // Text that only grew gets its new end added; laying out the whole
    // terminal again for every change would cost a burst dearly. A CR at
    // the end of what is shown may pair with an LF to come, which only a
    // full setting reads as one line end.
    const bool onlyGrew = m_shownRevision == m_terminal.revision() && text.size() >= m_shownLength
                       && (m_shownLength == 0 || text.at(m_shownLength - 1) != QLatin1Char('\r'));
    if (!onlyGrew) {
        // Plain text only: whatever a node sends is never read as markup.
        m_terminalView->setPlainText(text);
    } else if (text.size() > m_shownLength) {
        QTextCursor end(m_terminalView->document());
        end.movePosition(QTextCursor::End);
        end.insertText(text.mid(m_shownLength));
    }
    m_shownRevision = m_terminal.revision();
    m_shownLength = text.size();
    if (text.size() > 2)
        m_terminalView->moveCursor(QTextCursor::End);
}

void SpottingWindow::chooseHighlightedSource()
{
    const QListWidgetItem* item = m_sources->currentItem();
    if (item && item->text().compare(m_session.source(), Qt::CaseInsensitive) != 0)
        chooseSource(item->text());
}

bool SpottingWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_sources->viewport()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            m_mouseOnSources = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            m_mouseOnSources = false;
    }
    if (watched == m_sources && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            chooseHighlightedSource();
            return true;
        }
    }
    if (watched == m_send && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            sendTypedLine();
            return true;
        }
        if (key->key() == Qt::Key_Escape || key->matches(QKeySequence::Copy)) {
            keyPressEvent(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SpottingWindow::keyPressEvent(QKeyEvent* event)
{
    const bool escape = event->key() == Qt::Key_Escape;
    if (!escape && !event->matches(QKeySequence::Copy)) {
        QDialog::keyPressEvent(event);
        return;
    }
    // Esc never closes this window: it is the TNC's command key, and a colon
    // for packet-engine commands.
    commandCharacter();
    if (escape && m_session.source().compare(kSourceAgw, Qt::CaseInsensitive) == 0)
        m_send->insert(QStringLiteral(":"));
    event->accept();
}

void SpottingWindow::commandCharacter()
{
    m_dxOnly->setChecked(false);
    if (!m_session.isListening())
        openSource();
    m_session.sendCommandCharacter(m_hex->text());
    if (m_session.source().compare(kSourceTnc, Qt::CaseInsensitive) == 0 || m_send->text().isEmpty())
        m_send->setFocus(Qt::OtherFocusReason);
}

void SpottingWindow::sendTypedLine()
{
    if (!m_session.isListening())
        openSource();
    m_session.sendLine(m_send->text());
    m_send->clear();
}

void SpottingWindow::spotLast()
{
    const QString call = m_hooks.lastCall ? m_hooks.lastCall() : QString();
    m_send->setText(SpotSession::spotLastText(call));
    m_send->setFocus(Qt::OtherFocusReason);
    m_send->setSelection(SpotSession::kSpotLastSelectionStart, SpotSession::kSpotLastSelectionLength);
}

void SpottingWindow::done()
{
    const QString source = m_session.source();
    if (!source.isEmpty() && source.compare(kSourceNone, Qt::CaseInsensitive) != 0 && !m_session.isListening())
        openSource();
    if (m_hooks.done)
        m_hooks.done();
    saveSpotSettings(m_workingFolder, currentSettings());
    hide();
}

void SpottingWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    const QString source = m_session.source();
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !source.isEmpty()
        && source.compare(kSourceNone, Qt::CaseInsensitive) != 0) {
        m_terminalView->moveCursor(QTextCursor::End);
        m_send->setFocus(Qt::OtherFocusReason);
    }
}

bool SpottingWindow::listChosen() const
{
    return m_list->isChecked();
}

QString SpottingWindow::sourceWord() const
{
    return m_session.source();
}

SpotSettings SpottingWindow::currentSettings() const
{
    SpotSettings s;
    s.baud = checkedValue(m_baudGroup, kBaudValues);
    s.parity = checkedValue(m_parityGroup, kParityValues);
    s.dataBits = checkedValue(m_dataGroup, kDataValues);
    s.stopBits = checkedValue(m_stopGroup, kStopValues);
    s.port = m_portGroup->checkedId() + 1;
    s.power = checkedValue(m_powerGroup, kPowerValues);
    s.source = m_session.source();
    s.convertToHex = m_convertToHex->isChecked() ? 1 : 0;
    s.handshake = m_handshakeGroup->checkedId() + 1;
    s.listDxOnly = m_dxOnly->isChecked() ? 1 : 0;
    s.listDisplay = m_list->isChecked();
    s.commandCharacter = m_hex->text();
    s.telnetPort = m_port->text();
    s.telnetHost = m_host->text();
    return s;
}

void SpottingWindow::loadSettings()
{
    disableSourceControls();
    // The first-run state: port 1, 19.2k, N, 8, 1, no power line, no handshaking.
    check(m_portGroup, 0);
    check(m_baudGroup, 5);
    check(m_parityGroup, 1);
    check(m_dataGroup, 1);
    check(m_stopGroup, 0);
    check(m_powerGroup, 0);
    check(m_handshakeGroup, 0);
    const std::optional<SpotSettings> saved = loadSpotSettings(m_workingFolder);
    if (!saved)
        return;
    m_loading = true;
    m_convertToHex->setChecked(saved->convertToHex != 0);
    (saved->listDisplay ? m_list : m_bandMap)->setChecked(true);
    m_hex->setText(saved->commandCharacter);
    m_port->setText(saved->telnetPort);
    m_host->setText(saved->telnetHost);
    m_session.setSource(saved->source);
    const QList<QListWidgetItem*> found = m_sources->findItems(saved->source, Qt::MatchFixedString);
    if (!found.isEmpty()) {
        m_sources->setCurrentItem(found.first());
        chooseSource(found.first()->text());
    }
    check(m_portGroup, saved->port - 1);
    check(m_baudGroup, static_cast<int>(kBaudValues.indexOf(saved->baud)));
    check(m_parityGroup, static_cast<int>(kParityValues.indexOf(saved->parity)));
    check(m_dataGroup, static_cast<int>(kDataValues.indexOf(saved->dataBits)));
    check(m_stopGroup, static_cast<int>(kStopValues.indexOf(saved->stopBits)));
    check(m_powerGroup, static_cast<int>(kPowerValues.indexOf(saved->power)));
    check(m_handshakeGroup, saved->handshake - 1);
    m_loading = false;
    enableControlsFor(saved->source);
    if (!saved->source.isEmpty() && saved->source.compare(kSourceNone, Qt::CaseInsensitive) != 0)
        openSource();
}

} // namespace tenlog::spots
