// The help window.
#include "log/ui/HelpWindow.h"

#include "common/ui/FormScaling.h"
#include "platform/DurableFile.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tenlog::log {

HelpWindow::HelpWindow(const QString& workingFolder, platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Help Page"));
    auto* layout = new QVBoxLayout(this);
    m_helpText = new QPlainTextEdit(this);
    m_helpText->setObjectName(QStringLiteral("Text1"));
    m_helpText->setReadOnly(true);
    m_helpText->setAccessibleName(QStringLiteral("Help text"));
    layout->addWidget(m_helpText);
    auto* closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("Command1"));
    closeButton->setAccessibleName(QStringLiteral("Close help"));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::hide);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(closeButton, 0, Qt::AlignRight);
    // Laid out for the 640 x 480 reference screen, within it, and scaled
    // like the other dialogs.
    resize(600, 440);
    common::scaleFormToScreen(this, dialogs);

    QByteArray helpText;
    QString error;
    if (platform::readWholeFile(platform::fileInFolder(workingFolder, QStringLiteral("readtm.txt")), &helpText, &error))
        m_helpText->setPlainText(QString::fromLatin1(helpText));
    else
        m_helpText->setPlainText(QStringLiteral("The help file readtm.txt could not be read: ") + error);
}

} // namespace tenlog::log
