#include "cw/ui/WinKeySetupWindow.h"

#include "common/ui/NamedWidget.h"
#include "common/ui/PortDeviceRow.h"
#include "common/ui/ScreenFit.h"
#include "cw/WinKeySettings.h"
#include "cw/WinKeyStation.h"
#include "platform/Dialogs.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace tenlog::cw {

namespace {

struct Option {
    const char* name;
    const char* caption;
    int value;
};

const Option modeOptions[] = {
    {"optBug", "Bug Keyer", winKeyMode::bug},
    {"optIambicA", "Iambic A", winKeyMode::iambicA},
    {"optIambicB", "Iambic B", winKeyMode::iambicB},
    {"optUltimatic", "Ultimatic", winKeyMode::ultimatic},
};

const Option pinOptions[] = {
    {"optKey5Out3Off", "P5 Key Out, P3 Off", winKeyPins::p5KeyP3Off},
    {"optKey5Off3Out", "P5 Off, P3 Key Out", winKeyPins::p5OffP3Key},
    {"optTone", "Tone", winKeyPins::tone},
    {"optPTT", "PTT", winKeyPins::ptt},
};

QLineEdit* digitsBox(QWidget* parent, const char* name, const QString& spoken)
{
    auto* edit = common::named(new QLineEdit(parent), QLatin1String(name), spoken);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    return edit;
}

QLineEdit* display(QWidget* parent, const char* name, const QString& spoken)
{
    auto* edit = common::named(new QLineEdit(parent), QLatin1String(name), spoken);
    edit->setReadOnly(true);
    return edit;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& spoken)
{
    auto* b = common::named(new QPushButton(caption, parent), QLatin1String(name), spoken);
    // Enter in a field must not open the keyer again or start a test.
    b->setAutoDefault(false);
    return b;
}

QGroupBox* options(QWidget* parent, const char* name, const QString& title, const Option (&rows)[4],
                   std::array<QRadioButton*, 4>& buttons, const std::function<void(int)>& chosen)
{
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(frame);
    auto* group = new QButtonGroup(frame);
    for (size_t i = 0; i < 4; ++i) {
        buttons[i] = common::named(new QRadioButton(QString::fromLatin1(rows[i].caption), frame),
                                   QLatin1String(rows[i].name), title + QStringLiteral(": ") + QString::fromLatin1(rows[i].caption));
        group->addButton(buttons[i]);
        layout->addWidget(buttons[i]);
        const int value = rows[i].value;
        QObject::connect(buttons[i], &QRadioButton::toggled, frame, [value, chosen](bool on) {
            if (on)
                chosen(value);
        });
    }
    return frame;
}

} // namespace

WinKeySetupWindow::WinKeySetupWindow(WinKeyStation& station, platform::Dialogs& dialogs,
                                     common::PortDevices* portDevices, std::function<QString()> ownCall,
                                     QWidget* parent)
    : QDialog(parent)
    , m_station(station)
    , m_dialogs(dialogs)
    , m_portDevices(portDevices)
    , m_ownCall(std::move(ownCall))
{
    setObjectName(QStringLiteral("frmWinKey"));
    setWindowTitle(QStringLiteral(" WinKey Setup"));
    setAccessibleName(QStringLiteral("WinKey setup"));
    build();
    connect(&m_station, &WinKeyStation::settingsChanged, this, [this] {
        if (!m_showing)
            showSettings();
    });
    connect(&m_station, &WinKeyStation::statusTextChanged, m_openStatus, &QLabel::setText);
    connect(&m_station, &WinKeyStation::versionTextChanged, m_version, &QLabel::setText);
    connect(&m_station, &WinKeyStation::keyerChanged, this, &WinKeySetupWindow::showLiveValues);
    connect(&m_station, &WinKeyStation::openFinished, this, [this](bool opened) {
        showLiveValues();
        if (opened && isVisible())
            m_done->setFocus();
    });
    common::keepOnScreen(this);
}

