// The rig interface setup window.
#include "rig/ui/RigSetupWindow.h"

#include "common/ui/FormScaling.h"
#include "platform/Dialogs.h"
#include "rig/HexByteText.h"
#include "rig/RigCommander.h"
#include "rig/RigControl.h"
#include "rig/ui/CommandTester.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tenlog::rig {

namespace {

// The option codes in the order of their buttons; a button's id in its group
// is its place here.
const QStringList kParityCodes = {QStringLiteral("O"), QStringLiteral("N"), QStringLiteral("E")};
const QStringList kDataBits = {QStringLiteral("7"), QStringLiteral("8")};
const QStringList kStopBits = {QStringLiteral("1"), QStringLiteral("2")};
const QStringList kPowerCodes = {QStringLiteral("N"), QStringLiteral("R"), QStringLiteral("D")};
const QStringList kPollRateCodes = {QStringLiteral("F"), QStringLiteral("M"), QStringLiteral("S"), QStringLiteral("R")};
const QList<ModeBy> kModeBy = {ModeBy::Rig, ModeBy::Frequency, ModeBy::DontUse};

const QString kNoResponse = QStringLiteral("No Response");

// What the raw display keeps of one reply: enough to read, never so much
// that a noisy radio makes the label (and the window) enormous.
constexpr qsizetype kRawDisplayChars = 512;

// Checks the button with this id and clears the others; -1 clears them all,
// which an exclusive group does not allow by itself.
void selectOnly(QButtonGroup* group, int id)
{
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(group->id(button) == id);
    group->setExclusive(true);
}

int selectedIndex(const QButtonGroup* group)
{
    return group->checkedId();
}

QLabel* makeValueLabel(QWidget* parent, const char* name, const QString& spoken)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText); // what a radio sends is never markup
    label->setAccessibleName(spoken);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QString& spoken)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(spoken);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(caption);
    return box;
}

} // namespace

RigSetupWindow::RigSetupWindow(RigControl& rig, platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_rig(rig)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("RigControlfrm"));
    setWindowTitle(QStringLiteral(" Rig Interface Setup"));
    setAccessibleName(QStringLiteral("Rig interface setup"));
    setModal(false);
    buildControls();
    showSettings();
    pollingStopped();

    connect(&m_rig, &RigControl::rawReceived, this, &RigSetupWindow::showRaw);
    connect(&m_rig, &RigControl::readingChanged, this, &RigSetupWindow::showReading);
    connect(&m_rig, &RigControl::openFailed, this, &RigSetupWindow::openFailed);
    connect(&m_rig, &RigControl::linkFailed, this, &RigSetupWindow::linkFailed);
    // The frequency and mode commands report here whoever asked for them:
    // this window lives as long as a radio can be polled.
    connect(&m_rig.commander(), &RigCommander::failed, this,
            [this](const QString& title, const QString& text) { m_dialogs.message(title, text); });
    common::scaleFormToScreen(this, m_dialogs);
    // Wide enough for every radio's name in the type size scaling chose.
    m_rigList->setMinimumWidth(m_rigList->sizeHintForColumn(0) + 2 * m_rigList->frameWidth()
                               + m_rigList->verticalScrollBar()->sizeHint().width() + 4);
}

QGroupBox* RigSetupWindow::addOptions(const char* frameName, const QString& caption, QButtonGroup*& group,
                                      const QList<std::pair<const char*, QString>>& options, int columns)
{
    auto* frame = new QGroupBox(caption, this);
    frame->setObjectName(QString::fromLatin1(frameName));
    QString spokenFrame = caption;
    spokenFrame.remove(QLatin1Char(':'));
    frame->setAccessibleName(spokenFrame);
    auto* grid = new QGridLayout(frame);
    group = new QButtonGroup(frame);
    int id = 0;
    for (const auto& [name, text] : options) {
        auto* option = new QRadioButton(text, frame);
        option->setObjectName(QString::fromLatin1(name));
        option->setAccessibleName(spokenFrame + QLatin1Char(' ') + text);
        group->addButton(option, id);
        grid->addWidget(option, id / columns, id % columns);
        ++id;
    }
    return frame;
}

