// Contact list to clipboard.
#include "export/ui/ListClipboard.h"

#include "export/TextExport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTreeWidget>

namespace tenlog::exports {

QString listedItemsText(const QTreeWidget& list)
{
    const int columns = list.columnCount();
    QStringList headings;
    if (const QTreeWidgetItem* header = list.headerItem())
        for (int c = 0; c < columns; ++c)
            headings << header->text(c);
    // Rows in the order the list shows them, which a header click may have re-sorted.
    QList<QStringList> rows;
    rows.reserve(list.topLevelItemCount());
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list.topLevelItem(i);
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells << item->text(c);
        rows << cells;
    }
    return clipboardText(headings, rows);
}

void copyListedItemsToClipboard(const QTreeWidget& list)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    clipboard->clear();
    clipboard->setText(listedItemsText(list));
}

} // namespace tenlog::exports