void WinKeySetupWindow::build()
{
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    m_port = digitsBox(this, "txtWKComPort", QStringLiteral("WinKey serial port number"));
    m_wpm = digitsBox(this, "txtWKWPM", QStringLiteral("WinKey speed in words per minute"));
    m_weight = digitsBox(this, "txtWeight", QStringLiteral("Weighting"));
    m_leadIn = digitsBox(this, "txtLeadIn", QStringLiteral("PTT lead in, 10 millisecond steps"));
    m_tail = digitsBox(this, "txtTail", QStringLiteral("PTT tail, 10 millisecond steps"));
    m_ratio = digitsBox(this, "txtRatio", QStringLiteral("Dit to dah ratio"));
    const struct {
        const char* caption;
        QLineEdit* edit;
        const char* note;
    } rows[] = {
        {"Com Port:", m_port, ""},
        {"WPM:", m_wpm, ""},
        {"Weight:", m_weight, "Proportional amount added or subtracted (50 is standard)."},
        {"Lead In:", m_leadIn, "Lead in time for transmitter (10 ms increments)."},
        {"Tail:", m_tail, "Tail time after keying has stopped (10 ms increments)."},
        {"Ratio:", m_ratio, "Ratio of dits to dahs (Range: 33 - 66)."},
    };
    int row = 0;
    for (const auto& r : rows) {
        auto* label = new QLabel(QString::fromLatin1(r.caption), this);
        label->setBuddy(r.edit);
        fields->addWidget(label, row, 0);
        fields->addWidget(r.edit, row, 1);
        if (*r.note) {
            auto* note = new QLabel(QString::fromLatin1(r.note), this);
            note->setWordWrap(true);
            r.edit->setAccessibleDescription(note->text());
            fields->addWidget(note, row, 2);
        }
        r.edit->installEventFilter(this);
        ++row;
    }
    fields->setColumnStretch(2, 1);
    layout->addLayout(fields);
    common::addPortDeviceRow(layout, m_port, m_portDevices, m_dialogs, QStringLiteral("WinKey"), [this] {
        // The keyer opens on the newly mapped device at the next Open.
        if (m_station.isOpen())
            m_station.close();
    });

    auto* choices = new QHBoxLayout;
    choices->addWidget(options(this, "fraMode", QStringLiteral("Keyer Mode"), modeOptions, m_modes, [this](int value) {
        if (!m_showing)
            m_station.chooseMode(value);
    }));
    choices->addWidget(options(this, "fraPins", QStringLiteral("Pin 5 Configuration"), pinOptions, m_pins,
                               [this](int value) {
                                   if (!m_showing)
                                       m_station.choosePinConfig(value);
                               }));
    layout->addLayout(choices);

    auto* state = new QGridLayout;
    m_openStatus = common::named(new QLabel(QStringLiteral("Closed"), this), QStringLiteral("lblOpenStatus"),
                                 QStringLiteral("WinKey open status"));
    m_version = common::named(new QLabel(QStringLiteral("Version #"), this), QStringLiteral("lblVersion"),
                              QStringLiteral("WinKey version"));
    auto* versionCaption = new QLabel(QStringLiteral("WinKey Version:"), this);
    auto* open = button(this, "cmdOpenWinkey", QStringLiteral("Open"), QStringLiteral("Open the WinKey keyer"));
    auto* close = button(this, "cmdCloseWinkey", QStringLiteral("Close"), QStringLiteral("Close the WinKey keyer"));
    state->addWidget(open, 0, 0);
    state->addWidget(close, 0, 1);
    state->addWidget(m_openStatus, 0, 2);
    state->addWidget(versionCaption, 1, 0, 1, 2);
    state->addWidget(m_version, 1, 2);
    m_keyerStatus = display(this, "txtStatus", QStringLiteral("Keyer status"));
    m_speedPot = display(this, "txtSpeedPot", QStringLiteral("Speed pot"));
    m_echo = display(this, "txtEcho", QStringLiteral("Echo back: what the keyer sent"));
    const std::pair<const char*, QLineEdit*> live[] = {{"Status", m_keyerStatus}, {"Speed Pot", m_speedPot}, {"Echo Bk", m_echo}};
    int liveRow = 2;
    for (const auto& [caption, edit] : live) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setBuddy(edit);
        state->addWidget(label, liveRow, 0, 1, 2);
        state->addWidget(edit, liveRow, 2);
        ++liveRow;
    }
    layout->addLayout(state);
    connect(open, &QPushButton::clicked, this, [this] {
        pushFields();
        m_station.open();
    });
    connect(close, &QPushButton::clicked, this, [this] {
        m_station.close();
        if (isVisible())
            m_done->setFocus();
    });

    auto* typingLabel = new QLabel(QStringLiteral("Type here to send straight to the keyer:"), this);
    m_typing = common::named(new QLineEdit(this), QStringLiteral("Text1"), QStringLiteral("Type to send to the keyer"));
    typingLabel->setBuddy(m_typing);
    m_typing->installEventFilter(this);
    layout->addWidget(typingLabel);
    layout->addWidget(m_typing);
    auto* note = new QLabel(QStringLiteral("Up / down arrows from main form change speeds."), this);
    note->setAccessibleName(note->text());
    layout->addWidget(note);

    auto* buttons = new QHBoxLayout;
    auto* test = button(this, "Command3", QStringLiteral("Test"), QStringLiteral("Test: send VVV TEST and the call"));
    auto* bufferTest = button(this, "Command1", QStringLiteral("Buffer Test"), QStringLiteral("Buffer test: the alphabet three times"));
    auto* stop = button(this, "cmdStop", QStringLiteral("Stop"), QStringLiteral("Stop sending"));
    m_done = button(this, "cmdDone", QStringLiteral("&Done"), QStringLiteral("Done"));
    m_done->setDefault(true);
    for (QPushButton* b : {test, bufferTest, stop})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(m_done);
    layout->addLayout(buttons);
    connect(test, &QPushButton::clicked, this, [this] {
        m_station.sendTest(m_ownCall ? m_ownCall() : QString());
        m_done->setFocus();
    });
    connect(bufferTest, &QPushButton::clicked, this, [this] { m_station.sendBufferTest(); });
    connect(stop, &QPushButton::clicked, this, [this] {
        m_station.stop();
        m_done->setFocus();
    });
    connect(m_done, &QPushButton::clicked, this, &WinKeySetupWindow::finish);
}

