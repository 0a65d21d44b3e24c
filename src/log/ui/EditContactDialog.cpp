// The edit dialog: layout, key rules, checks on leaving a box, "Done" and
// "Delete Dupe". The rules themselves are in log/EditRules.
#include "log/ui/EditContactDialog.h"

#include "log/ui/ExchangeTextFilter.h"

#include "common/ui/FormScaling.h"
#include "geo/PrefixTable.h"
#include "log/CountryCompletion.h"
#include "platform/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>
#include <QValidator>

namespace tenlog::log {

namespace {

// Size on the 640 x 480 reference screen; ScaleFormToScreen takes it from there.
constexpr int kDesignWidth = 380;
constexpr int kDesignHeight = 330;

// Refuses any edit, typed or pasted, that would put a character log.txt
// cannot hold into a box.
class StorableTextValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return isStorableText(input) ? Acceptable : Invalid;
    }
};

struct BoxInfo {
    EditBox kind;
    const char* name;
    const char* caption;
    const char* spoken;      // what a screen reader says for the box
    const char* description; // the format it takes, where the name does not say it
};

// Layout and Tab order.
constexpr BoxInfo kBoxes[] = {
    {EditBox::Call, "txtEditCall", "Callsign", "Call sign", ""},
    {EditBox::RstSnt, "txtEditNum", "Rst(S)", "Signal report sent", ""},
    {EditBox::Country, "txtEditPre", "Country", "Country", "Completed from the country list as you type"},
    {EditBox::RstRcvd, "txtEditCk", "Rst(R)", "Signal report received", ""},
    {EditBox::Section, "txtEditSec", "Section", "Section or serial number",
     "ARRL or RAC section, state or province; DX stations give a serial number"},
    {EditBox::Date, "txtEditDate", "Date", "Date", "Year, month and day, for example 2013/12/14"},
    {EditBox::Time, "txtEditTime", "Time", "Time", "Hours, minutes and seconds, for example 14:05:33"},
    {EditBox::Mode, "txtEditBnd", "Mode", "Mode", "CW or PH"},
};

// Grid row of a box; the title takes row 0.
int rowOf(EditBox kind)
{
    int row = 1;
    for (const BoxInfo& info : kBoxes) {
        if (info.kind == kind)
            return row;
        ++row;
    }
    return row;
}

QString fieldOf(const QsoRecord& r, EditBox kind)
{
    switch (kind) {
    case EditBox::Call: return r.Call;
    case EditBox::RstSnt: return r.RstSnt;
    case EditBox::Country: return r.Country;
    case EditBox::RstRcvd: return r.RstRcvd;
    case EditBox::Section: return r.SecSer;
    case EditBox::Date: return r.QsoDate;
    case EditBox::Time: return r.QsoTime;
    case EditBox::Mode: return r.Mode;
    }
    return {};
}

QLabel* warningLabel(const QString& text, const char* name, const QString& spoken, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(spoken);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
    // Keep the place in the layout so the boxes do not move when it shows.
    QSizePolicy policy = label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label->setSizePolicy(policy);
    label->hide();
    return label;
}

} // namespace

