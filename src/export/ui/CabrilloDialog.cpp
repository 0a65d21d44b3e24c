// The summary-sheet dialog: layout, capitals in the section and operator
// boxes, writing the Cabrillo file and remembering the details.
#include "export/ui/CabrilloDialog.h"

#include "common/AppFolders.h"
#include "common/SharedPreferences.h"
#include "common/SharedPreferences.h"
#include "common/ui/FormScaling.h"
#include "log/ContestLog.h"
#include "log/EntryRules.h"
#include "log/Prefs.h"
#include "platform/Dialogs.h"
#include "platform/DurableFile.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tenlog::exports {

namespace {

// Size on the 640 x 480 reference screen; ScaleFormToScreen takes it from there.
constexpr int kDesignWidth = 600;
constexpr int kDesignHeight = 460;

// The chooser's filter keeps the wording the operator has always seen.
const QString kFileFilter = QStringLiteral("ADIF Files (*.log)");

QString settingsApplication()
{
    return QString::fromLatin1(kSettingsApplication);
}

QString settingsSection()
{
    return QString::fromLatin1(kSettingsSection);
}

} // namespace

void runCabrillo(QWidget* parent, const CabrilloContext& context)
{
    CabrilloDialog dialog(context, parent);
    context.dialogs.runModal(&dialog);
}

CabrilloDialog::CabrilloDialog(const CabrilloContext& context, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Summary Sheet Information"));
    buildLayout();
    resize(kDesignWidth, kDesignHeight);
    common::scaleFormToScreen(this, m_context.dialogs);
    fillRememberedDetails();
}

