// The voice navigation settings window: layout, option prompts and "Done".
#include "voice/ui/VoiceNavigationDialog.h"

#include "common/ui/FormScaling.h"
#include "voice/VoiceNavigation.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tenlog::voice {

namespace {

// Size on the 640 x 480 reference screen; ScaleFormToScreen takes it from there.
constexpr int kDesignWidth = 420;
constexpr int kDesignHeight = 300;

} // namespace

VoiceNavigationDialog::VoiceNavigationDialog(VoiceNavigation& navigation, platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_navigation(navigation)
{
    setObjectName(QStringLiteral("BlindFrm"));
    setWindowTitle(QStringLiteral("Voice Navigation Settings"));

    auto* layout = new QVBoxLayout(this);
    auto* explanation = new QLabel(
        QStringLiteral("Choose one of the options below.  Select Off to turn the navigation function off, Call to "
                       "indicate the Call field only and All Data Fields to provide verbal prompts through all the "
                       "data fields."),
        this);
    explanation->setObjectName(QStringLiteral("lblExplanation"));
    explanation->setAccessibleName(QStringLiteral("How to choose"));
    explanation->setAccessibleDescription(explanation->text());
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    auto* frame = new QGroupBox(QStringLiteral("Choose your preferred option:"), this);
    frame->setObjectName(QStringLiteral("fraOptions"));
    frame->setAccessibleName(QStringLiteral("Voice navigation level"));
    auto* options = new QVBoxLayout(frame);
    const QString captions[3] = {QStringLiteral("Off"), QStringLiteral("Call Only"), QStringLiteral("All Data Fields")};
    const QString spoken[3] = {QStringLiteral("Voice navigation off"), QStringLiteral("Prompt for the call field only"),
                               QStringLiteral("Prompt through all data fields")};
    for (int i = 0; i < 3; ++i) {
        m_levelOptions[i] = new QRadioButton(captions[i], frame);
        m_levelOptions[i]->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        m_levelOptions[i]->setAccessibleName(spoken[i]);
        options->addWidget(m_levelOptions[i]);
        // clicked, not toggled: choosing the option already selected says it again,
        // and the arrow keys that move through the group click as they go.
        connect(m_levelOptions[i], &QRadioButton::clicked, this, [this, i] { m_navigation.optionSelected(i); });
    }
    layout->addWidget(frame);

    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("Label7"));
    m_folderLabel->setAccessibleName(QStringLiteral("Folder for the prompt files"));
    m_folderLabel->setWordWrap(true);
    layout->addWidget(m_folderLabel);

    m_doneButton = new QPushButton(QStringLiteral("Done"), this);
    m_doneButton->setObjectName(QStringLiteral("Command1"));
    m_doneButton->setAccessibleName(QStringLiteral("Done"));
    m_doneButton->setAccessibleDescription(QStringLiteral("Keeps the chosen level and closes"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_doneButton);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(m_doneButton, &QPushButton::clicked, this, &QDialog::accept);

    resize(kDesignWidth, kDesignHeight);
    common::scaleFormToScreen(this, dialogs);
    m_folderLabel->setText(QStringLiteral("Put the audio wave files in this program's working directory: ")
                      + QDir::toNativeSeparators(m_navigation.workingFolder()));
    m_folderLabel->setAccessibleDescription(m_folderLabel->text());

    const int level = m_navigation.level();
    if (level >= 0 && level < 3) {
        m_levelOptions[level]->setChecked(true);
        m_levelOptions[level]->setFocus(Qt::OtherFocusReason);
    }
    m_navigation.loadSettingsWindow();
}


int VoiceNavigationDialog::chosenLevel() const
{
    for (int i = 0; i < 3; ++i) {
        if (m_levelOptions[i]->isChecked())
            return i;
    }
    return kNavOff;
}

} // namespace tenlog::voice
