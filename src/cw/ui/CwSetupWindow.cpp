#include "cw/ui/CwSetupWindow.h"

#include "common/ui/NamedWidget.h"
#include "common/ui/PortDeviceRow.h"
#include "common/ui/ScreenFit.h"

#include "cw/CwKeyer.h"
#include "cw/CwStation.h"
#include "cw/LoopCalibration.h"
#include "platform/Dialogs.h"
#include "platform/KeyingClock.h"
#include "platform/SettingsStore.h"
#include "text/NumberText.h"

#include <QButtonGroup>
#include <QCheckBox>
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

#include <cmath>

namespace tenlog::cw {

namespace {

const QString storeApp = QStringLiteral("Korvo_Software");
const QString storeSection = QStringLiteral("Settings");

QLineEdit* box(QWidget* parent, const char* name, const QString& spoken, const QString& pattern = {})
{
    auto* edit = common::named(new QLineEdit(parent), QLatin1String(name), spoken);
    if (!pattern.isEmpty())
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    return edit;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& spoken)
{
    return common::named(new QPushButton(caption, parent), QLatin1String(name), spoken);
}

QString numericOrZero(const QString& text)
{
    return text::isNumeric(text) ? text : QStringLiteral("0");
}

} // namespace

CwSetupWindow::CwSetupWindow(CwStation& station, CwKeyer& keyer, platform::KeyingClock& clock,
                             platform::Dialogs& dialogs, platform::SettingsStore& store, QString workingFolder,
                             common::PortDevices* portDevices, QWidget* parent)
    : QDialog(parent)
    , m_station(station)
    , m_keyer(keyer)
    , m_dialogs(dialogs)
    , m_store(store)
    , m_folder(std::move(workingFolder))
    , m_portDevices(portDevices)
{
    setObjectName(QStringLiteral("CWFrm"));
    setWindowTitle(QStringLiteral("CW String Selections"));
    setAccessibleName(QStringLiteral("CW setup"));
    build();
    m_calibration = new LoopCalibration(clock, this);
    connect(m_calibration, &LoopCalibration::measured, this, [this](double loops) {
        // A value the operator typed meanwhile, or another method chosen, stands.
        if (m_loop->isChecked() && text::val(m_loops->text()) <= 0)
            m_loops->setText(QString::number(loops, 'f', 0));
    });
    connect(&m_station, &CwStation::speedChanged, this, [this](const QString& wpm) { m_wpm->setText(wpm); });
    common::keepOnScreen(this);
}

void CwSetupWindow::build()
{
    auto* layout = new QVBoxLayout(this);
    auto* messages = new QGridLayout;
    const char* names[] = {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9", "Text12", "Text13"};
    for (int i = 0; i < 11; ++i) {
        const QString key = QStringLiteral("F%1").arg(i + 1);
        m_messages[size_t(i)] = box(this, names[i], key + QStringLiteral(" message"), QStringLiteral("[^\"]*"));
        auto* label = new QLabel(key, this);
        label->setBuddy(m_messages[size_t(i)]);
        messages->addWidget(label, i, 0);
        messages->addWidget(m_messages[size_t(i)], i, 1);
        connect(m_messages[size_t(i)], &QLineEdit::textEdited, this, [this, i](const QString& text) {
            // Messages are sent in capitals, so they are kept in capitals.
            if (text != text.toUpper()) {
                const int at = m_messages[size_t(i)]->cursorPosition();
                m_messages[size_t(i)]->setText(text.toUpper());
                m_messages[size_t(i)]->setCursorPosition(at);
            }
            pushSettings();
        });
    }
    layout->addLayout(messages);
    auto* legend = new QLabel(QStringLiteral("Wildcards are $ for Call, * for RST  and # for Number (where applicable).\n"
                                             "A ! in the string enters the contact.\n"
                                             "= BT   [ AR   \\ CL   ] SK   ; KN"),
                              this);
    legend->setAccessibleName(QStringLiteral("Wildcards and prosigns"));
    layout->addWidget(legend);

    auto* numbers = new QGridLayout;
    m_wpm = box(this, "Text11", QStringLiteral("Speed in words per minute"), QStringLiteral("[0-9:]*"));
    m_space = box(this, "txtSpace", QStringLiteral("Word space adjustment in units"), QStringLiteral("[-./0-9:]*"));
    m_port = box(this, "Text10", QStringLiteral("Serial port number for keying, 0 for none"), QStringLiteral("[0-9:]*"));
    m_parallel = box(this, "Text14", QStringLiteral("Parallel port address"));
    m_repeat = box(this, "txtCWLoop", QStringLiteral("Seconds between repeats of F1"), QStringLiteral("[.0-9]*"));
    const std::pair<const char*, QLineEdit*> rows[] = {
        {"WPM", m_wpm}, {"Word Space", m_space}, {"Port", m_port}, {"Parallel", m_parallel}, {"Loop (Sec)", m_repeat}};
    int row = 0;
    for (const auto& [caption, edit] : rows) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setBuddy(edit);
        numbers->addWidget(label, row, 0);
        numbers->addWidget(edit, row, 1);
        ++row;
    }
    auto* faster = button(this, "Command2", QStringLiteral("Faster"), QStringLiteral("Faster"));
    auto* slower = button(this, "Command3", QStringLiteral("Slower"), QStringLiteral("Slower"));
    auto* less = button(this, "Command5", QStringLiteral("Less"), QStringLiteral("Less word space"));
    auto* more = button(this, "Command6", QStringLiteral("More"), QStringLiteral("More word space"));
    numbers->addWidget(faster, 0, 2);
    numbers->addWidget(slower, 0, 3);
    numbers->addWidget(less, 1, 2);
    numbers->addWidget(more, 1, 3);
    layout->addLayout(numbers);
    // A new device for the keying port is opened at once, as a new number is.
    common::addPortDeviceRow(layout, m_port, m_portDevices, m_dialogs, QStringLiteral("CW keying"), [this] { portLeft(); });
    connect(faster, &QPushButton::clicked, this, [this] { stepSpeed(1); });
    connect(slower, &QPushButton::clicked, this, [this] { stepSpeed(-1); });
    connect(less, &QPushButton::clicked, this, [this] { stepSpace(-1); });
    connect(more, &QPushButton::clicked, this, [this] { stepSpace(1); });

    auto* outputs = new QGroupBox(QStringLiteral("Keying Options"), this);
    outputs->setObjectName(QStringLiteral("frameKeying"));
    auto* outputsLayout = new QHBoxLayout(outputs);
    const std::pair<const char*, const char*> outputNames[] = {
        {"Option4", "None"}, {"Option1", "RTS"}, {"Option2", "DTR"}, {"Option3", "Printer"}, {"Option5", "WinKey"}};
    for (size_t i = 0; i < 5; ++i) {
        m_outputs[i] = new QRadioButton(QString::fromLatin1(outputNames[i].second), outputs);
        m_outputs[i]->setObjectName(QLatin1String(outputNames[i].first));
        m_outputs[i]->setAccessibleName(QStringLiteral("Key with ") + QString::fromLatin1(outputNames[i].second));
        outputsLayout->addWidget(m_outputs[i]);
        connect(m_outputs[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                pushSettings();
        });
    }
    // Shown while the WinKey keyer is the output.
    m_configureWinKey = button(outputs, "cmdConfWinkey", QStringLiteral("Configure Winkey"), QStringLiteral("Configure the WinKey keyer"));
    m_configureWinKey->hide();
    outputsLayout->addWidget(m_configureWinKey);
    connect(m_outputs[4], &QRadioButton::toggled, m_configureWinKey, &QWidget::setVisible);
    connect(m_configureWinKey, &QPushButton::clicked, this, &CwSetupWindow::winKeySetupRequested);
    layout->addWidget(outputs);

    auto* timing = new QHBoxLayout;
    auto* timingLabel = new QLabel(QStringLiteral("Timing Options: "), this);
    timingLabel->setToolTip(QStringLiteral("Timer is the preferred option on most systems. "));
    timing->addWidget(timingLabel);
    m_timer = new QRadioButton(QStringLiteral("Timer"), this);
    m_timer->setObjectName(QStringLiteral("optTimer"));
    m_loop = new QRadioButton(QStringLiteral("Loop"), this);
    m_loop->setObjectName(QStringLiteral("optLoop"));
    m_sleep = new QRadioButton(QStringLiteral("Sleep"), this);
    m_sleep->setObjectName(QStringLiteral("OptSleep"));
    // A group of their own: left to the dialog's automatic exclusivity they
    // would also count the keying options in their frame, and choosing Loop
    // would leave Timer on.
    auto* timingGroup = new QButtonGroup(this);
    for (QRadioButton* option : {m_timer, m_loop, m_sleep}) {
        timingGroup->addButton(option);
        option->setAccessibleName(option->text() + QStringLiteral(" timing"));
        timing->addWidget(option);
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                timingChosen();
        });
    }
    m_loopLabel = new QLabel(QStringLiteral("Loop Delay"), this);
    m_loopLabel->setObjectName(QStringLiteral("lblLoop"));
    m_loops = box(this, "txtLoop", QStringLiteral("Loops per 60 ms"), QStringLiteral("[0-9]*"));
    m_loops->setToolTip(QStringLiteral("Loops per 60 ms"));
    m_loopLabel->setBuddy(m_loops);
    m_loopFaster = button(this, "cmdLoopFaster", QStringLiteral("F"), QStringLiteral("Speed up CW"));
    m_loopFaster->setToolTip(QStringLiteral("Speed up CW"));
    m_loopSlower = button(this, "cmdLoopSlower", QStringLiteral("S"), QStringLiteral("Slow Down CW"));
    m_loopSlower->setToolTip(QStringLiteral("Slow Down CW"));
    for (QWidget* w : std::initializer_list<QWidget*> {m_loopLabel, m_loops, m_loopFaster, m_loopSlower})
        timing->addWidget(w);
    layout->addLayout(timing);
    connect(m_loopFaster, &QPushButton::clicked, this, [this] { adjustLoop(0.9); });
    connect(m_loopSlower, &QPushButton::clicked, this, [this] { adjustLoop(1.111111111111); });
    connect(m_loops, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text::isNumeric(text))
            m_keyer.setLoopsPer60ms(text::val(text));
    });

    m_display = new QCheckBox(QStringLiteral("Display CW text on main form (NA for WinKey)."), this);
    m_display->setObjectName(QStringLiteral("Check1"));
    m_display->setAccessibleName(m_display->text());
    connect(m_display, &QCheckBox::toggled, this, &CwSetupWindow::pushSettings);
    layout->addWidget(m_display);
    auto* advice = new QLabel(QStringLiteral("For the most precise timing, do not run any other programs, virus software etc. while transmitting."), this);
    advice->setWordWrap(true);
    advice->setAccessibleName(QStringLiteral("Timing advice"));
    layout->addWidget(advice);

    auto* buttons = new QHBoxLayout;
    m_sending = new QLabel(QStringLiteral("Sending!"), this);
    m_sending->setObjectName(QStringLiteral("Label23"));
    m_sending->setAccessibleName(QStringLiteral("Sending"));
    m_sending->hide();
    auto* test = button(this, "Command4", QStringLiteral("&Test"), QStringLiteral("Test: send the F9 message"));
    auto* practice = button(this, "Command7", QStringLiteral("Send Code Practice"), QStringLiteral("Send code practice"));
    m_done = button(this, "Command1", QStringLiteral("Done"), QStringLiteral("Done"));
    buttons->addWidget(m_sending);
    buttons->addStretch();
    buttons->addWidget(practice);
    buttons->addWidget(test);
    connect(practice, &QPushButton::clicked, this, &CwSetupWindow::codePracticeRequested);
    buttons->addWidget(m_done);
    layout->addLayout(buttons);
    connect(test, &QPushButton::clicked, this, &CwSetupWindow::sendTest);
    connect(m_done, &QPushButton::clicked, this, &CwSetupWindow::finish);

    for (QLineEdit* edit : {m_wpm, m_space, m_port, m_parallel, m_repeat}) {
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this, &CwSetupWindow::pushSettings);
    }
}