void RigSetupWindow::buildControls()
{
    auto* top = new QGridLayout(this);

    auto* listColumn = new QVBoxLayout;
    auto* listCaption = new QLabel(QStringLiteral("Select Rig:"), this);
    m_rigList = new QListWidget(this);
    m_rigList->setObjectName(QStringLiteral("List1"));
    m_rigList->setAccessibleName(QStringLiteral("Select rig"));
    // The list scrolls rather than setting the window's height.
    m_rigList->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    listCaption->setBuddy(m_rigList);
    for (const RigProfile& profile : rigProfiles())
        m_rigList->addItem(profile.name);
    connect(m_rigList, &QListWidget::currentRowChanged, this, &RigSetupWindow::chooseRig);
    listColumn->addWidget(listCaption);
    listColumn->addWidget(m_rigList, 1);
    top->addLayout(listColumn, 0, 0);

    // The port options: any change stops the test, and "Test" reads them.
    auto* options = new QGridLayout;
    options->addWidget(addOptions("fraBaud", QStringLiteral("Baud Rate (k):"), m_baud,
                                  {{"optBaud12", QStringLiteral("1.2")},
                                   {"optBaud24", QStringLiteral("2.4")},
                                   {"optBaud48", QStringLiteral("4.8")},
                                   {"optBaud96", QStringLiteral("9.6")},
                                   {"optBaud144", QStringLiteral("14.4")},
                                   {"optBaud192", QStringLiteral("19.2")},
                                   {"optBaud288", QStringLiteral("28.8")},
                                   {"optBaud384", QStringLiteral("38.4")},
                                   {"optBaud560", QStringLiteral("56")}},
                                  3),
                       0, 0, 1, 2);
    options->addWidget(addOptions("fraParity", QStringLiteral("Parity:"), m_parity,
                                  {{"optParityOdd", QStringLiteral("Odd")},
                                   {"optParityNone", QStringLiteral("None")},
                                   {"optParityEven", QStringLiteral("Even")}}),
                       1, 0);
    auto* bits = new QVBoxLayout;
    bits->addWidget(addOptions("fraData", QStringLiteral("Data Bits:"), m_dataBits,
                               {{"optData7", QStringLiteral("7")}, {"optData8", QStringLiteral("8")}}, 2));
    bits->addWidget(addOptions("fraStop", QStringLiteral("Stop Bits:"), m_stopBits,
                               {{"optStop1", QStringLiteral("1")}, {"optStop2", QStringLiteral("2")}}, 2));
    options->addLayout(bits, 1, 1);
    QList<std::pair<const char*, QString>> ports;
    static const char* const kPortNames[] = {"optComm_0", "optComm_1", "optComm_2", "optComm_3", "optComm_4",
                                             "optComm_5", "optComm_6", "optComm_7", "optComm_8", "optComm_9"};
    for (int i = 0; i < 10; ++i)
        ports.append({kPortNames[i], QString::number(i + 1)});
    options->addWidget(addOptions("fraPort", QStringLiteral("Comm Port:"), m_port, ports, 5), 2, 0, 1, 2);
    options->addWidget(addOptions("fraPower", QStringLiteral("Connection Power:"), m_power,
                                  {{"optPowerNone", QStringLiteral("None")},
                                   {"optPowerRTS", QStringLiteral("RTS")},
                                   {"optPowerDTR", QStringLiteral("DTR")}}),
                       3, 0);
    options->addWidget(addOptions("fraPoll", QStringLiteral("Radio Polling Rate:"), m_pollRate,
                                  {{"optPollFast", QStringLiteral("100 ms")},
                                   {"optPollMed", QStringLiteral("500 ms")},
                                   {"optPollSlow", QStringLiteral("2 Sec")},
                                   {"optReallySlow", QStringLiteral("10 Sec")}}),
                       3, 1);
    for (QButtonGroup* group : {m_baud, m_parity, m_dataBits, m_stopBits, m_port, m_power, m_pollRate})
        connect(group, &QButtonGroup::idClicked, this, &RigSetupWindow::stopPolling);

    // The network rig daemon takes a host and port instead of a serial port.
    m_networkFrame = new QGroupBox(QStringLiteral("Hamlib rigctld:"), this);
    m_networkFrame->setObjectName(QStringLiteral("fraRigctld"));
    m_networkFrame->setAccessibleName(QStringLiteral("Hamlib rigctld address"));
    auto* network = new QHBoxLayout(m_networkFrame);
    m_rigctldHost = new QLineEdit(m_networkFrame);
    m_rigctldHost->setObjectName(QStringLiteral("txtRigctldHost"));
    m_rigctldHost->setAccessibleName(QStringLiteral("rigctld host"));
    m_rigctldPort = new QLineEdit(m_networkFrame);
    m_rigctldPort->setObjectName(QStringLiteral("txtRigctldPort"));
    m_rigctldPort->setAccessibleName(QStringLiteral("rigctld port"));
    m_rigctldPort->setValidator(new QIntValidator(1, 65535, m_rigctldPort));
    network->addWidget(new QLabel(QStringLiteral("Host:"), m_networkFrame));
    network->addWidget(m_rigctldHost, 2);
    network->addWidget(new QLabel(QStringLiteral("Port:"), m_networkFrame));
    network->addWidget(m_rigctldPort, 1);
    for (QLineEdit* box : {m_rigctldHost, m_rigctldPort})
        connect(box, &QLineEdit::textEdited, this, &RigSetupWindow::stopPolling);
    options->addWidget(m_networkFrame, 4, 0, 1, 2);
    top->addLayout(options, 0, 1);

    // Requests, switches and the live display.
    auto* right = new QVBoxLayout;
    auto addQuery = [this, right](const char* name, const QString& caption, const QString& spoken) {
        auto* label = new QLabel(caption, this);
        auto* box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setAccessibleName(spoken);
        label->setBuddy(box);
        box->installEventFilter(this); // entering a request box stops the test
        right->addWidget(label);
        right->addWidget(box);
        return box;
    };
    m_frequencyQuery = addQuery("txtFreq", QStringLiteral("String to read frequency:"),
                                QStringLiteral("String to read frequency"));
    m_modeQuery = addQuery("txtMode", QStringLiteral("String to read mode:"), QStringLiteral("String to read mode"));
    connect(m_frequencyQuery, &QLineEdit::textEdited, this, [this](const QString& text) {
        RigSettings settings = m_rig.settings();
        settings.frequencyQuery = text;
        m_rig.setSettings(settings);
    });
    connect(m_modeQuery, &QLineEdit::textEdited, this, [this](const QString& text) {
        RigSettings settings = m_rig.settings();
        settings.modeQuery = text;
        m_rig.setSettings(settings);
    });

    m_convertToHex = makeCheckBox(this, "chkConvToHex", QStringLiteral("Convert to Hex"));
    m_convertFromHex = makeCheckBox(this, "ChkConvHex", QStringLiteral("Convert from Hex"));
    m_useFrequency = makeCheckBox(this, "chkFrequency", QStringLiteral("Use Frequency"));
    connect(m_convertToHex, &QCheckBox::toggled, this, [this](bool on) {
        m_convertFromHex->setChecked(on);
        RigSettings settings = m_rig.settings();
        settings.convertToHex = on;
        m_rig.setSettings(settings);
    });
    connect(m_useFrequency, &QCheckBox::toggled, &m_rig, &RigControl::setUseFrequency);
    right->addWidget(m_convertToHex);
    right->addWidget(m_convertFromHex);
    right->addWidget(m_useFrequency);

    QGroupBox* modeBy = addOptions("Frame1", QStringLiteral("Mode by:"), m_modeBy,
                                   {{"OptRig", QStringLiteral("Rig")},
                                    {"OptFreq", QStringLiteral("Frequency")},
                                    {"OptDont", QStringLiteral("Don't Use")}},
                                   3);
    connect(m_modeBy, &QButtonGroup::idClicked, this, [this](int id) {
        m_modeLabel->setText(kNoResponse);
        m_rig.clearMode();
        m_rig.setModeBy(kModeBy.value(id, ModeBy::Rig));
    });
    right->addWidget(modeBy);

    auto* display = new QGridLayout;
    m_frequencyLabel = makeValueLabel(this, "lblFreq", QStringLiteral("Frequency"));
    m_modeLabel = makeValueLabel(this, "lblMode", QStringLiteral("Mode"));
    m_rawLabel = makeValueLabel(this, "lblUnProcess", QStringLiteral("Unprocessed data returned"));
    m_rawLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_rawLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    display->addWidget(new QLabel(QStringLiteral("Frequency:"), this), 0, 0);
    display->addWidget(m_frequencyLabel, 0, 1);
    display->addWidget(new QLabel(QStringLiteral("Mode:"), this), 1, 0);
    display->addWidget(m_modeLabel, 1, 1);
    display->addWidget(new QLabel(QStringLiteral("Unprocessed data returned:"), this), 2, 0, 1, 2);
    display->addWidget(m_rawLabel, 3, 0, 1, 2);
    right->addLayout(display);
    m_pollingLabel = new QLabel(QStringLiteral("Polling Rig"), this);
    m_pollingLabel->setObjectName(QStringLiteral("Label2"));
    m_pollingLabel->setAccessibleName(QStringLiteral("Polling rig"));
    right->addWidget(m_pollingLabel);
    right->addStretch(1);
    top->addLayout(right, 0, 2, 2, 1);

    // The buttons stand in a column under the display, so the window stays
    // within a small screen at the scaled type size.
    m_testButton = makeButton(this, "Command1", QStringLiteral("Test"), QStringLiteral("Test: start polling the radio"));
    m_endTestButton = makeButton(this, "Command2", QStringLiteral("End Test"), QStringLiteral("End test: stop polling"));
    m_changeFrequencyButton =
        makeButton(this, "Command3", QStringLiteral("Change Frequency"), QStringLiteral("Change frequency"));
    m_copyButton = makeButton(this, "Command4", QStringLiteral("Copy unprocessed data to clipboard"),
                              QStringLiteral("Copy unprocessed data to clipboard"));
    m_doneButton = makeButton(this, "cmdDone", QStringLiteral("&Done"), QStringLiteral("Done: save and close"));
    m_icomNote = new QLabel(QStringLiteral("Icom radio users will have to replace the 64 in the string with the ID for "
                                           "your particular radio.  Please check your Icom user's manual for details."),
                            this);
    m_icomNote->setObjectName(QStringLiteral("Label10"));
    m_icomNote->setWordWrap(true);
    // Shown for the Icom radios only, in room the column keeps for it, so
    // choosing a radio never changes the window's size.
    QSizePolicy keepRoom = m_icomNote->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_icomNote->setSizePolicy(keepRoom);
    right->addWidget(m_icomNote);
    auto* buttons = new QGridLayout;
    buttons->addWidget(m_testButton, 0, 0);
    buttons->addWidget(m_endTestButton, 0, 1);
    buttons->addWidget(m_changeFrequencyButton, 1, 0);
    buttons->addWidget(m_doneButton, 1, 1);
    buttons->addWidget(m_copyButton, 2, 0, 1, 2);
    right->addLayout(buttons);

    auto* notes = new QVBoxLayout;
    const std::pair<const char*, QString> helpTexts[] = {
        {"Label8", QStringLiteral("To test: choose the radio and its port, then press Test. The frequency and mode "
                                  "the radio reports appear above.")},
        {"Label11", QStringLiteral("Rig control is new. If your radio does not answer, copy the unprocessed data "
                                   "to the clipboard for the developers.")},
        {"Label12", QStringLiteral("A right click on a DX spot tunes the radio to it.")},
    };
    // The help stands under the list and the port options, beside the
    // display column.
    for (const auto& [name, text] : helpTexts) {
        auto* help = new QLabel(text, this);
        help->setObjectName(QString::fromLatin1(name));
        help->setWordWrap(true);
        notes->addWidget(help);
    }
    top->addLayout(notes, 1, 0, 1, 2);
    connect(m_testButton, &QPushButton::clicked, this, &RigSetupWindow::startPolling);
    connect(m_endTestButton, &QPushButton::clicked, this, &RigSetupWindow::stopPolling);
    connect(m_copyButton, &QPushButton::clicked, this, &RigSetupWindow::copyRawText);
    connect(m_changeFrequencyButton, &QPushButton::clicked, this, &RigSetupWindow::openCommandTester);
    connect(m_doneButton, &QPushButton::clicked, this, &RigSetupWindow::saveAndHide);
}

