// The station identity dialog: layout, key rules of its boxes and "Done".
#include "log/ui/StationIdDialog.h"

#include "common/SharedPreferences.h"
#include "common/ui/FormScaling.h"
#include "geo/PrefixTable.h"
#include "log/CountryCompletion.h"
#include "log/EntryRules.h"
#include "platform/Dialogs.h"
#include "text/NumberText.h"

#include <QApplication>

#include <algorithm>
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
                                 common::SharedPreferences& shared, QWidget* parent)
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
    auto addBox = [&](const char* name, const QString& caption, const QString& value, const QString& spoken,
                      const QString& description) {
        auto* box = new QLineEdit(value, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setAccessibleName(spoken);
        box->setAccessibleDescription(description);
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
    m_callBox = addBox("Text1", QStringLiteral("Please Enter your Call Sign:"), prefs.OwnCall,
                       QStringLiteral("Call sign"), QStringLiteral("Your own call sign"));
    m_stateBox = addBox("Text5", QStringLiteral("State / Province"), prefs.OwnState, QStringLiteral("State or province"),
                        QStringLiteral("Its abbreviation, for example MD or SK"));
    grid->addWidget(new QLabel(QStringLiteral("(MD, SK, etc.)"), this), row - 1, 2);
    m_countryBox = addBox("Text2", QStringLiteral("Your Country:"), prefs.OwnCountry, QStringLiteral("Country"),
                          QStringLiteral("Completed from the country list as you type; "
                                         "a completed country fills in the longitude and latitude"));
    m_longitudeBox = addBox("Text3", QStringLiteral("Your Longitude:"), text::plainNumber(prefs.OwnLongitude),
                            QStringLiteral("Longitude"), QStringLiteral("In degrees; degrees west are positive"));
    m_latitudeBox = addBox("Text4", QStringLiteral("Your Latitude:"), text::plainNumber(prefs.OwnLatitude),
                           QStringLiteral("Latitude"), QStringLiteral("In degrees; degrees north are positive"));
    m_utcOffsetBox = addBox("Text6", QStringLiteral("Hours added for UTC:"), text::plainNumber(prefs.UtcOffsetHours),
                            QStringLiteral("Hours added for UTC"),
                            QStringLiteral("The hours to add to local time to get UTC, for example 5"));

    m_doneButton = new QPushButton(QStringLiteral("Done"), this);
    m_doneButton->setObjectName(QStringLiteral("Command1"));
    m_doneButton->setAccessibleName(QStringLiteral("Done"));
    m_doneButton->setAccessibleDescription(QStringLiteral("Keeps the station identity and closes"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_doneButton);
    buttons->addStretch();
    grid->addLayout(buttons, row, 0, 1, 3);
    connect(m_doneButton, &QPushButton::clicked, this, &StationIdDialog::onDone);

    // It opens on the saved call, chosen whole, so typing the call again
    // replaces it instead of doubling it.
    m_callBox->selectAll();
    m_callBox->setFocus();

    resize(kDesignWidth, kDesignHeight);
    common::scaleFormToScreen(this, m_dialogs);
}

Prefs StationIdDialog::applyTo(Prefs prefs) const
{
    const QString country = m_countryBox->text();
    const float longitude = prefs.OwnLongitude;
    const float latitude = prefs.OwnLatitude;
    const QString keptCountry = prefs.OwnCountry;
    const QString keptCall = prefs.OwnCall;
    Prefs applied = withStationId(std::move(prefs), {m_callBox->text(), m_stateBox->text(), m_utcOffsetBox->text(),
                                                     country, m_longitudeBox->text(), m_latitudeBox->text()});
    if (callSignProblem(applied.OwnCall))
        applied.OwnCall = keptCall; // refused by "Done", not taken by closing either
    if (!countryIsKnown()) {
        // Closed without "Done" over a country the list does not know: the
        // boxes' position belongs to some other country, so the station keeps
        // its own country and position.
        applied.OwnCountry = keptCountry;
        applied.OwnLongitude = longitude;
        applied.OwnLatitude = latitude;
    }
    return applied;
}

bool StationIdDialog::countryIsKnown() const
{
    const QString country = m_countryBox->text();
    if (country.isEmpty() || m_prefixes.entries().isEmpty())
        return true; // nothing chosen, or no table to check against
    return std::any_of(m_prefixes.entries().cbegin(), m_prefixes.entries().cend(),
                       [&country](const geo::PrefixEntry& e) { return e.CountryName == country; });
}

void StationIdDialog::onDone()
{
    if (const std::optional<QString> problem = callSignProblem(m_callBox->text())) {
        m_dialogs.beep();
        m_dialogs.message(QStringLiteral("Not a Call Sign"),
                          QStringLiteral("\"") + m_callBox->text() + QStringLiteral("\" cannot be your call sign. ")
                              + *problem + QStringLiteral(" Type your own call sign, for example W1AW."),
                          platform::MessageIcon::Warning);
        m_callBox->setFocus();
        m_callBox->selectAll();
        return;
    }
    // A name the table does not know keeps whatever coordinates the last
    // completion filled in, and every bearing and distance would be wrong.
    if (!countryIsKnown()) {
        m_dialogs.beep();
        m_dialogs.message(QStringLiteral("Unknown Country"),
                          QStringLiteral("\"") + m_countryBox->text()
                              + QStringLiteral("\" is not a country of the prefix list, so its position is not known. "
                                               "Type the first letters of your country and take the name the list "
                                               "offers (for example USA), or leave the box empty."),
                          platform::MessageIcon::Warning);
        m_countryBox->setFocus();
        m_countryBox->selectAll();
        return;
    }
    m_utcOffsetBox->setText(numberOrZeroText(m_utcOffsetBox->text()));
    m_longitudeBox->setText(numberOrZeroText(m_longitudeBox->text()));
    m_latitudeBox->setText(numberOrZeroText(m_latitudeBox->text()));
    // Only the last one writes the document, once for the whole batch.
    m_shared.setValue(QStringLiteral("OWN_CALL"), m_callBox->text(), false);
    m_shared.setValue(QStringLiteral("OWN_SPC"), m_stateBox->text(), false);
    m_shared.setValue(QStringLiteral("OWN_UTC"), m_utcOffsetBox->text(), false);
    m_shared.setValue(QStringLiteral("OWN_COUNTRY"), m_countryBox->text(), false);
    m_shared.setValue(QStringLiteral("OWN_LONGITUDE"), m_longitudeBox->text(), false);
    m_shared.setValue(QStringLiteral("OWN_LATITUDE"), m_latitudeBox->text(), true);
    accept();
}

bool StationIdDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::KeyPress)
        return handleKey(box, static_cast<QKeyEvent*>(event));
    if (box == m_utcOffsetBox && event->type() == QEvent::FocusOut)
        checkUtcOnLeaving();
    return QDialog::eventFilter(watched, event);
}