EditContactDialog::EditContactDialog(const QList<QsoRecord>& records, int numberToEdit,
                                     const geo::PrefixTable& prefixes, platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_records(records)
    , m_recordNumber(numberToEdit)
    , m_prefixes(prefixes)
    , m_dialogs(dialogs)
{
    Q_ASSERT(numberToEdit >= 1 && numberToEdit <= records.size());
    if (numberToEdit >= 1 && numberToEdit <= records.size())
        m_edited = records.at(numberToEdit - 1);

    setObjectName(QStringLiteral("frmEditCon"));
    setWindowTitle(QStringLiteral("Edit Contact Entry"));

    auto* storable = new StorableTextValidator(this);
    auto* exchangeFilter = new ExchangeTextFilter(this);
    auto* grid = new QGridLayout(this);
    auto* title = new QLabel(QStringLiteral("Edit Contact:"), this);
    title->setObjectName(QStringLiteral("lblEditTitle"));
    title->setAccessibleName(QStringLiteral("Edit contact"));
    grid->addWidget(title, 0, 0, 1, 3);

    int row = rowOf(kBoxes[0].kind);
    for (const BoxInfo& info : kBoxes) {
        auto* box = new QLineEdit(fieldOf(m_edited, info.kind), this);
        box->setObjectName(QString::fromLatin1(info.name));
        box->setAccessibleName(QString::fromLatin1(info.spoken));
        box->setAccessibleDescription(QString::fromLatin1(info.description));
        const bool exchangeBox = info.kind == EditBox::Call || info.kind == EditBox::RstSnt
                              || info.kind == EditBox::RstRcvd || info.kind == EditBox::Section;
        box->setValidator(exchangeBox ? static_cast<QValidator*>(exchangeFilter) : storable);
        box->installEventFilter(this);
        auto* label = new QLabel(QString::fromLatin1(info.caption), this);
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        m_boxes.at(static_cast<std::size_t>(info.kind)) = box;
        ++row;
    }
    m_dupeLabel = warningLabel(QStringLiteral("  Dupe!"), "lblEditDupe", QStringLiteral("Duplicate contact"), this);
    m_sectionInvalidLabel =
        warningLabel(QStringLiteral("   Invalid!"), "lblEditSecInvalid", QStringLiteral("Section is invalid"), this);
    m_modeInvalidLabel =
        warningLabel(QStringLiteral("   Invalid!"), "lblEditModeInvalid", QStringLiteral("Mode is invalid"), this);
    grid->addWidget(m_dupeLabel, rowOf(EditBox::Call), 2);
    grid->addWidget(m_sectionInvalidLabel, rowOf(EditBox::Section), 2);
    grid->addWidget(m_modeInvalidLabel, rowOf(EditBox::Mode), 2);
    grid->setColumnStretch(1, 1);

    m_doneButton = new QPushButton(QStringLiteral("Done"), this);
    m_doneButton->setObjectName(QStringLiteral("cmdDone"));
    m_deleteDupeButton = new QPushButton(QStringLiteral("Delete Dupe"), this);
    m_deleteDupeButton->setObjectName(QStringLiteral("cmdDeleteDupe"));
    m_doneButton->setAccessibleName(QStringLiteral("Done"));
    m_doneButton->setAccessibleDescription(
        QStringLiteral("Stores the correction when it is valid and no duplicate, and closes"));
    m_deleteDupeButton->setAccessibleName(QStringLiteral("Delete duplicate contact"));
    m_deleteDupeButton->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_doneButton);
    buttons->addWidget(m_deleteDupeButton);
    buttons->addStretch();
    grid->addLayout(buttons, row, 0, 1, 3);
    connect(m_doneButton, &QPushButton::clicked, this, [this] {
        if (!m_swallowClick)
            checkAndStore();
    });
    connect(m_deleteDupeButton, &QPushButton::clicked, this, [this] {
        if (!m_swallowClick)
            requestDelete();
    });

    resize(kDesignWidth, kDesignHeight);
    common::scaleFormToScreen(this, m_dialogs);
}

std::optional<EditBox> EditContactDialog::kindOf(const QObject* object) const
{
    for (const BoxInfo& info : kBoxes)
        if (box(info.kind) == object)
            return info.kind;
    return std::nullopt;
}

QsoRecord EditContactDialog::boxesAsRecord() const
{
    QsoRecord r;
    r.Call = box(EditBox::Call)->text();
    r.RstSnt = box(EditBox::RstSnt)->text();
    r.Country = box(EditBox::Country)->text();
    r.RstRcvd = box(EditBox::RstRcvd)->text();
    r.SecSer = box(EditBox::Section)->text();
    r.QsoDate = box(EditBox::Date)->text();
    r.QsoTime = box(EditBox::Time)->text();
    r.Mode = box(EditBox::Mode)->text();
    return r;
}

bool EditContactDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::FocusOut) {
        if (const std::optional<EditBox> kind = kindOf(watched)) {
            auto* target = static_cast<QLineEdit*>(watched);
            if (event->type() == QEvent::KeyPress)
                return handleKey(target, *kind, static_cast<QKeyEvent*>(event));
            leaveBox(target, *kind);
        }
    }
    return QDialog::eventFilter(watched, event);
}