void CwSetupWindow::showSettings()
{
    m_showing = true;
    const CwSettings& s = m_station.settings();
    for (size_t i = 0; i < 11; ++i)
        m_messages[i]->setText(s.messages[i]);
    m_port->setText(s.port);
    m_wpm->setText(s.wpm);
    m_space->setText(s.wordSpace);
    m_parallel->setText(s.parallelAddress);
    m_repeat->setText(s.repeatSeconds);
    m_display->setChecked(s.showOnMainWindow);
    const int index[] = {0, 1, 2, 3, -1, 4};
    m_outputs[size_t(std::max(0, index[int(s.output)]))]->setChecked(true);
    const QString loops = m_store.value(storeApp, storeSection, QStringLiteral("UserCWLoopOffset"), QStringLiteral("0"));
    m_loops->setText(text::isNumeric(loops) ? loops : QStringLiteral("0"));
    const QString timing = m_store.value(storeApp, storeSection, QStringLiteral("UserCWSelection"), QStringLiteral("Timer"));
    m_showing = false;
    (timing == QLatin1String("Loop") ? m_loop : timing == QLatin1String("Sleep") ? m_sleep : m_timer)->setChecked(true);
    timingChosen();
}

void CwSetupWindow::pushSettings()
{
    if (m_showing)
        return;
    CwSettings s = m_station.settings();
    for (size_t i = 0; i < 11; ++i)
        s.messages[i] = m_messages[i]->text();
    s.port = m_port->text();
    s.wpm = m_wpm->text();
    s.wordSpace = m_space->text();
    if (text::isNumeric(s.wordSpace) && text::val(s.wordSpace) < -8) {
        s.wordSpace = QStringLiteral("-8");
        m_space->setText(s.wordSpace);
    }
    s.parallelAddress = m_parallel->text();
    s.repeatSeconds = m_repeat->text();
    s.showOnMainWindow = m_display->isChecked();
    const KeyOutput outputs[] = {KeyOutput::None, KeyOutput::Rts, KeyOutput::Dtr, KeyOutput::Parallel, KeyOutput::WinKey};
    for (size_t i = 0; i < 5; ++i) {
        if (m_outputs[i]->isChecked())
            s.output = outputs[i];
    }
    m_station.setSettings(s);
}

