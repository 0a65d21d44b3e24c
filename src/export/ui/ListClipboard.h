// The "&Copy Listed Items to Clipboard" menu command: the rows the contact
// list shows, oldest first under a heading line, as tab-separated text on the
// system clipboard (format in export/TextExport.h).
#pragma once

#include <QString>

class QTreeWidget;

namespace tenlog::exports {

// The text of the list as it stands: its headings and its rows as shown.
QString listedItemsText(const QTreeWidget& list);

// Clears the clipboard and puts the list's text on it.
void copyListedItemsToClipboard(const QTreeWidget& list);

} // namespace tenlog::exports