void CabrilloDialog::buildLayout()
{
    auto* outer = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    outer->addLayout(grid);
    int row = 0;
    auto addBox = [&](const char* name, const QString& caption, const QString& spoken,
                      const QString& description = QString()) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAccessibleName(spoken);
        edit->setAccessibleDescription(description);
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
        return edit;
    };
    // Created in the order the Tab key visits them.
    m_nameBox = addBox("Text5", QStringLiteral("Your Name:"), QStringLiteral("Your name"));
    m_address1Box = addBox("Text6", QStringLiteral("Address Line 1:"), QStringLiteral("Address line 1"));
    m_address2Box = addBox("Text7", QStringLiteral("Address Line 2:"), QStringLiteral("Address line 2"));
    m_emailBox = addBox("Text8", QStringLiteral("Email Address:"), QStringLiteral("E-mail address"));
    m_sectionBox = addBox("Text1", QStringLiteral("Your ARRL/RAC Section:"), QStringLiteral("ARRL or RAC section"),
                          QStringLiteral("DX stations enter DX"));
    grid->addWidget(new QLabel(QStringLiteral("DX Stations enter DX"), this), row - 1, 2);
    m_clubBox = addBox("Text10", QStringLiteral("Club Name (if club participation):"), QStringLiteral("Club name"),
                       QStringLiteral("Only if you take part for a club"));

    auto* soapboxLabel =
        new QLabel(QStringLiteral("Soapbox (Add any comments you would like to make about the contest):"), this);
    m_soapboxText = new QPlainTextEdit(this);
    m_soapboxText->setObjectName(QStringLiteral("Text11"));
    m_soapboxText->setTabChangesFocus(true);
    m_soapboxText->setAccessibleName(QStringLiteral("Soapbox"));
    m_soapboxText->setAccessibleDescription(QStringLiteral("Any comments you would like to make about the contest"));
    soapboxLabel->setBuddy(m_soapboxText);
    outer->addWidget(soapboxLabel);
    outer->addWidget(m_soapboxText);

    auto* operatorsLabel = new QLabel(QStringLiteral("If multioperator, list calls of all operators:"), this);
    m_operatorsBox = new QLineEdit(this);
    m_operatorsBox->setObjectName(QStringLiteral("Text2"));
    m_operatorsBox->setAccessibleName(QStringLiteral("Operators"));
    m_operatorsBox->setAccessibleDescription(QStringLiteral("If multioperator, the calls of all operators"));
    operatorsLabel->setBuddy(m_operatorsBox);
    outer->addWidget(operatorsLabel);
    outer->addWidget(m_operatorsBox);

    for (QLineEdit* capitals : {m_sectionBox, m_operatorsBox})
        capitals->installEventFilter(this);

    auto* frames = new QHBoxLayout;
    outer->addLayout(frames);
    auto addFrame = [&](const char* name, const QString& title, const QString& spoken) {
        auto* frame = new QGroupBox(title, this);
        frame->setObjectName(QString::fromLatin1(name));
        frame->setAccessibleName(spoken);
        frame->setLayout(new QVBoxLayout);
        frames->addWidget(frame);
        return frame;
    };
    auto addOption = [this](QGroupBox* frame, const char* name, const QString& caption, const QString& spoken) {
        auto* option = new QRadioButton(caption, frame);
        option->setObjectName(QString::fromLatin1(name));
        option->setAccessibleName(spoken);
        frame->layout()->addWidget(option);
        return option;
    };
    // Each frame is its own exclusive group, since the buttons' parents differ.
    QGroupBox* power = addFrame("fraPower", QStringLiteral("Power Category:"), QStringLiteral("Power category"));
    m_powerHigh = addOption(power, "Option18", QStringLiteral("High"), QStringLiteral("Power: high"));
    m_powerLow = addOption(power, "Option19", QStringLiteral("Low"), QStringLiteral("Power: low"));
    m_powerQrp = addOption(power, "Option20", QStringLiteral("QRP"), QStringLiteral("Power: QRP"));
    QGroupBox* operators = addFrame("fraOperator", QStringLiteral("Operator:"), QStringLiteral("Operator category"));
    m_operatorSingle = addOption(operators, "Option6", QStringLiteral("Single"), QStringLiteral("Operator: single"));
    m_operatorMultiple = addOption(operators, "Option7", QStringLiteral("Multiple - (Mixed mode only)"),
                                   QStringLiteral("Operator: multiple"));
    m_operatorMultiple->setAccessibleDescription(QStringLiteral("Mixed mode only"));
    QGroupBox* mode = addFrame("fraMode", QStringLiteral("Mode:"), QStringLiteral("Mode category"));
    m_modeMixed = addOption(mode, "Option4", QStringLiteral("Mixed"), QStringLiteral("Mode: mixed"));
    m_modePhone = addOption(mode, "Option8", QStringLiteral("Phone Only"), QStringLiteral("Mode: phone only"));
    m_modeCw = addOption(mode, "Option5", QStringLiteral("CW Only"), QStringLiteral("Mode: CW only"));
    m_powerLow->setChecked(true);
    m_operatorSingle->setChecked(true);
    m_modeMixed->setChecked(true);

    // 2.0 stays the default: it is what sponsors have always been sent. The
    // buttons name the format themselves, so they need no frame or caption.
    auto* format = new QWidget(this);
    format->setObjectName(QStringLiteral("fraFormat"));
    format->setAccessibleName(QStringLiteral("Cabrillo file format"));
    auto* formatRow = new QHBoxLayout(format);
    formatRow->setContentsMargins(0, 0, 0, 0);
    auto addFormat = [&](const char* name, const QString& caption, const QString& spoken) {
        auto* option = new QRadioButton(caption, format);
        option->setObjectName(QString::fromLatin1(name));
        option->setAccessibleName(spoken);
        formatRow->addWidget(option);
        return option;
    };
    m_formatV2 = addFormat("optCabrillo2", QStringLiteral("Cabrillo &2.0 file"),
                           QStringLiteral("File format: Cabrillo 2.0"));
    m_formatV3 = addFormat("optCabrillo3", QStringLiteral("Cabrillo &3.0 file"),
                           QStringLiteral("File format: Cabrillo 3.0"));
    m_formatV3->setAccessibleDescription(QStringLiteral("For log checkers that expect the newer headers"));
    formatRow->addStretch();
    m_formatV2->setChecked(true);
    outer->addWidget(format);

    m_writeButton = new QPushButton(QStringLiteral("Write Cabrillo Log File"), this);
    m_writeButton->setObjectName(QStringLiteral("Command4"));
    m_doneButton = new QPushButton(QStringLiteral("Done"), this);
    m_doneButton->setObjectName(QStringLiteral("Command3"));
    m_writeButton->setAccessibleName(QStringLiteral("Write Cabrillo log file"));
    m_writeButton->setAccessibleDescription(QStringLiteral("Asks where to save the file, then writes it"));
    m_doneButton->setAccessibleName(QStringLiteral("Done"));
    m_doneButton->setAccessibleDescription(QStringLiteral("Closes the summary sheet"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {m_writeButton, m_doneButton}) {
        // Enter in a box must not write the file or close the dialog.
        button->setAutoDefault(false);
        buttons->addWidget(button);
        buttons->addStretch();
    }
    outer->addLayout(buttons);
    connect(m_writeButton, &QPushButton::clicked, this, &CabrilloDialog::writeCabrilloFile);
    connect(m_doneButton, &QPushButton::clicked, this, &CabrilloDialog::closeDialog);
}

