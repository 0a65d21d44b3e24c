// The station identity dialog: layout, key rules of its boxes and "Done".
#include "log/ui/StationIdDialog.h"

#include "app/SharedPreferences.h"
#include "app/ui/FormScaling.h"
#include "geo/PrefixTable.h"
#include "log/CountryCompletion.h"
#include "platform/Dialogs.h"
#include "text/NumberText.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>

namespace tenlog::log {

namespace {

// Size on the 640 x 480 reference screen; ScaleFormToScreen takes it from there.
constexpr int kDesignWidth = 360;
constexpr int kDesignHeight = 300;

QChar upperAscii(QChar c)
{
    return (c >= u'a' && c <= u'z') ? QChar(c.unicode() - 32) : c;
}

} // namespace

StationIdDialog::StationIdDialog(const Prefs& prefs, const geo::PrefixTable& prefixes, platform::Dialogs& dialogs,
                                 app::SharedPreferences& shared, QWidget* parent)
    : QDialog(parent)
    , m_prefixes(prefixes)
    , m_dialogs(dialogs)
    , m_shared(shared)
{
    setObjectName(QStringLiteral("frmStationID"));
    setWindowTitle(QStringLiteral(" Amateur Station I.D."));

    // Every box ends up in tnpref.txt, which has no way to hold a double
    // quote or a character beyond one byte: refuse them on paste as well.
    auto* writable = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^\"\\x{100}-\\x{FFFF}]*")), this);

    auto* grid = new QGridLayout(this);
    int row = 0;
    auto addBox = [&](const char* name, const QString& caption, const QString& value) {
        auto* box = new QLineEdit(value, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setValidator(writable);
        box->installEventFilter(this);
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        ++row;
        return box;
    };
    // Created in the order the Tab key visits them.
    m_text1 = addBox("Text1", QStringLiteral("Please Enter your Call Sign:"), prefs.OwnCall);
    m_text5 = addBox("Text5", QStringLiteral("State / Province"), prefs.OwnState);
    grid->addWidget(new QLabel(QStringLiteral("(MD, SK, etc.)"), this), row - 1, 2);
    m_text2 = addBox("Text2", QStringLiteral("Your Country:"), prefs.OwnCountry);
    m_text3 = addBox("Text3", QStringLiteral("Your Longitude:"), text::plainNumber(prefs.OwnLongitude));
    m_text4 = addBox("Text4", QStringLiteral("Your Latitude:"), text::plainNumber(prefs.OwnLatitude));
    m_text6 = addBox("Text6", QStringLiteral("Hours added for UTC:"), text::plainNumber(prefs.UtcOffsetHours));

    m_command1 = new QPushButton(QStringLiteral("Done"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_command1);
    buttons->addStretch();
    grid->addLayout(buttons, row, 0, 1, 3);
    connect(m_command1, &QPushButton::clicked, this, &StationIdDialog::onDone);

    resize(kDesignWidth, kDesignHeight);
    app::scaleFormToScreen(this, m_dialogs);
}

Prefs StationIdDialog::applyTo(Prefs prefs) const
{
    return withStationId(std::move(prefs), {m_text1->text(), m_text5->text(), m_text6->text(), m_text2->text(),
                                            m_text3->text(), m_text4->text()});
}

void StationIdDialog::onDone()
{
    m_text6->setText(numberOrZeroText(m_text6->text()));
    m_text3->setText(numberOrZeroText(m_text3->text()));
    m_text4->setText(numberOrZeroText(m_text4->text()));
    // Only the last one writes the document, once for the whole batch.
    m_shared.setValue(QStringLiteral("OWN_CALL"), m_text1->text(), false);
    m_shared.setValue(QStringLiteral("OWN_SPC"), m_text5->text(), false);
    m_shared.setValue(QStringLiteral("OWN_UTC"), m_text6->text(), false);
    m_shared.setValue(QStringLiteral("OWN_COUNTRY"), m_text2->text(), false);
    m_shared.setValue(QStringLiteral("OWN_LONGITUDE"), m_text3->text(), false);
    m_shared.setValue(QStringLiteral("OWN_LATITUDE"), m_text4->text(), true);
    accept();
}

bool StationIdDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::KeyPress)
        return handleKey(box, static_cast<QKeyEvent*>(event));
    if (box == m_text6 && event->type() == QEvent::FocusOut)
        checkUtcOnLeaving();
    return QDialog::eventFilter(watched, event);
}

void StationIdDialog::keyPressEvent(QKeyEvent* event)
{
    // There is no Cancel button: Esc does not close the dialog.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool StationIdDialog::handleKey(QLineEdit* box, QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (box == m_text1 || box == m_text5 || box == m_text6)
            onDone();
        // Elsewhere Enter does nothing; it must not reach the dialog's default button.
        return true;
    }
    const QString typed = event->text();
    // Editing and movement keys (backspace, arrows, Tab, shortcuts) keep the box's own handling.
    if (typed.isEmpty() || !typed.front().isPrint()
        || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;

    for (QChar key : typed) {
        if (key == u'"')
            continue;
        if (box == m_text1 || box == m_text5) {
            box->insert(upperAscii(key));
        } else if (box == m_text6) {
            // "-", ".", "/" and the digits.
            if (key.unicode() >= 45 && key.unicode() <= 57)
                box->insert(key);
        } else if (box == m_text2) {
            completeCountryKey(key);
        } else {
            box->insert(key);
        }
    }
    return true;
}

void StationIdDialog::completeCountryKey(QChar key)
{
    const qsizetype caret = m_text2->hasSelectedText() ? m_text2->selectionStart() : m_text2->cursorPosition();
    if (caret == 0)
        key = upperAscii(key);
    const std::optional<CountryCompletion> completion =
        completeCountry(m_prefixes, m_text2->text().left(caret) + key, Qt::CaseSensitive);
    if (!completion) {
        m_text2->insert(key);
        return;
    }
    m_text2->setText(completion->text);
    m_text2->setSelection(static_cast<int>(completion->typedLength),
                          static_cast<int>(completion->text.size() - completion->typedLength));
    const geo::PrefixEntry& entry = m_prefixes.entries().at(completion->entry);
    m_text3->setText(text::plainNumber(entry.Longitude));
    m_text4->setText(text::plainNumber(entry.Latitude));
}

void StationIdDialog::checkUtcOnLeaving()
{
    // Only a move to another control of this dialog counts as leaving the
    // box; switching to another window or closing the dialog does not.
    QWidget* next = QApplication::focusWidget();
    if (!next || next == m_text6 || !isAncestorOf(next) || text::isNumeric(m_text6->text()))
        return;
    m_dialogs.beep();
    // Taking the focus back from inside the focus change would fight it; do it right after.
    QTimer::singleShot(0, m_text6, [box = m_text6] { box->setFocus(Qt::OtherFocusReason); });
}

} // namespace tenlog::log
