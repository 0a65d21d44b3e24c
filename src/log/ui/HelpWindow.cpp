// The help window.
#include "log/ui/HelpWindow.h"

#include "platform/DurableFile.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tenlog::log {

HelpWindow::HelpWindow(const QString& workingFolder, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Help Page"));
    auto* layout = new QVBoxLayout(this);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setReadOnly(true);
    layout->addWidget(m_text);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Command1"));
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(720, 560);

    QByteArray helpText;
    QString error;
    if (platform::readWholeFile(platform::fileInFolder(workingFolder, QStringLiteral("readtm.txt")), &helpText, &error))
        m_text->setPlainText(QString::fromLatin1(helpText));
    else
        m_text->setPlainText(QStringLiteral("The help file readtm.txt could not be read: ") + error);
}

} // namespace tenlog::log
