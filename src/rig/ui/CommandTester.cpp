// The command tester.
#include "rig/ui/CommandTester.h"

#include "common/ui/FormScaling.h"
#include "rig/HexByteText.h"
#include "rig/RigCommander.h"
#include "rig/RigControl.h"
#include "text/NumberText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tenlog::rig {

namespace {

// Size on the 640 x 480 reference screen; ScaleFormToScreen takes it from there.
constexpr int kDesignWidth = 400;
constexpr int kDesignHeight = 320;

QLabel* helpLabel(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& spoken)
{
    auto* button = new QPushButton(QStringLiteral("Send"), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(spoken);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CommandTester::CommandTester(RigControl& rig, platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_rig(rig)
{
    setObjectName(QStringLiteral("frmFrequencyTest"));
    setWindowTitle(QStringLiteral("Test Change Frequency Function"));
    setAccessibleName(QStringLiteral("Test change frequency function"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(helpLabel(this, QStringLiteral("Please use the text box below to enter a complete command to send "
                                                   "to your radio.  The default example is the command used for "
                                                   "Kenwood radios.")),
                    0, 0, 1, 2);
    grid->addWidget(helpLabel(this, QStringLiteral("If your radio requires a hexidecimal format, please enter in the "
                                                   "format of XX XX XX (using spaces between each two digits) and "
                                                   "click the Convert to Hex check box below.")),
                    1, 0, 1, 2);
    m_command = new QLineEdit(QStringLiteral("FA00028475000;"), this);
    m_command->setObjectName(QStringLiteral("Text1"));
    m_command->setAccessibleName(QStringLiteral("Command to send"));
    auto* sendCommandButton = makeButton(this, "Command1", QStringLiteral("Send the command"));
    grid->addWidget(m_command, 2, 0);
    grid->addWidget(sendCommandButton, 2, 1);
    m_asHex = new QCheckBox(QStringLiteral("Convert to Hex"), this);
    m_asHex->setObjectName(QStringLiteral("Check1"));
    m_asHex->setAccessibleName(QStringLiteral("Convert to Hex"));
    grid->addWidget(m_asHex, 3, 0, 1, 2);
    grid->addWidget(helpLabel(this, QStringLiteral("Most Elecrafts, Icoms, Kenwoods and Yaesus are now supported. For "
                                                   "any supported radio, you should be able to enter a frequency in "
                                                   "Mhz, click send and your radio should switch to the specified "
                                                   "frequency.")),
                    4, 0, 1, 2);
    m_frequency = new QLineEdit(this);
    m_frequency->setObjectName(QStringLiteral("Text2"));
    m_frequency->setAccessibleName(QStringLiteral("Frequency in MHz"));
    auto* sendFrequencyButton = makeButton(this, "Command2", QStringLiteral("Send the radio to the frequency"));
    grid->addWidget(m_frequency, 5, 0);
    grid->addWidget(sendFrequencyButton, 5, 1);
    grid->addWidget(helpLabel(this, QStringLiteral("If you find a command that works for a radio the list does not "
                                                   "cover, please tell the program's maker so it can be added.")),
                    6, 0, 1, 2);
    connect(sendCommandButton, &QPushButton::clicked, this, &CommandTester::sendCommand);
    connect(sendFrequencyButton, &QPushButton::clicked, this, &CommandTester::sendFrequency);
    resize(kDesignWidth, kDesignHeight);
    common::scaleFormToScreen(this, dialogs);
    m_frequency->setText(QStringLiteral("28.475"));
}

void CommandTester::sendCommand()
{
    const QString command = m_command->text().trimmed();
    QByteArray bytes;
    if (m_asHex->isChecked()) {
        const std::optional<QByteArray> converted = bytesFromHexText(command);
        // Text that is not hex byte text sends nothing.
        if (!converted)
            return;
        bytes = *converted;
    } else {
        bytes = command.toLatin1();
    }
    m_rig.writeRaw(bytes);
}

void CommandTester::sendFrequency()
{
    if (!text::isNumeric(m_frequency->text()))
        return;
    m_rig.commander().tuneTo(text::valSingle(m_frequency->text()));
}

} // namespace tenlog::rig
