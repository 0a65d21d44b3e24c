// The contact list with its edit and delete.
#include "station/ContactListArea.h"

#include "log/ContestSession.h"
#include "station/AreaWidgets.h"
#include "log/ui/EditContactDialog.h"
#include "platform/Dialogs.h"
#include "text/DateText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tenlog::station {

// The main window is built over the log's session, records and rules.
using namespace tenlog::log;

namespace {

// Columns with their widths on the 9600-twip reference width.
const std::pair<const char*, int> kColumns[] = {
    {"Rec#", 550}, {"Call", 900}, {"Rec", 500}, {"Sec", 550}, {"Snt", 500},
    {"Date", 600}, {"Time", 600}, {"Mo", 500}, {"Country", 1300},
};

} // namespace

ContactListArea::ContactListArea(ContestSession& session, platform::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("contactListArea"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    QLabel* heading = makeLabel(this, {}, QStringLiteral("Recent Contacts"));
    top->addWidget(heading);
    top->addSpacing(12);
    m_allOrLastButton = makeButton(this, "cmdList", QStringLiteral("Last 20"),
                                   QStringLiteral("List all or last 20 contacts (Listing all will slow the program)"),
                                   QStringLiteral("Showing the last 20 contacts; press to list all"));
    m_allOrLastButton->setAccessibleDescription(QStringLiteral("Ctrl+Shift+L switches between the last 20 and all."));
    connect(m_allOrLastButton, &QPushButton::clicked, this, &ContactListArea::toggleAllOrLast);
    m_editButton = makeButton(this, "cmdEdit", QStringLiteral("Edit Contact"),
                              QStringLiteral("Edits the chosen contact (Enter in the list)."),
                              QStringLiteral("Edit contact"));
    m_deleteButton = makeButton(this, "cmdDelete", QStringLiteral("Delete Contact"),
                                QStringLiteral("Deletes the chosen contact (Delete in the list)."),
                                QStringLiteral("Delete contact"));
    // Hidden, the buttons still hold their room, so the list does not jump.
    for (QPushButton* b : {m_editButton, m_deleteButton}) {
        QSizePolicy keep = b->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        b->setSizePolicy(keep);
        b->hide();
    }
    connect(m_editButton, &QPushButton::clicked, this, &ContactListArea::editChosenContact);
    connect(m_deleteButton, &QPushButton::clicked, this, &ContactListArea::deleteChosenContact);
    top->addWidget(m_allOrLastButton);
    top->addWidget(m_editButton);
    top->addWidget(m_deleteButton);
    top->addStretch(1);
    column->addLayout(top);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setToolTip(QStringLiteral("Click record to edit or delete."));
    m_list->setAccessibleName(QStringLiteral("Contacts, newest first"));
    m_list->setAccessibleDescription(
        QStringLiteral("Ctrl+L enters the list. Enter edits the chosen contact, Delete deletes it, Escape returns "
                       "to the call box."));
    m_list->setRootIsDecorated(false);
    // A click leaves the keyboard with the entry line; Ctrl+L gives it to the list.
    m_list->setFocusPolicy(Qt::NoFocus);
    heading->setBuddy(m_list);
    QStringList names;
    for (const auto& [name, width] : kColumns)
        names << QString::fromLatin1(name);
    m_list->setHeaderLabels(names);
    m_list->header()->setSectionsClickable(true);
    // A heading click sorts once, by text; the next refresh is newest first again.
    connect(m_list->header(), &QHeaderView::sectionClicked, this,
            [this](int c) { m_list->sortItems(c, Qt::AscendingOrder); });
    connect(m_list, &QTreeWidget::itemClicked, this, &ContactListArea::showRecordButtons);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item && m_list->hasFocus())
            showRecordButtons();
    });
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    column->addWidget(m_list, 1);

    connect(&m_session, &ContestSession::logReloaded, this, &ContactListArea::showContacts);
    connect(&m_session, &ContestSession::contactLogged, this, &ContactListArea::showContacts);
}

void ContactListArea::toggleAllOrLast()
{
    m_showAll = !m_showAll;
    m_allOrLastButton->setText(m_showAll ? QStringLiteral("All") : QStringLiteral("Last 20"));
    m_allOrLastButton->setAccessibleName(m_showAll ? QStringLiteral("Showing all contacts; press to list the last 20")
                                                   : QStringLiteral("Showing the last 20 contacts; press to list all"));
    showContacts();
    emit leaveList();
}

