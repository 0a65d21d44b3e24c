// The spotting window: layout, the source choice, the send line and "&Done".
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
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tenlog::spots {

namespace {

constexpr int kDesignWidth = 620;
constexpr int kDesignHeight = 460;
// A typed line this long that ends in a blank is sent to the packet engine
// at once, as a line break while typing.
constexpr int kAgwLineBreakAt = 70;

const QStringList kBaudValues{"1200", "2400", "4800", "9600", "14400", "19200"};
const QStringList kParityValues{"O", "N", "E"};
const QStringList kDataValues{"7", "8"};
const QStringList kStopValues{"1", "2"};
const QStringList kPowerValues{"N", "R", "D"};

template <typename W>
W* named(W* widget, const char* objectName, const QString& spoken)
{
    widget->setObjectName(QString::fromLatin1(objectName));
    widget->setAccessibleName(spoken);
    return widget;
}

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
                               platform::Dialogs& dialogs, QString workingFolder, Hooks hooks, QWidget* parent)
    : QDialog(parent), m_session(session), m_terminal(terminal), m_paths(paths),
      m_workingFolder(std::move(workingFolder)), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("PacketSpotfrm"));
    setWindowTitle(QStringLiteral(" DX Spotting Setup"));
    setAccessibleName(QStringLiteral("DX spotting setup"));
    buildLayout();
    resize(kDesignWidth, kDesignHeight);
    // Its type grows with the screen's width, but at most by half: the
    // window is dense and must stay within the screen.
    common::scaleFormToScreen(this, dialogs, std::nullopt, {.widthFontCap = 1.5});
    // Every source in sight without scrolling, in the type size scaling chose.
    m_sources->setMinimumHeight(m_sources->sizeHintForRow(0) * m_sources->count() + 2 * m_sources->frameWidth() + 4);
    // Centred across the screen and at its very top, clear of the main
    // window's entry line.
    resize(size().expandedTo(minimumSizeHint()));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y());
    }

    connect(&m_terminal, &SpotTerminal::changed, this, &SpottingWindow::showTerminal);
    connect(&m_session, &SpotSession::listeningChanged, m_listening, &QLabel::setVisible);
    connect(&m_session, &SpotSession::captionChanged, this, &QWidget::setWindowTitle);
    connect(&m_session, &SpotSession::windowWanted, this, [this] {
        if (!isVisible())
            show();
    });
    loadSettings();
}

QGroupBox* SpottingWindow::optionGroup(const QString& objectName, const QString& caption, const QString& spoken,
                                       const QStringList& names, const QStringList& captions, QButtonGroup*& group)
{
    auto* frame = new QGroupBox(caption, this);
    frame->setObjectName(objectName);
    frame->setAccessibleName(spoken);
    auto* layout = new QGridLayout(frame);
    group = new QButtonGroup(frame);
    const int columns = names.size() > 4 ? 2 : 1;
    for (int i = 0; i < names.size(); ++i) {
        auto* option = new QRadioButton(captions.at(i), frame);
        option->setObjectName(names.at(i));
        option->setAccessibleName(spoken + QLatin1Char(' ') + captions.at(i));
        group->addButton(option, i);
        layout->addWidget(option, i / columns, i % columns);
    }
    // Changing any serial setting closes an open port; loading does not.
    connect(group, &QButtonGroup::idClicked, this, [this] {
        if (!m_loading)
            m_session.close();
    });
    return frame;
}

