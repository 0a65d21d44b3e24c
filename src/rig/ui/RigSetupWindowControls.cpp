// The rig interface setup window's controls: every frame, option, box,
// label and button, laid out and connected.
#include "rig/ui/RigSetupWindow.h"

#include "common/ui/FormScaling.h"
#include "platform/Dialogs.h"
#include "common/ui/PortDeviceRow.h"
#include "rig/HexByteText.h"
#include "rig/RigCommander.h"
#include "rig/RigControl.h"
#include "rig/ui/CommandTester.h"
#include "rig/ui/HamlibRadioFrame.h"

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
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tenlog::rig {

namespace {

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
    // They stand on one page, and the rigctld choice on another, as the
    // chosen radio needs.
    auto* serialPage = new QWidget(this);
    auto* serial = new QGridLayout(serialPage);
    serial->setContentsMargins(0, 0, 0, 0);
    serial->addWidget(addOptions("fraBaud", QStringLiteral("Baud Rate (k):"), m_baud,
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
    serial->addWidget(addOptions("fraParity", QStringLiteral("Parity:"), m_parity,
                                 {{"optParityOdd", QStringLiteral("Odd")},
                                  {"optParityNone", QStringLiteral("None")},
                                  {"optParityEven", QStringLiteral("Even")}}),
                      1, 0);
    auto* bits = new QVBoxLayout;
    bits->addWidget(addOptions("fraData", QStringLiteral("Data Bits:"), m_dataBits,
                               {{"optData7", QStringLiteral("7")}, {"optData8", QStringLiteral("8")}}, 2));
    bits->addWidget(addOptions("fraStop", QStringLiteral("Stop Bits:"), m_stopBits,
                               {{"optStop1", QStringLiteral("1")}, {"optStop2", QStringLiteral("2")}}, 2));
    serial->addLayout(bits, 1, 1);
    QList<std::pair<const char*, QString>> ports;
    static const char* const kPortNames[] = {"optComm_0", "optComm_1", "optComm_2", "optComm_3", "optComm_4",
                                             "optComm_5", "optComm_6", "optComm_7", "optComm_8", "optComm_9"};
    for (int i = 0; i < 10; ++i)
        ports.append({kPortNames[i], QString::number(i + 1)});
    QGroupBox* portFrame = addOptions("fraPort", QStringLiteral("Comm Port:"), m_port, ports, 5);
    // A new device for the port ends the test, as any port change does.
    common::addPortDeviceRow(portFrame->layout(), m_port, m_portDevices, m_dialogs, QStringLiteral("rig"),
                             [this] { stopPolling(); });
    serial->addWidget(portFrame, 2, 0, 1, 2);
    serial->addWidget(addOptions("fraPower", QStringLiteral("Connection Power:"), m_power,
                                 {{"optPowerNone", QStringLiteral("None")},
                                  {"optPowerRTS", QStringLiteral("RTS")},
                                  {"optPowerDTR", QStringLiteral("DTR")}},
                                 3),
                      3, 0, 1, 2);
    serial->setRowStretch(4, 1);

    m_hamlibFrame = new HamlibRadioFrame(m_rig.hamlibModels(), m_portDevices ? &m_portDevices->devices : nullptr, this);
    connect(m_hamlibFrame, &HamlibRadioFrame::changed, this, &RigSetupWindow::stopPolling);

    m_linkPages = new QStackedWidget(this);
    m_linkPages->setObjectName(QStringLiteral("stkRigLink"));
    m_linkPages->addWidget(serialPage);
    m_linkPages->addWidget(m_hamlibFrame);
    auto* options = new QVBoxLayout;
    options->addWidget(m_linkPages, 1);
    options->addWidget(addOptions("fraPoll", QStringLiteral("Radio Polling Rate:"), m_pollRate,
                                  {{"optPollFast", QStringLiteral("100 ms")},
                                   {"optPollMed", QStringLiteral("500 ms")},
                                   {"optPollSlow", QStringLiteral("2 Sec")},
                                   {"optReallySlow", QStringLiteral("10 Sec")}},
                                  4));
    for (QButtonGroup* group : {m_baud, m_parity, m_dataBits, m_stopBits, m_port, m_power, m_pollRate})
        connect(group, &QButtonGroup::idClicked, this, &RigSetupWindow::stopPolling);
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
    connect(m_modeBy, &QButtonGroup::idClicked, this, &RigSetupWindow::chooseModeBy);
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

} // namespace tenlog::rig