void ContactListArea::fitColumns(int windowWidth)
{
    int c = 0;
    for (const auto& [name, width] : kColumns)
        m_list->header()->resizeSection(c++, qRound(width * windowWidth / 9600.0));
}

void ContactListArea::showContacts()
{
    // Refilling drops the current row; the keyboard keeps its place below.
    const int chosen = chosenRecord();
    const QModelIndex chosenIndex = m_list->currentIndex();
    const int chosenRow = chosenIndex.isValid() ? chosenIndex.row() : 0;
    m_list->clear();
    const QList<QsoRecord>& records = m_session.log().records();
    const int count = static_cast<int>(records.size());
    const int first = m_showAll ? 0 : std::max(0, count - 20);
    QList<QTreeWidgetItem*> items;
    for (int i = count - 1; i >= first; --i) {
        const QsoRecord& r = records.at(i);
        const auto date = text::parseDate(r.QsoDate);
        const auto time = text::parseTime(r.QsoTime);
        items << new QTreeWidgetItem(QStringList{
            QString::number(i + 1), r.Call, r.RstRcvd, r.SecSer, r.RstSnt,
            date ? text::formatDate(*date, QStringLiteral("mm/dd")) : r.QsoDate,
            time ? text::formatTime(*time, QStringLiteral("hh:nn")) : r.QsoTime, r.Mode, r.Country});
    }
    m_list->addTopLevelItems(items);
    // With the list working from the keyboard (after an edit, a delete or a
    // contact logged meanwhile) Enter and Delete need a chosen row: the same
    // contact, or the row where it was.
    if (items.isEmpty() || !keyboardInList())
        return;
    QTreeWidgetItem* again = items.at(std::min<int>(chosenRow, int(items.size()) - 1));
    for (QTreeWidgetItem* item : items)
        if (item->text(0).toInt() == chosen)
            again = item;
    m_list->setCurrentItem(again);
}

bool ContactListArea::keyboardInList() const
{
    // The window's focus child, not hasFocus(): under a modal edit or
    // question box the list has lost the focus only until the box closes.
    return m_list->window()->focusWidget() == m_list;
}

void ContactListArea::showRecordButtons()
{
    if (m_list->topLevelItemCount() == 0)
        return;
    m_editButton->show();
    m_deleteButton->show();
}

void ContactListArea::hideRecordButtons()
{
    m_editButton->hide();
    m_deleteButton->hide();
}

void ContactListArea::enterList()
{
    if (m_list->topLevelItemCount() == 0)
        return;
    m_list->setFocus();
    if (!m_list->currentItem())
        m_list->setCurrentItem(m_list->topLevelItem(0));
    showRecordButtons();
}

int ContactListArea::chosenRecord() const
{
    const QTreeWidgetItem* item = m_list->currentItem();
    return item ? item->text(0).toInt() : 0;
}

void ContactListArea::editChosenContact()
{
    const int rec = chosenRecord();
    if (rec < 1 || rec > m_session.log().contactCount())
        return;
    EditContactDialog dialog(m_session.log().records(), rec, m_session.prefixes(), m_dialogs, this);
    m_dialogs.runModal(&dialog);
    if (dialog.outcome() == EditContactDialog::Outcome::DeleteRequested) {
        deleteChosenContact(); // asks first, then rewrites and reloads
        return;
    }
    showContacts();
    hideRecordButtons();
    m_session.rewriteContact(rec, dialog.outcome() == EditContactDialog::Outcome::Saved
                                      ? std::optional<QsoRecord>(dialog.editedRecord())
                                      : std::nullopt);
}

void ContactListArea::deleteChosenContact()
{
    const int rec = chosenRecord();
    const platform::Answer answer = m_dialogs.message(QStringLiteral("Are you sure?"), QStringLiteral("Are you sure?"),
                                                      platform::MessageIcon::Question, platform::MessageButtons::YesNo);
    hideRecordButtons();
    if (answer == platform::Answer::No || rec == 0)
        return;
    m_session.deleteContact(rec);
}

bool ContactListArea::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && m_list->topLevelItemCount() > 0) {
        if (QTreeWidgetItem* item = m_list->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
            m_list->setCurrentItem(item);
        editChosenContact();
        return true;
    }
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            editChosenContact();
            return true;
        case Qt::Key_Delete:
            deleteChosenContact();
            return true;
        case Qt::Key_Escape:
            hideRecordButtons();
            emit leaveList();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tenlog::station