void RigSetupWindow::loadSettings()
{
    m_rig.loadSettings();
    showSettings();
}

void RigSetupWindow::showSettings()
{
    const RigSettings& settings = m_rig.settings();
    m_loading = true; // showing the stored radio must not apply its profile
    const QList<QListWidgetItem*> named = m_rigList->findItems(settings.rigName, Qt::MatchExactly);
    m_rigList->setCurrentRow(named.isEmpty() ? -1 : m_rigList->row(named.front()));
    m_loading = false;

    m_convertToHex->setChecked(settings.convertToHex);
    m_useFrequency->setChecked(settings.useFrequency);
    selectOnly(m_modeBy, static_cast<int>(kModeBy.indexOf(settings.modeBy)));
    m_frequencyQuery->setText(settings.frequencyQuery);
    m_modeQuery->setText(settings.modeQuery);
    m_rigctldHost->setText(settings.rigctldHost);
    m_rigctldPort->setText(QString::number(settings.rigctldPort));

    const int port = settings.commPortNumber;
    selectOnly(m_port, port >= 1 && port <= 10 ? port - 1 : -1);
    // A stored rate that no option shows leaves them all clear, and "Test" keeps it.
    selectOnly(m_baud, static_cast<int>(kRigBaudRates.indexOf(settings.baudRate.trimmed())));
    selectOnly(m_parity, static_cast<int>(kParityCodes.indexOf(settings.parityCode)));
    selectOnly(m_dataBits, static_cast<int>(kDataBits.indexOf(settings.dataBits)));
    selectOnly(m_stopBits, static_cast<int>(kStopBits.indexOf(settings.stopBits)));
    selectOnly(m_power, static_cast<int>(kPowerCodes.indexOf(settings.powerCode)));
    selectOnly(m_pollRate, static_cast<int>(kPollRateCodes.indexOf(settings.pollRateCode)));
    showProfileControls();
}

