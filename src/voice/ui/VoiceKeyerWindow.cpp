#include "voice/ui/VoiceKeyerWindow.h"

#include "common/ui/NamedWidget.h"
#include "common/ui/PortDeviceRow.h"
#include "common/ui/ScreenFit.h"

#include "platform/Dialogs.h"
#include "text/NumberText.h"
#include "voice/VoiceKeyer.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace tenlog::voice {

namespace {

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QString& spoken)
{
    return common::named(new QPushButton(caption, parent), name, spoken);
}

} // namespace

VoiceKeyerWindow::VoiceKeyerWindow(VoiceKeyer& keyer, platform::Dialogs& dialogs, QString workingFolder,
                                   common::PortDevices* portDevices, QWidget* parent)
    : QDialog(parent), m_keyer(keyer), m_dialogs(dialogs), m_folder(std::move(workingFolder))
{
    setObjectName(QStringLiteral("PhoneFrm"));
    setWindowTitle(QStringLiteral("Phone Wave Selections"));
    setAccessibleName(QStringLiteral("Voice keyer setup"));
    auto* layout = new QVBoxLayout(this);
    auto* files = new QGridLayout;
    for (int i = 0; i < 9; ++i) {
        auto* label = new QLabel(QStringLiteral("F%1").arg(i + 1), this);
        m_files[size_t(i)] = new QLineEdit(this);
        m_files[size_t(i)]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        m_files[size_t(i)]->setAccessibleName(QStringLiteral("F%1 sound file").arg(i + 1));
        label->setBuddy(m_files[size_t(i)]);
        // Command2-Command9 browse for F1-F8, Command10 for F9.
        auto* browseButton = button(this, QStringLiteral("Command%1").arg(i + 2), QStringLiteral("Browse"),
                                    QStringLiteral("Browse for the F%1 sound file").arg(i + 1));
        files->addWidget(label, i, 0);
        files->addWidget(m_files[size_t(i)], i, 1);
        files->addWidget(browseButton, i, 2);
        connect(browseButton, &QPushButton::clicked, this, [this, i] { browse(i); });
        connect(m_files[size_t(i)], &QLineEdit::textEdited, this, &VoiceKeyerWindow::pushSettings);
    }
    layout->addLayout(files);

    auto* port = new QHBoxLayout;
    m_port = new QLineEdit(this);
    m_port->setObjectName(QStringLiteral("Text10"));
    m_port->setAccessibleName(QStringLiteral("Serial port number for PTT, 0 for none"));
    m_port->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_port));
    m_parallel = new QLineEdit(this);
    m_parallel->setObjectName(QStringLiteral("Text11"));
    m_parallel->setAccessibleName(QStringLiteral("Parallel port address"));
    m_parallel->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\"]*")), m_parallel));
    m_repeat = new QLineEdit(this);
    m_repeat->setObjectName(QStringLiteral("txtPHLoop"));
    m_repeat->setAccessibleName(QStringLiteral("Seconds between repeats of F1"));
    m_repeat->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[.0-9]*")), m_repeat));
    const std::pair<QString, QLineEdit*> fields[] = {
        {QStringLiteral("Port"), m_port}, {QStringLiteral("Parallel"), m_parallel}, {QStringLiteral("Loop (Sec)"), m_repeat}};
    for (const auto& [caption, edit] : fields) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        port->addWidget(label);
        port->addWidget(edit);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this, &VoiceKeyerWindow::pushSettings);
    }
    layout->addLayout(port);
    // A new device for the PTT port is opened at once, as a new number is.
    common::addPortDeviceRow(layout, m_port, portDevices, m_dialogs, QStringLiteral("PTT"), [this] {
        pushSettings();
        m_keyer.openPttPort();
    });
    auto* frame = new QGroupBox(QStringLiteral("PTT"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* frameLayout = new QHBoxLayout(frame);
    const char* lineNames[] = {"RTS", "DTR", "Parallel"};
    for (size_t i = 0; i < 3; ++i) {
        m_lines[i] = new QRadioButton(QString::fromLatin1(lineNames[i]), frame);
        m_lines[i]->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        m_lines[i]->setAccessibleName(QStringLiteral("PTT on ") + QString::fromLatin1(lineNames[i]));
        frameLayout->addWidget(m_lines[i]);
        connect(m_lines[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                pushSettings();
        });
    }
    layout->addWidget(frame);

    auto* buttons = new QHBoxLayout;
    auto* testLabel = new QLabel(QStringLiteral("Plays F1 Command"), this);
    auto* testButton = button(this, QStringLiteral("Command11"), QStringLiteral("Test"), QStringLiteral("Test: plays F1"));
    m_stop = button(this, QStringLiteral("Command12"), QStringLiteral("Stop"), QStringLiteral("Stop the F1 repeat"));
    m_stop->hide();
    m_done = button(this, QStringLiteral("Command1"), QStringLiteral("Done"), QStringLiteral("Done"));
    buttons->addWidget(testLabel);
    buttons->addWidget(testButton);
    buttons->addWidget(m_stop);
    buttons->addStretch();
    buttons->addWidget(m_done);
    layout->addLayout(buttons);
    connect(testButton, &QPushButton::clicked, this, &VoiceKeyerWindow::test);
    connect(m_stop, &QPushButton::clicked, this, [this] {
        m_keyer.stopRepeat();
        m_stop->hide();
    });
    connect(m_done, &QPushButton::clicked, this, &VoiceKeyerWindow::finish);
    common::keepOnScreen(this);
}

void VoiceKeyerWindow::showSettings()
{
    m_showing = true;
    const VoiceKeyerSettings& s = m_keyer.settings();
    for (size_t i = 0; i < 9; ++i)
        m_files[i]->setText(s.files[i]);
    m_port->setText(s.port);
    m_parallel->setText(s.parallelAddress);
    m_repeat->setText(s.repeatSeconds);
    for (QRadioButton* line : m_lines) {
        line->setAutoExclusive(false);
        line->setChecked(false);
        line->setAutoExclusive(true);
    }
    if (s.line != PttLine::None)
        m_lines[size_t(int(s.line) - 1)]->setChecked(true);
    m_showing = false;
}

void VoiceKeyerWindow::pushSettings()
{
    if (m_showing)
        return;
    VoiceKeyerSettings s = m_keyer.settings();
    for (size_t i = 0; i < 9; ++i)
        s.files[i] = m_files[i]->text().trimmed();
    s.port = m_port->text();
    s.parallelAddress = m_parallel->text().toUpper();
    s.repeatSeconds = m_repeat->text();
    s.line = m_lines[0]->isChecked()   ? PttLine::Rts
             : m_lines[1]->isChecked() ? PttLine::Dtr
             : m_lines[2]->isChecked() ? PttLine::Parallel
                                       : PttLine::None;
    m_keyer.setSettings(s);
}

void VoiceKeyerWindow::browse(int index)
{
    const std::optional<QString> chosen = m_dialogs.openFile({QStringLiteral("F%1 sound file").arg(index + 1),
                                                              QStringLiteral("WAV files (*.wav *.WAV)"), m_folder});
    if (!chosen) {
        m_dialogs.beep();
        return;
    }
    m_files[size_t(index)]->setText(*chosen);
    pushSettings();
    m_done->setFocus();
}

void VoiceKeyerWindow::test()
{
    pushSettings();
    m_keyer.playKey(112);
    if (isVisible())
        m_done->setFocus();
    m_stop->setVisible(m_keyer.repeatArmed());
}

bool VoiceKeyerWindow::finish()
{
    pushSettings();
    hide();
    QString error;
    if (!saveVoiceKeyerSettings(m_folder, m_keyer.settings(), &error)) {
        m_dialogs.message(QStringLiteral("Voice keyer"), QStringLiteral("wave2.txt could not be written: ") + error,
                          platform::MessageIcon::Critical);
        return false;
    }
    return true;
}

bool VoiceKeyerWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_port) {
            if (!text::isNumeric(m_port->text()))
                m_port->setText(QStringLiteral("0"));
            pushSettings();
            if (text::val(m_port->text()) > 0)
                m_keyer.openPttPort();
        } else if (watched == m_repeat) {
            const double seconds = text::val(m_repeat->text());
            if (!text::isNumeric(m_repeat->text()) || seconds < 0 || seconds >= 60)
                m_repeat->setText(QStringLiteral("0"));
            pushSettings();
        }
    } else if (event->type() == QEvent::FocusIn && watched == m_port) {
        m_port->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tenlog::voice