bool StationIdDialog::handleKey(QLineEdit* box, QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (box == m_callBox || box == m_stateBox || box == m_utcOffsetBox)
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
        if (box == m_callBox || box == m_stateBox) {
            box->insert(upperAscii(key));
        } else if (box == m_utcOffsetBox) {
            // "-", ".", "/" and the digits.
            if (key.unicode() >= 45 && key.unicode() <= 57)
                box->insert(key);
        } else if (box == m_countryBox) {
            completeCountryKey(key);
        } else {
            box->insert(key);
        }
    }
    return true;
}

void StationIdDialog::completeCountryKey(QChar key)
{
    const qsizetype caret = m_countryBox->hasSelectedText() ? m_countryBox->selectionStart() : m_countryBox->cursorPosition();
    if (caret == 0)
        key = upperAscii(key);
    const std::optional<CountryCompletion> completion =
        completeCountry(m_prefixes, m_countryBox->text().left(caret) + key, Qt::CaseSensitive);
    if (!completion) {
        m_countryBox->insert(key);
        return;
    }
    m_countryBox->setText(completion->text);
    m_countryBox->setSelection(static_cast<int>(completion->typedLength),
                          static_cast<int>(completion->text.size() - completion->typedLength));
    const geo::PrefixEntry& entry = m_prefixes.entries().at(completion->entry);
    m_longitudeBox->setText(text::plainNumber(entry.Longitude));
    m_latitudeBox->setText(text::plainNumber(entry.Latitude));
}

void StationIdDialog::checkUtcOnLeaving()
{
    // Only a move to another control of this dialog counts as leaving the
    // box; switching to another window or closing the dialog does not.
    QWidget* next = QApplication::focusWidget();
    if (!next || next == m_utcOffsetBox || !isAncestorOf(next) || text::isNumeric(m_utcOffsetBox->text()))
        return;
    m_dialogs.beep();
    // Taking the focus back from inside the focus change would fight it; do it right after.
    QTimer::singleShot(0, m_utcOffsetBox, [box = m_utcOffsetBox] { box->setFocus(Qt::OtherFocusReason); });
}

} // namespace tenlog::log