void RigSetupWindow::showProfileControls()
{
    const RigProfile* profile = findRigProfile(m_rig.settings().rigName);
    m_convertToHex->setEnabled(profile && profile->hexBoxAvailable);
    m_icomNote->setVisible(profile && profile->showsIcomAddressNote);
    const bool network = profile && profile->requestScheme == RequestScheme::Rigctld;
    m_networkFrame->setEnabled(network);
}

RigSettings RigSetupWindow::settingsFromControls() const
{
    RigSettings settings = m_rig.settings();
    if (const int port = selectedIndex(m_port); port >= 0)
        settings.commPortNumber = port + 1;
    if (const int baud = selectedIndex(m_baud); baud >= 0)
        settings.baudRate = fixedWidth(kRigBaudRates.at(baud), 5);
    if (const int parity = selectedIndex(m_parity); parity >= 0)
        settings.parityCode = kParityCodes.at(parity);
    if (const int dataBits = selectedIndex(m_dataBits); dataBits >= 0)
        settings.dataBits = kDataBits.at(dataBits);
    if (const int stop = selectedIndex(m_stopBits); stop >= 0)
        settings.stopBits = kStopBits.at(stop);
    settings.commSettings = commSettingsText(settings);
    if (const int power = selectedIndex(m_power); power >= 0)
        settings.powerCode = kPowerCodes.at(power);
    if (const int rate = selectedIndex(m_pollRate); rate >= 0)
        settings.pollRateCode = kPollRateCodes.at(rate);
    settings.frequencyQuery = m_frequencyQuery->text();
    settings.modeQuery = m_modeQuery->text();
    settings.convertToHex = m_convertToHex->isChecked();
    settings.useFrequency = m_useFrequency->isChecked();
    if (const int modeBy = selectedIndex(m_modeBy); modeBy >= 0)
        settings.modeBy = kModeBy.at(modeBy);
    settings.rigctldHost = m_rigctldHost->text().trimmed();
    bool portOk = false;
    const uint daemonPort = m_rigctldPort->text().toUInt(&portOk);
    if (portOk && daemonPort >= 1 && daemonPort <= 65535)
        settings.rigctldPort = static_cast<quint16>(daemonPort);
    return settings;
}