void CabrilloDialog::fillRememberedDetails()
{
    // Only the settings store is read; the shared document is written, never read, here.
    for (const RememberedDetail& detail : kRememberedDetails) {
        auto* edit = findChild<QLineEdit*>(QString::fromLatin1(detail.control));
        edit->setText(m_context.settings.value(settingsApplication(), settingsSection(),
                                               QString::fromLatin1(detail.settingsKey), QString()));
    }
    // A section never typed comes from the station's own state or province,
    // where that names one; the operator can still change it.
    if (m_sectionBox->text().trimmed().isEmpty())
        m_sectionBox->setText(sectionOfOwnState(m_context.prefs.OwnState));
    const CabrilloFormat format = cabrilloFormatFromSetting(m_context.settings.value(
        settingsApplication(), settingsSection(), QString::fromLatin1(kFormatSettingsKey), QString()));
    (format == CabrilloFormat::V3 ? m_formatV3 : m_formatV2)->setChecked(true);
}

CabrilloDetails CabrilloDialog::details() const
{
    CabrilloDetails d;
    d.name = m_nameBox->text();
    d.address1 = m_address1Box->text();
    d.address2 = m_address2Box->text();
    d.email = m_emailBox->text();
    d.section = m_sectionBox->text();
    d.club = m_clubBox->text();
    d.soapbox = m_soapboxText->toPlainText();
    d.operators = m_operatorsBox->text();
    d.power = m_powerHigh->isChecked() ? CabrilloPower::High
            : m_powerQrp->isChecked() ? CabrilloPower::Qrp
                                      : CabrilloPower::Low;
    d.op = m_operatorMultiple->isChecked() ? CabrilloOperator::Multiple : CabrilloOperator::Single;
    d.mode = m_modePhone->isChecked() ? CabrilloMode::Phone
           : m_modeCw->isChecked() ? CabrilloMode::Cw
                                    : CabrilloMode::Mixed;
    d.format = m_formatV3->isChecked() ? CabrilloFormat::V3 : CabrilloFormat::V2;
    return d;
}

void CabrilloDialog::writeCabrilloFile()
{
    const common::AppFolders& folders = m_context.folders;
    platform::Dialogs& dialogs = m_context.dialogs;
    QDir::setCurrent(folders.workingFolder);
    m_context.prefs.OwnCall = blankTrimmed(m_context.prefs.OwnCall);

    const QString fileName = common::callSignFileStem(m_context.prefs.OwnCall) + QStringLiteral(".log");
    const std::optional<QString> chosen =
        dialogs.saveFile({QString(), kFileFilter, folders.userDataFolder, fileName, true});
    if (!chosen)
        return;

    QDir::setCurrent(folders.workingFolder);
    const QString path = QDir(folders.workingFolder).absoluteFilePath(*chosen);
    const CabrilloDetails typed = details();
    const QByteArray bytes = cabrilloFile(
        typed, {m_context.prefs.OwnCall, m_context.prefs.OwnState, m_context.caption}, m_context.contest);
    QString error;
    if (!platform::writeFileAtomically(path, bytes, &error)) {
        dialogs.beep();
        dialogs.message(QStringLiteral("Unable to write file."), error, platform::MessageIcon::Critical);
        return;
    }

    QDir::setCurrent(folders.workingFolder);
    dialogs.message(QStringLiteral("File Written Successfully."),
                    QStringLiteral("The file ") + fileName
                        + QStringLiteral(" was successfully written to the directory:\n\n") + path
                        + QStringLiteral(".\n\nAttach this file to an e-mail addressed for contest submission.  "
                                         "If you wish to print this file, you can open it with Notepad or "
                                         "Wordpad to print."),
                    platform::MessageIcon::Information);
    dialogs.message(QStringLiteral("  Thanks!"),
                    QStringLiteral("Thanks for using this program.  I hope that you enjoyed it!  If so, please "
                                   "tell a friend!"),
                    platform::MessageIcon::Information);
    m_doneButton->setFocus();
    rememberDetails(typed);
}

void CabrilloDialog::rememberDetails(const CabrilloDetails& typed)
{
    for (const RememberedDetail& detail : kRememberedDetails)
        m_context.settings.setValue(settingsApplication(), settingsSection(),
                                    QString::fromLatin1(detail.settingsKey), blankTrimmed(typed.*detail.member));
    m_context.settings.setValue(settingsApplication(), settingsSection(), QString::fromLatin1(kFormatSettingsKey),
                                cabrilloFormatSetting(typed.format));
    // One save of the shared document, with the last of the six.
    for (std::size_t i = 0; i < kRememberedDetails.size(); ++i) {
        const RememberedDetail& detail = kRememberedDetails.at(i);
        m_context.sharedPreferences.setValue(QString::fromLatin1(detail.sharedTag),
                                                        blankTrimmed(typed.*detail.member),
                                                        i + 1 == kRememberedDetails.size());
    }
}

void CabrilloDialog::closeDialog()
{
    accept();
}

bool CabrilloDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        // Editing and movement keys and shortcuts keep the box's own handling.
        if (!typed.isEmpty() && typed.front().isPrint()
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            for (const QChar c : typed)
                edit->insert(log::capitalLetter(c));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}



} // namespace tenlog::exports
