// The rig interface setup window.
#include "rig/ui/RigSetupWindow.h"

#include "common/ui/FormScaling.h"
#include "platform/Dialogs.h"
#include "rig/HexByteText.h"
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

} // namespace

RigSetupWindow::RigSetupWindow(RigControl& rig, platform::Dialogs& dialogs, common::PortDevices* portDevices,
                               QWidget* parent)
    : QDialog(parent)
    , m_rig(rig)
    , m_dialogs(dialogs)
    , m_portDevices(portDevices)
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
    // How the rigctld link stands, beside the rigctld choice: a daemon that
    // will not start is seen where it is chosen.
    connect(&m_rig, &RigControl::statusChanged, this, [this](const common::LinkStatus& status) {
        if (usesRigctld() && m_rig.isRunning() && !status.text.isEmpty())
            m_hamlibFrame->say(status.detail.isEmpty() ? status.text : status.text + QStringLiteral(". ") + status.detail);
    });
    common::scaleFormToScreen(this, m_dialogs);
    // Wide enough for every radio's name in the type size scaling chose.
    m_rigList->setMinimumWidth(m_rigList->sizeHintForColumn(0) + 2 * m_rigList->frameWidth()
                               + m_rigList->verticalScrollBar()->sizeHint().width() + 4);
}

void RigSetupWindow::chooseModeBy(int id)
{
    m_modeLabel->setText(kNoResponse);
    m_rig.clearMode();
    m_rig.setModeBy(kModeBy.value(id, ModeBy::Rig));
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
    m_hamlibFrame->showSettings(settings);

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
    const bool network = usesRigctld();
    m_hamlibFrame->setEnabled(network);
    m_linkPages->setCurrentIndex(network ? 1 : 0);
}

bool RigSetupWindow::usesRigctld() const
{
    const RigProfile* profile = findRigProfile(m_rig.settings().rigName);
    return profile && profile->requestScheme == RequestScheme::Rigctld;
}

bool RigSetupWindow::rigctldChoiceReady()
{
    // A rigctld to start needs its model first; said beside the choice.
    const QString problem = usesRigctld() ? m_hamlibFrame->choiceProblem() : QString();
    if (problem.isEmpty())
        return true;
    m_hamlibFrame->say(problem);
    m_dialogs.beep();
    return false;
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
    m_hamlibFrame->takeInto(settings);
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
    startPollingWith(StartMode::ReportFailure);
}

void RigSetupWindow::startPollingAtLoad()
{
    startPollingWith(StartMode::KeepTrying);
}

void RigSetupWindow::startPollingWith(StartMode mode)
{
    if (!rigctldChoiceReady())
        return;
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
    m_rig.start(mode);
    // A link that is being tried again still counts as polling: "End Test"
    // is how the operator stops the retries.
    if (!m_rig.isRunning())
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
    // Not closed on a choice that cannot be tried: the operator would not see why.
    if (!rigctldChoiceReady())
        return;
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
    // Said here only while the operator is looking at this window (Test or
    // Done was pressed in it); a window never opens by itself.
    if (!isVisible())
        return;
    m_dialogs.beep();
    // rigctld has no comm port here: its reason goes beside its choice.
    if (usesRigctld()) {
        m_hamlibFrame->say(reason);
        return;
    }
    m_dialogs.message(QStringLiteral("Invalid Comm Settings."),
                      QStringLiteral("The comm port that you selected for rig interface is either in use, invalid or "
                                     "the settings that you have selected are invalid.  Please select another "
                                     "combination or choose None for your rig selection.")
                          + (reason.isEmpty() ? QString() : QStringLiteral("\n\n") + reason),
                      platform::MessageIcon::Information);
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