void RigSetupWindow::chooseRig(int row)
{
    if (m_loading || row < 0)
        return;
    stopPolling();
    const RigProfile* profile = findRigProfile(m_rigList->item(row)->text());
    if (!profile)
        return;
    // The profile's "as before" options keep what the operator has chosen.
    RigSettings settings = settingsFromControls();
    applyRigProfile(settings, *profile);
    m_rig.setSettings(settings);
    showSettings();
}

void RigSetupWindow::startPolling()
{
    const bool radio = !isNoRig(m_rig.settings().rigName);
    if (radio) {
        m_modeLabel->setText(kNoResponse);
        m_frequencyLabel->setText(kNoResponse);
        m_endTestButton->setEnabled(true);
        m_pollingLabel->show();
        m_rig.clearMode();
    }
    m_rig.setSettings(settingsFromControls());
    if (!radio)
        return;
    if (!m_rig.start())
        pollingStopped();
}

void RigSetupWindow::stopPolling()
{
    m_modeLabel->clear();
    m_frequencyLabel->clear();
    m_rawLabel->clear();
    m_rig.stop();
    pollingStopped();
}

void RigSetupWindow::pollingStopped()
{
    m_pollingLabel->hide();
    m_endTestButton->setEnabled(false);
}

void RigSetupWindow::closeLink()
{
    m_rig.closeLink();
    pollingStopped();
}