void CwSetupWindow::timingChosen()
{
    const bool loop = m_loop->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*> {m_loopLabel, m_loops, m_loopFaster, m_loopSlower})
        w->setEnabled(loop);
    m_keyer.setTiming(loop ? CwKeyer::Timing::Loop : m_sleep->isChecked() ? CwKeyer::Timing::Sleep : CwKeyer::Timing::Timer);
    if (loop && text::val(m_loops->text()) <= 0)
        m_calibration->start();
}

void CwSetupWindow::adjustLoop(double factor)
{
    if (text::isNumeric(m_loops->text()))
        m_loops->setText(QString::number(std::round(text::val(m_loops->text()) * factor), 'f', 0));
    m_done->setFocus();
}

void CwSetupWindow::stepSpace(int step)
{
    const double value = text::isNumeric(m_space->text()) ? text::val(m_space->text()) : 0;
    m_space->setText(QString::number(value + step));
    pushSettings();
}

void CwSetupWindow::stepSpeed(int step)
{
    if (step > 0)
        m_station.faster();
    else
        m_station.slower();
}

void CwSetupWindow::portLeft()
{
    m_port->setText(numericOrZero(m_port->text()));
    pushSettings();
    m_station.openKeyingPort();
}

bool CwSetupWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_port) {
            portLeft();
        } else if (watched == m_wpm || watched == m_space) {
            auto* edit = static_cast<QLineEdit*>(watched);
            edit->setText(numericOrZero(edit->text()));
            pushSettings();
        } else if (watched == m_repeat) {
            const double seconds = text::val(m_repeat->text());
            if (!text::isNumeric(m_repeat->text()) || seconds < 0 || seconds >= 60)
                m_repeat->setText(QStringLiteral("0"));
            pushSettings();
        }
    } else if (event->type() == QEvent::FocusIn && (watched == m_port || watched == m_wpm)) {
        static_cast<QLineEdit*>(watched)->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

bool CwSetupWindow::finish()
{
    pushSettings();
    QString error;
    const bool saved = saveCwSettings(m_folder, m_station.settings(), &error);
    hide();
    if (!saved) {
        m_dialogs.message(QStringLiteral("CW settings"), QStringLiteral("CW.txt could not be written: ") + error,
                          platform::MessageIcon::Critical);
        return false;
    }
    m_store.setValue(storeApp, storeSection, QStringLiteral("UserCWSelection"),
                     m_loop->isChecked() ? QStringLiteral("Loop") : m_sleep->isChecked() ? QStringLiteral("Sleep") : QStringLiteral("Timer"));
    m_store.setValue(storeApp, storeSection, QStringLiteral("UserCWLoopOffset"), m_loops->text());
    if (m_station.hasOutput())
        emit doneWithOutput();
    return true;
}

void CwSetupWindow::sendTest()
{
    m_sending->show();
    m_station.sendFunctionKey(120);
    connect(&m_station, &CwStation::sendingFinished, m_sending, &QLabel::hide, Qt::SingleShotConnection);
    if (!m_station.isSending())
        m_sending->hide();
    if (isVisible())
        m_messages[0]->setFocus();
}

} // namespace tenlog::cw
