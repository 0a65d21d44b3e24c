// The "E&xport for Tessary Import" menu command: writes "LogExp.txt" (format
// in export/TextExport.h) into the working folder and says so.
#pragma once

#include "log/ContactLog.h"

#include <QList>
#include <QString>

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::exports {

// Writes every record; on success beeps and shows "Export Successful!", on
// failure beeps and shows the reason under "Unable to write file.".
void runTessaryExport(platform::Dialogs& dialogs, const QString& workingFolder,
                      const QList<log::QsoRecord>& records);

} // namespace tenlog::exports