void RigSetupWindow::saveAndHide()
{
    if (!isNoRig(m_rig.settings().rigName))
        startPolling();
    else
        m_rig.setSettings(settingsFromControls());
    emit rigChosen(m_rig.settings().rigName);
    QString error;
    if (!m_rig.saveSettings(&error)) {
        m_dialogs.beep();
        m_dialogs.message(QStringLiteral("Unable to write file."), error, platform::MessageIcon::Critical);
    }
    hide();
}

void RigSetupWindow::openCommandTester()
{
    if (!m_rig.isPolling()) {
        const QString text = QStringLiteral("You must be polling your rig to test this function.");
        m_dialogs.message(text,
                          text + QStringLiteral("  Please select your rig type and click the Test command button."),
                          platform::MessageIcon::Information);
        return;
    }
    CommandTester tester(m_rig, m_dialogs, this);
    m_dialogs.runModal(&tester);
}

void RigSetupWindow::copyRawText()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->clear();
        clipboard->setText(m_rawLabel->text());
    }
    m_doneButton->setFocus();
}

void RigSetupWindow::showRaw(const QByteArray& bytes)
{
    if (!isVisible())
        return;
    m_rawLabel->setText(rawDisplayText(bytes.left(kRawDisplayChars), m_convertFromHex->isChecked()));
}

void RigSetupWindow::showReading(float frequencyMHz, const QString& mode)
{
    if (!isVisible())
        return;
    if (frequencyMHz > 0)
        m_frequencyLabel->setText(frequencyDisplayText(frequencyMHz));
    m_modeLabel->setText(mode);
}

void RigSetupWindow::openFailed(const QString& reason)
{
    pollingStopped();
    m_dialogs.beep();
    m_dialogs.message(QStringLiteral("Invalid Comm Settings."),
                      QStringLiteral("The comm port that you selected for rig interface is either in use, invalid or "
                                     "the settings that you have selected are invalid.  Please select another "
                                     "combination or choose None for your rig selection.")
                          + (reason.isEmpty() ? QString() : QStringLiteral("\n\n") + reason),
                      platform::MessageIcon::Information);
    // Shown so the operator can put it right at once.
    if (!isVisible())
        m_dialogs.runModal(this);
}

void RigSetupWindow::linkFailed(const QString& reason)
{
    pollingStopped();
    m_dialogs.beep();
    m_dialogs.message(QStringLiteral("Rig Link Lost"),
                      reason + QStringLiteral("\n\nPolling has stopped. Check the radio and its connection, then "
                                              "press Test in the Rig Interface window (Ctrl+R)."),
                      platform::MessageIcon::Warning);
}

void RigSetupWindow::closeEvent(QCloseEvent* event)
{
    // Closed from the title bar: the link ends as at program exit.
    closeLink();
    QDialog::closeEvent(event);
}

bool RigSetupWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_frequencyQuery || watched == m_modeQuery))
        stopPolling();
    return QDialog::eventFilter(watched, event);
}

} // namespace tenlog::rig
