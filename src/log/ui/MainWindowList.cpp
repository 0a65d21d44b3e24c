// The main window's contact list: newest first, the last 20 or all, sorting,
// and the edit and delete of a listed contact.
#include "log/ui/MainWindow.h"

#include "log/ui/EditContactDialog.h"
#include "platform/Dialogs.h"
#include "text/DateText.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace tenlog::log {

void MainWindow::RefreshContactList()
{
    // Newest first; the last 20 unless the whole log was asked for.
    m_listView1->clear();
    const QList<QsoRecord>& records = m_log.records();
    const int count = static_cast<int>(records.size());
    const int first = m_showAllContacts ? 0 : std::max(0, count - 20);
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
    m_listView1->addTopLevelItems(items);
}


void MainWindow::showListButtons()
{
    if (m_listView1->topLevelItemCount() == 0)
        return;
    m_cmdEdit->show();
    m_cmdDelete->show();
}

void MainWindow::cmdList_Click()
{
    m_showAllContacts = !m_showAllContacts;
    m_cmdList->setText(m_showAllContacts ? QStringLiteral("All") : QStringLiteral("Last 20"));
    RefreshContactList();
    m_txtCall->setFocus();
}

void MainWindow::cmdEdit_Click()
{
    const QTreeWidgetItem* item = m_listView1->currentItem();
    const int rec = item ? item->text(0).toInt() : 0;
    if (rec < 1 || rec > m_log.contactCount())
        return;
    EditContactDialog dialog(m_log.records(), rec, m_prefixes, m_services.dialogs, this);
    m_services.dialogs.runModal(&dialog);
    if (dialog.outcome() == EditContactDialog::Outcome::DeleteRequested) {
        cmdDelete_Click(); // asks first, then rewrites and reloads
        return;
    }
    RefreshContactList();
    m_cmdEdit->hide();
    m_cmdDelete->hide();
    QList<QsoRecord> records = m_log.records();
    if (dialog.outcome() == EditContactDialog::Outcome::Saved)
        records[rec - 1] = dialog.editedRecord();
    if (const auto error = m_log.rewrite(records)) {
        m_services.dialogs.message(QStringLiteral("Contact Not Changed"),
                                   QStringLiteral("log.txt could not be rewritten: ") + *error,
                                   platform::MessageIcon::Critical);
        reload();
        return;
    }
    refreshFromLog();
}

void MainWindow::cmdDelete_Click()
{
    const QTreeWidgetItem* item = m_listView1->currentItem();
    const platform::Answer answer = m_services.dialogs.message(
        QStringLiteral("Are you sure?"), QStringLiteral("Are you sure?"), platform::MessageIcon::Question,
        platform::MessageButtons::YesNo);
    m_cmdEdit->hide();
    m_cmdDelete->hide();
    if (answer == platform::Answer::No || !item)
        return;
    const int rec = item->text(0).toInt();
    if (rec < 1 || rec > m_log.contactCount())
        return;
    QList<QsoRecord> records = m_log.records();
    records.removeAt(rec - 1);
    if (const auto error = m_log.rewrite(records)) {
        m_services.dialogs.message(QStringLiteral("Contact Not Deleted"),
                                   QStringLiteral("log.txt could not be rewritten: ") + *error,
                                   platform::MessageIcon::Critical);
        reload();
        return;
    }
    refreshFromLog();
}

} // namespace tenlog::log