void WinKeySetupWindow::showSettings()
{
    m_showing = true;
    const WinKeySettings& s = m_station.settings();
    m_port->setText(QString::number(s.port));
    m_wpm->setText(s.wpm);
    m_weight->setText(s.weight);
    m_leadIn->setText(s.leadIn);
    m_tail->setText(s.tail);
    m_ratio->setText(s.ratio);
    for (size_t i = 0; i < 4; ++i) {
        if (modeOptions[i].value == s.mode)
            m_modes[i]->setChecked(true);
        if (pinOptions[i].value == s.pinConfig)
            m_pins[i]->setChecked(true);
    }
    m_openStatus->setText(m_station.statusText());
    m_version->setText(m_station.versionText());
    showLiveValues();
    m_showing = false;
}

void WinKeySetupWindow::showLiveValues()
{
    m_keyerStatus->setText(m_station.keyerStatusText());
    m_speedPot->setText(m_station.speedPotText());
    m_echo->setText(m_station.echoText());
    m_echo->setCursorPosition(int(m_echo->text().size()));
}

void WinKeySetupWindow::pushFields()
{
    WinKeySettings s = m_station.settings();
    s.wpm = m_wpm->text();
    s.weight = m_weight->text();
    s.leadIn = m_leadIn->text();
    s.tail = m_tail->text();
    s.ratio = m_ratio->text();
    m_showing = true;
    m_station.setSettings(s);
    m_station.portLeft(m_port->text());
    m_showing = false;
}

bool WinKeySetupWindow::finish()
{
    pushFields();
    QString error;
    const bool saved = m_station.save(&error);
    hide();
    if (!saved)
        m_dialogs.message(QStringLiteral("WinKey settings"), QStringLiteral("WK.txt could not be written: ") + error,
                          platform::MessageIcon::Critical);
    return saved;
}

bool WinKeySetupWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_wpm)
            m_station.wpmLeft(m_wpm->text());
        else if (watched == m_weight)
            m_station.weightLeft(m_weight->text());
        else if (watched == m_ratio)
            m_station.ratioLeft(m_ratio->text());
        else if (watched == m_leadIn)
            m_station.leadInLeft(m_leadIn->text(), m_tail->text());
        else if (watched == m_tail)
            m_station.tailLeft(m_leadIn->text(), m_tail->text());
        else if (watched == m_port)
            m_station.portLeft(m_port->text());
    } else if (event->type() == QEvent::KeyPress && watched == m_typing) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Enter has no Morse and must not close the window under the typist.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            return true;
        const QString text = key->text();
        if (text.size() == 1 && text.at(0).unicode() > 13 && text.at(0).unicode() < 0x7F) {
            const QChar upper = text.at(0).toUpper();
            m_station.typed(upper);
            m_typing->insert(QString(upper));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tenlog::cw