bool EditContactDialog::handleKey(QLineEdit* target, EditBox kind, QKeyEvent* event)
{
    QString typed;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        typed = QChar(kKeyEnter);
    } else if (event->key() == Qt::Key_Backspace) {
        typed = QChar(kKeyBackspace);
    } else {
        typed = event->text();
        // Movement, Tab, Delete and shortcuts such as paste keep the box's own handling.
        if (typed.isEmpty() || !typed.front().isPrint()
            || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false;
    }
    for (QChar key : typed) {
        const EditKey rule = editKeyPress(kind, key);
        switch (rule.action) {
        case EditKeyAction::Insert:
            target->insert(rule.key);
            break;
        case EditKeyAction::Pass:
            return false;
        case EditKeyAction::Drop:
            break;
        case EditKeyAction::Done:
            checkAndStore();
            return true;
        case EditKeyAction::Complete:
            completeCountryKey(rule.key);
            break;
        }
    }
    return true;
}

void EditContactDialog::completeCountryKey(QChar key)
{
    QLineEdit* country = box(EditBox::Country);
    const qsizetype caret = country->hasSelectedText() ? country->selectionStart() : country->cursorPosition();
    const std::optional<CountryCompletion> completion =
        log::completeCountry(m_prefixes, country->text().left(caret) + key, Qt::CaseSensitive);
    if (!completion || !isStorableText(completion->text)) {
        country->insert(key);
        return;
    }
    country->setText(completion->text);
    country->setSelection(static_cast<int>(completion->typedLength),
                          static_cast<int>(completion->text.size() - completion->typedLength));
}

void EditContactDialog::leaveBox(QLineEdit* left, EditBox kind)
{
    // Only a move to another control of this dialog made by the operator
    // counts as leaving the box; switching windows, closing the dialog or a
    // move the dialog makes itself does not.
    QWidget* next = QApplication::focusWidget();
    if (m_quietFocus || !next || next == left || !isAncestorOf(next))
        return;
    const LeaveCheck check = checkOnLeaving(kind, left->text());
    if (check.showModeInvalid)
        m_modeInvalidLabel->setVisible(*check.showModeInvalid);
    if (!check.stay)
        return;
    m_dialogs.beep();
    m_swallowClick = true;
    if (check.message)
        m_dialogs.message(check.message->title, check.message->text, platform::MessageIcon::Warning);
    // Taking the focus back from inside the focus change would fight it; do it right after.
    QTimer::singleShot(0, left, [this, left] { refocus(left); });
}

void EditContactDialog::refocus(QLineEdit* target)
{
    // A button still held down by the press that left the box must not
    // click when the mouse is let go.
    for (QPushButton* button : {m_doneButton, m_deleteDupeButton})
        button->setDown(false);
    m_swallowClick = false;
    focusQuietly(target);
}

void EditContactDialog::focusQuietly(QLineEdit* target)
{
    const QScopedValueRollback quiet(m_quietFocus, true);
    target->setFocus(Qt::OtherFocusReason);
}

void EditContactDialog::checkAndStore()
{
    const QsoRecord boxes = boxesAsRecord();
    const DoneCheck check = checkDone(m_records, m_recordNumber, boxes);
    if (check.refused()) {
        m_dialogs.beep();
        m_dialogs.message(check.message->title, check.message->text, platform::MessageIcon::Warning);
        focusQuietly(box(*check.refusedBox));
        return;
    }
    if (!check.duplicates.isEmpty()) {
        m_dupeLabel->show();
        m_deleteDupeButton->show();
    } else {
        m_dupeLabel->hide();
    }
    m_sectionInvalidLabel->setVisible(!check.sectionValid);
    m_modeInvalidLabel->setVisible(!check.modeValid);
    for (int i = 0; i < check.beeps(); ++i)
        m_dialogs.beep();
    if (!check.store())
        return;
    m_edited = log::editedRecord(m_edited, boxes);
    m_outcome = Outcome::Saved;
    accept();
}

void EditContactDialog::requestDelete()
{
    m_outcome = Outcome::DeleteRequested;
    done(QDialog::Rejected);
}

} // namespace tenlog::log