void SpottingWindow::buildLayout()
{
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(named(new QLabel(QStringLiteral("Select Option:"), this), "Label1", QStringLiteral("Select option")));
    m_sources = named(new QListWidget(this), "List1", QStringLiteral("Spot source"));
    m_sources->addItems({kSourceNone, kSourceTnc, kSourceTelnet, kSourceAgw});
    m_sources->setMaximumHeight(90);
    left->addWidget(m_sources);
    connect(m_sources, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { chooseSource(item->text()); });

    auto* address = new QGridLayout;
    m_hostLabel = named(new QLabel(QStringLiteral("Telnet Host:"), this), "Label7", QStringLiteral("Telnet host"));
    m_host = named(new QLineEdit(this), "txtTelnetHost", QStringLiteral("Telnet host"));
    m_portLabel = named(new QLabel(QStringLiteral("Telnet Port:"), this), "Label3", QStringLiteral("Telnet port"));
    m_port = named(new QLineEdit(this), "txtTelnetPort", QStringLiteral("Telnet port"));
    m_port->setMaxLength(5);
    m_hexLabel = named(new QLabel(QStringLiteral("TNC cmd mode hex character:"), this), "Label2",
                       QStringLiteral("TNC command mode hex character"));
    m_hex = named(new QLineEdit(this), "txtHex", QStringLiteral("TNC command mode hex character"));
    m_hex->setMaxLength(2);
    address->addWidget(m_hostLabel, 0, 0);
    address->addWidget(m_host, 0, 1);
    address->addWidget(m_portLabel, 1, 0);
    address->addWidget(m_port, 1, 1);
    address->addWidget(m_hexLabel, 2, 0);
    address->addWidget(m_hex, 2, 1);
    left->addLayout(address);

    m_display = named(new QGroupBox(QStringLiteral("Main Form Display"), this), "Frame2", QStringLiteral("Main form display"));
    auto* displayLayout = new QHBoxLayout(m_display);
    m_bandMap = named(new QRadioButton(QStringLiteral("Band Map"), m_display), "OptBand", QStringLiteral("Show a band map"));
    m_list = named(new QRadioButton(QStringLiteral("List"), m_display), "OptList", QStringLiteral("Show a list"));
    m_bandMap->setChecked(true);
    displayLayout->addWidget(m_bandMap);
    displayLayout->addWidget(m_list);
    left->addWidget(m_display);
    m_dxOnly = named(new QCheckBox(QStringLiteral("List DX Only (also controls main form)"), this), "chkDX",
                     QStringLiteral("List DX only"));
    connect(m_dxOnly, &QCheckBox::toggled, this, [this](bool on) { m_paths.showSpotLinesOnly(on); });
    m_convertToHex = named(new QCheckBox(QStringLiteral("Convert to Hex"), this), "chkConvToHex",
                           QStringLiteral("Convert to hex, not in use"));
    left->addWidget(m_dxOnly);
    left->addWidget(m_convertToHex);
    top->addLayout(left);

    auto* serial = new QGridLayout;
    QStringList portNames;
    QStringList portCaptions;
    for (int i = 0; i < 10; ++i) {
        portNames << QStringLiteral("optComm_%1").arg(i);
        portCaptions << QString::number(i + 1);
    }
    m_portFrame = optionGroup(QStringLiteral("fraPort"), QStringLiteral("Comm Port"), QStringLiteral("Comm port"),
                              portNames, portCaptions, m_portGroup);
    m_baudFrame = optionGroup(QStringLiteral("fraBaud"),
                              QStringLiteral("Baud Rate of Com Port to TNC (not necessarily transmitted baud rate)"),
                              QStringLiteral("Baud rate"),
                              {"optBaud12", "optBaud24", "optBaud48", "optBaud96", "optBaud144", "optBaud192"},
                              {"1.2k", "2.4k", "4.8k", "9.6k", "14.4k", "19.2k"}, m_baudGroup);
    m_parityFrame = optionGroup(QStringLiteral("fraParity"), QStringLiteral("Parity"), QStringLiteral("Parity"),
                                {"optParityOdd", "optParityNone", "optParityEven"}, {"Odd", "None", "Even"}, m_parityGroup);
    m_dataFrame = optionGroup(QStringLiteral("fraData"), QStringLiteral("Data Bits"), QStringLiteral("Data bits"),
                              {"optData7", "optData8"}, {"7", "8"}, m_dataGroup);
    m_stopFrame = optionGroup(QStringLiteral("fraStop"), QStringLiteral("Stop Bits"), QStringLiteral("Stop bits"),
                              {"optStop1", "optStop2"}, {"1", "2"}, m_stopGroup);
    m_powerFrame = optionGroup(QStringLiteral("fraPower"), QStringLiteral("Connection Power"),
                               QStringLiteral("Connection power"), {"optPowerNone", "optPowerRTS", "optPowerDTR"},
                               {"None", "RTS", "DTR"}, m_powerGroup);
    m_handshakeFrame = optionGroup(QStringLiteral("Frame1"), QStringLiteral("Handshaking"), QStringLiteral("Handshaking"),
                                   {"Option1", "Option2", "Option3", "Option4"},
                                   {"None", "Xon Xoff", "RTS", "RTS OnOff"}, m_handshakeGroup);
    // Three columns under the wide baud-rate frame, so the window keeps
    // within a small screen at the scaled type size.
    serial->addWidget(m_baudFrame, 0, 0, 1, 3);
    serial->addWidget(m_portFrame, 1, 0);
    serial->addWidget(m_parityFrame, 1, 1);
    serial->addWidget(m_dataFrame, 1, 2);
    serial->addWidget(m_handshakeFrame, 2, 0);
    serial->addWidget(m_stopFrame, 2, 1);
    serial->addWidget(m_powerFrame, 2, 2);
    top->addLayout(serial, 1);

    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    auto* buttons = new QHBoxLayout;
    m_open = named(new QPushButton(QStringLiteral("Open Port"), this), "Command1", QStringLiteral("Open port"));
    m_close = named(new QPushButton(QStringLiteral("Close Port"), this), "Command2", QStringLiteral("Close port"));
    m_spotLast = named(new QPushButton(QStringLiteral("&Spot Last"), this), "Command3", QStringLiteral("Spot last contact"));
    m_done = named(new QPushButton(QStringLiteral("&Done"), this), "cmdDone", QStringLiteral("Done"));
    m_listening = named(new QLabel(QStringLiteral("Listening"), this), "Label4", QStringLiteral("Listening"));
    m_listening->hide();
    for (QPushButton* button : {m_open, m_close, m_spotLast, m_done}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addWidget(m_listening);
    buttons->addStretch();
    page->addLayout(buttons);
    connect(m_open, &QPushButton::clicked, this, &SpottingWindow::openSource);
    connect(m_close, &QPushButton::clicked, &m_session, &SpotSession::close);
    connect(m_spotLast, &QPushButton::clicked, this, &SpottingWindow::spotLast);
    connect(m_done, &QPushButton::clicked, this, &SpottingWindow::done);

    m_sendPrompt = named(new QLabel(this), "Label6", QStringLiteral("Send prompt"));
    m_send = named(new QLineEdit(this), "txtSent", QStringLiteral("Text to send"));
    m_send->installEventFilter(this);
    connect(m_send, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_session.source().compare(kSourceAgw, Qt::CaseInsensitive) == 0 && m_session.isTicking()
            && text.size() > kAgwLineBreakAt && text.endsWith(QLatin1Char(' '))) {
            m_session.sendLine(text.chopped(1));
            m_send->clear();
        }
    });
    page->addWidget(m_sendPrompt);
    page->addWidget(m_send);
    m_terminalView = named(new QPlainTextEdit(this), "txtUnProcessed", QStringLiteral("Spotting terminal"));
    m_terminalView->setReadOnly(true);
    m_terminalView->setUndoRedoEnabled(false);
    page->addWidget(m_terminalView, 1);
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
    // Plain text only: whatever a node sends is never read as markup.
    m_terminalView->setPlainText(m_terminal.text());
    if (m_terminal.text().size() > 2)
        m_terminalView->moveCursor(QTextCursor::End);
}

bool SpottingWindow::eventFilter(QObject* watched, QEvent* event)
{
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
