// The tuning panel.
#include "rig/ui/TuningPanel.h"

#include "common/ui/FormScaling.h"
#include "rig/RigCommander.h"
#include "rig/RigControl.h"
#include "rig/TuningSteps.h"
#include "text/NumberText.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tenlog::rig {

namespace {

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, const QString& spoken)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(spoken);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* makeBox(QWidget* parent, const char* name, const QString& caption, QGridLayout* grid, int row,
                   int column)
{
    auto* label = new QLabel(caption, parent);
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    QString spoken = caption;
    spoken.remove(u':');
    box->setAccessibleName(spoken);
    label->setBuddy(box);
    grid->addWidget(label, row, column);
    grid->addWidget(box, row, column + 1);
    return box;
}

} // namespace

TuningPanel::TuningPanel(RigControl& rig, platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_rig(rig)
{
    setObjectName(QStringLiteral("frmRigTune"));
    setWindowTitle(QStringLiteral(" Change Frequency and Mode (Ctrl G (Go))"));
    setAccessibleName(QStringLiteral("Change frequency and mode"));
    buildControls();
    // With the radio's frequency in the box the step buttons work at once.
    if (const std::optional<float> current = m_rig.currentFrequencyMHz())
        m_frequency->setText(radioFrequencyText(*current));
    frequencyEdited(m_frequency->text());
    // While the panel is open its message line is where the operator looks.
    connect(&m_rig, &RigControl::trouble, this, &TuningPanel::say);
    m_scanTimer.setInterval(kScanTickMs);
    connect(&m_scanTimer, &QTimer::timeout, this, &TuningPanel::scanTick);
    m_scanTimer.start();
    common::scaleFormToScreen(this, dialogs);
}

void TuningPanel::buildControls()
{
    auto* top = new QVBoxLayout(this);
    auto* entry = new QGridLayout;
    m_frequency = makeBox(this, "txtFreq", QStringLiteral("Frequency in MHz:"), entry, 0, 0);
    m_go = makeButton(this, QStringLiteral("Command1"), QStringLiteral("&Go"), QStringLiteral("Go to the frequency"));
    entry->addWidget(m_go, 0, 2);
    top->addLayout(entry);
    connect(m_go, &QPushButton::clicked, this, &TuningPanel::go);
    connect(m_frequency, &QLineEdit::textChanged, this, &TuningPanel::frequencyEdited);

    auto* bands = new QGridLayout;
    const auto presets = bandPresets();
    for (int i = 0; i < int(presets.size()); ++i) {
        const QString caption = QString::fromLatin1(presets[i].caption);
        QPushButton* button = makeButton(this, QStringLiteral("cmdBand_%1").arg(i), caption,
                                         QStringLiteral("Band %1").arg(caption));
        connect(button, &QPushButton::clicked, this, [this, i] { chooseBand(i); });
        bands->addWidget(button, i / 8, i % 8);
    }
    top->addLayout(bands);

    auto* steps = new QGridLayout;
    steps->addWidget(new QLabel(QStringLiteral(" UP"), this), 0, 0);
    steps->addWidget(new QLabel(QStringLiteral(" Down"), this), 1, 0);
    const auto stepList = stepPresets();
    for (int i = 0; i < int(stepList.size()); ++i) {
        const QString caption = QString::fromLatin1(stepList[i].caption);
        QPushButton* button = makeButton(this, QStringLiteral("cmdTune_%1").arg(i), caption,
                                         QStringLiteral("%1 %2").arg(i % 2 == 0 ? u"Up" : u"Down", caption));
        connect(button, &QPushButton::clicked, this, [this, i] { step(i); });
        steps->addWidget(button, i % 2, 1 + i / 2);
        m_stepButtons.append(button);
    }
    top->addLayout(steps);

    auto* modes = new QHBoxLayout;
    const std::pair<const char*, const char*> modeButtons[] = {{"cmdLSB", "LSB"}, {"cmdUSB", "USB"},
                                                               {"cmdCW", "CW"},   {"cmdAM", "AM"},
                                                               {"cmdFM", "FM"},   {"cmdRTTY", "RTTY"}};
    for (const auto& [name, mode] : modeButtons) {
        const QString modeName = QString::fromLatin1(mode);
        QPushButton* button = makeButton(this, QString::fromLatin1(name), u'&' + modeName,
                                         QStringLiteral("Mode %1").arg(modeName));
        connect(button, &QPushButton::clicked, this, [this, modeName] { setMode(modeName); });
        modes->addWidget(button);
    }
    top->addLayout(modes);

    auto* scan = new QGridLayout;
    m_scan = new QCheckBox(QStringLiteral("Scan"), this);
    m_scan->setObjectName(QStringLiteral("chkScan"));
    m_scan->setAccessibleName(QStringLiteral("Scan"));
    connect(m_scan, &QCheckBox::clicked, this, &TuningPanel::scanSwitched);
    scan->addWidget(m_scan, 0, 0);
    m_from = makeBox(this, "txtFrom", QStringLiteral("From:"), scan, 0, 1);
    m_to = makeBox(this, "txtTo", QStringLiteral("To:"), scan, 0, 3);
    m_from->setText(QStringLiteral("1.8"));
    m_to->setText(QStringLiteral("54"));
    m_from->setAccessibleName(QStringLiteral("Scan from, MHz"));
    m_to->setAccessibleName(QStringLiteral("Scan to, MHz"));
    auto* frame = new QGroupBox(QStringLiteral("Scan Steps"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setAccessibleName(QStringLiteral("Scan steps"));
    auto* frameLayout = new QHBoxLayout(frame);
    m_scanSteps = new QButtonGroup(frame);
    static const char* const kOptionNames[] = {"Option5", "Option1", "Option2", "Option3", "Option4"};
    const auto scanList = scanSteps();
    for (int i = 0; i < int(scanList.size()); ++i) {
        const QString caption = QString::fromLatin1(scanList[i].caption);
        auto* option = new QRadioButton(caption, frame);
        option->setObjectName(QString::fromLatin1(kOptionNames[i]));
        option->setAccessibleName(QStringLiteral("Scan step %1").arg(caption));
        m_scanSteps->addButton(option, i);
        frameLayout->addWidget(option);
    }
    m_scanSteps->button(kDefaultScanStep)->setChecked(true);
    scan->addWidget(frame, 1, 0, 1, 5);
    top->addLayout(scan);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("tuningMessage"));
    m_message->setAccessibleName(QStringLiteral("Tuning message"));
    m_message->setWordWrap(true);
    top->addWidget(m_message);

    m_done = makeButton(this, QStringLiteral("cmdDone"), QStringLiteral("&Done"), QStringLiteral("Done"));
    connect(m_done, &QPushButton::clicked, this, &QDialog::accept);
    top->addWidget(m_done, 0, Qt::AlignRight);

    // The window sees every key first: any key stops a scan.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void TuningPanel::go()
{
    const QString text = m_frequency->text();
    if (!text::isNumeric(text)) {
        say(QStringLiteral("Type the frequency in MHz first."));
        return;
    }
    if (isNoRig(m_rig.runningSettings().rigName) || !m_rig.isRunning()) {
        say(QStringLiteral("No radio link is running: nothing was sent. Set one up under Rig Interface."));
        return;
    }
    m_message->clear();
    m_message->setAccessibleName(QStringLiteral("Tuning message"));
    m_rig.commander().tuneTo(text::valSingle(text));
}

void TuningPanel::chooseBand(int index)
{
    m_frequency->setText(bandFrequencyText(bandPresets()[index].megahertz));
    go();
}

void TuningPanel::step(int index)
{
    const std::optional<QString> stepped = steppedFrequencyText(m_frequency->text(), stepPresets()[index].stepMHz);
    if (!stepped)
        return;
    m_frequency->setText(*stepped);
    go();
    // The focus stays on the button, so Space steps again.
}

void TuningPanel::setMode(const QString& mode)
{
    m_rig.commander().setMode(mode);
    m_done->setFocus();
}

void TuningPanel::frequencyEdited(const QString& text)
{
    const bool number = text::isNumeric(text);
    for (QPushButton* button : m_stepButtons)
        button->setEnabled(number);
}

void TuningPanel::scanSwitched(bool on)
{
    if (on && !text::isNumeric(m_frequency->text()))
        m_frequency->setText(m_from->text());
    m_go->setFocus();
}

void TuningPanel::scanTick()
{
    // A step still on its way to the radio: this tick is skipped, the next
    // one takes up the scan.
    if (!m_scan->isChecked() || m_rig.commander().busy())
        return;
    const std::optional<QString> next = nextScanFrequencyText(m_frequency->text(), m_from->text(), m_to->text(),
                                                              scanSteps()[m_scanSteps->checkedId()].stepMHz);
    if (!next)
        return;
    m_frequency->setText(*next);
    go();
}

bool TuningPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    m_scan->setChecked(false);
    if (watched == m_frequency && stepByKey(key->key()))
        return true;
    if (watched == m_frequency || watched == m_from || watched == m_to)
        return frequencyBoxKey(watched, key);
    return QDialog::eventFilter(watched, event);
}

bool TuningPanel::frequencyBoxKey(QObject* watched, QKeyEvent* key)
{
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (watched != m_frequency)
            return true;
        go();
        m_frequency->setFocus();
        m_frequency->end(false);
        return true;
    }
    const QString typed = key->text();
    // Keys that type nothing (arrows, Delete) keep working; of the ones
    // that type, only digits, "." and "/" get through; Tab, Esc and
    // backspace do their usual work.
    if (typed.isEmpty() || typed.front().unicode() < 32)
        return false;
    return !(typed.size() == 1 && isFrequencyBoxCharacter(typed.front()));
}

bool TuningPanel::stepByKey(int key)
{
    const bool up = key == Qt::Key_Up || key == Qt::Key_PageUp;
    if (!up && key != Qt::Key_Down && key != Qt::Key_PageDown)
        return false;
    const double size = scanSteps()[m_scanSteps->checkedId()].stepMHz;
    const std::optional<QString> stepped = steppedFrequencyText(m_frequency->text(), up ? size : -size);
    if (!stepped)
        return true;
    m_frequency->setText(*stepped);
    go();
    return true;
}

void TuningPanel::say(const QString& message)
{
    // A scan without a radio tries every tick: the reader hears it once.
    if (m_message->text() == message)
        return;
    m_message->setText(message);
    m_message->setAccessibleName(message);
    QAccessibleEvent alert(m_message, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void TuningPanel::done(int result)
{
    m_scan->setChecked(false);
    m_scanTimer.stop();
    QDialog::done(result);
}

} // namespace tenlog::rig
