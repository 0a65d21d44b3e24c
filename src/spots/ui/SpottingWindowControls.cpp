// The spotting window's controls: the source list, the address boxes, the
// serial option groups, the display choice, the buttons and the terminal.
#include "spots/ui/SpottingWindow.h"

#include "common/ui/NamedWidget.h"
#include "common/ui/PortDeviceRow.h"

#include "spots/SpotPaths.h"
#include "spots/SpotSession.h"
#include "spots/SpotTerminal.h"
#include "spots/SpottingHelp.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>
#include <QVBoxLayout>

namespace tenlog::spots {

namespace {

// A typed line this long that ends in a blank is sent to the packet engine
// at once, as a line break while typing.
constexpr int kAgwLineBreakAt = 70;

// A TCP port number as it is typed: digits only, 1 to 65535; an empty box or
// a leading 0 may stand while typing.
class TcpPortValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        if (input.isEmpty())
            return Intermediate;
        for (const QChar c : input) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Invalid;
        }
        const int port = input.toInt();
        if (port > 65535)
            return Invalid;
        return port == 0 ? Intermediate : Acceptable;
    }
};

} // namespace

using common::named;

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
    // Moving through the list with the keys (arrows, Home, End, a letter)
    // chooses as a click does. A mouse press moves the highlight too, but
    // there the click that follows chooses; and the highlight the list
    // gives itself when first entered chooses nothing.
    connect(m_sources, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* now, QListWidgetItem* before) {
        if (now && before && !m_loading && !m_mouseOnSources)
            chooseSource(now->text());
    });
    m_sources->installEventFilter(this);
    m_sources->viewport()->installEventFilter(this);

    auto* address = new QGridLayout;
    m_hostLabel = named(new QLabel(QStringLiteral("Telnet Host:"), this), "Label7", QStringLiteral("Telnet host"));
    m_host = named(new QLineEdit(this), "txtTelnetHost", QStringLiteral("Telnet host"));
    m_portLabel = named(new QLabel(QStringLiteral("Telnet Port:"), this), "Label3", QStringLiteral("Telnet port"));
    m_port = named(new QLineEdit(this), "txtTelnetPort", QStringLiteral("Telnet port"));
    m_port->setMaxLength(5);
    m_port->setValidator(new TcpPortValidator(m_port));
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
    // A new device for the TNC's port closes the source, as any port change does.
    common::addPortDeviceRow(serial, m_portGroup, m_portDevices, m_dialogs, QStringLiteral("TNC"), [this] {
        if (!m_loading)
            m_session.close();
    });
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
    // Fixed-width type, so the columns of a cluster's "DX de" lines line up;
    // the size stays the window's, which scaling then enlarges.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!QFontInfo(fixed).fixedPitch()) {
        // A platform without a desktop's font settings names a family it
        // does not have; ask the font matcher for any fixed-width one.
        fixed.setFamilies({QStringLiteral("monospace"), QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Mono")});
        fixed.setStyleHint(QFont::TypeWriter);
        fixed.setFixedPitch(true);
    }
    fixed.setPointSizeF(m_terminalView->font().pointSizeF());
    m_terminalView->setFont(fixed);
    m_terminalView->setUndoRedoEnabled(false);
    page->addWidget(m_terminalView, 1);
}

} // namespace tenlog::spots
