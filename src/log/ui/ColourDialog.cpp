// The colour dialog.
#include "log/ui/ColourDialog.h"

#include "common/ui/ScreenFit.h"

#include "platform/Dialogs.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace tenlog::log {

namespace {

void showColour(QLabel* label, qint32 colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colourFromLong(colour));
    label->setPalette(p);
}

} // namespace

QColor colourFromLong(qint32 value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

ColourDialog::ColourDialog(qint32 worked, qint32 remaining, platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_worked(worked)
    , m_remaining(remaining)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Modify Multiplier Color Selections"));
    auto* layout = new QGridLayout(this);
    auto* workedLabel = new QLabel(QStringLiteral("Appearance of multiplier worked"), this);
    workedLabel->setObjectName(QStringLiteral("lblWorked"));
    auto* remainingLabel = new QLabel(QStringLiteral("Appearance of multiplier remaining"), this);
    remainingLabel->setObjectName(QStringLiteral("lblRemaining"));
    // The labels' colour is the information; their text only says which it is.
    workedLabel->setAccessibleName(QStringLiteral("Colour of worked multipliers"));
    workedLabel->setAccessibleDescription(QStringLiteral("This text is shown in that colour"));
    remainingLabel->setAccessibleName(QStringLiteral("Colour of remaining multipliers"));
    remainingLabel->setAccessibleDescription(QStringLiteral("This text is shown in that colour"));
    showColour(workedLabel, m_worked);
    showColour(remainingLabel, m_remaining);
    auto* changeWorked = new QPushButton(QStringLiteral("Change \"Worked\" Color"), this);
    changeWorked->setObjectName(QStringLiteral("cmdWorked"));
    auto* changeRemaining = new QPushButton(QStringLiteral("Change \"Remaining\" Color"), this);
    changeRemaining->setObjectName(QStringLiteral("cmdRemaining"));
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("cmdDone"));
    changeWorked->setAccessibleName(QStringLiteral("Change worked colour"));
    changeWorked->setAccessibleDescription(QStringLiteral("Opens the colour picker"));
    changeRemaining->setAccessibleName(QStringLiteral("Change remaining colour"));
    changeRemaining->setAccessibleDescription(QStringLiteral("Opens the colour picker"));
    done->setAccessibleName(QStringLiteral("Done"));
    layout->addWidget(workedLabel, 0, 0);
    layout->addWidget(changeWorked, 0, 1);
    layout->addWidget(remainingLabel, 1, 0);
    layout->addWidget(changeRemaining, 1, 1);
    layout->addWidget(done, 2, 1);
    connect(changeWorked, &QPushButton::clicked, this, [this, workedLabel] { pick(&m_worked, workedLabel); });
    connect(changeRemaining, &QPushButton::clicked, this,
            [this, remainingLabel] { pick(&m_remaining, remainingLabel); });
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    common::keepOnScreen(this);
}

void ColourDialog::pick(qint32* colour, QLabel* preview)
{
    // The picker starts on the colour there now; cancelling it keeps that colour.
    *colour = m_dialogs.pickColour(*colour).value_or(*colour);
    showColour(preview, *colour);
}

} // namespace tenlog::log
