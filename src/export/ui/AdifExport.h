// The "Export &ADIF" menu command: asks for the power and the comment, reads
// the DXCC table, asks where to save (10Meter.adi in the user data folder by
// default) and writes the whole log as ADIF (format in export/Adif.h).
#pragma once

#include "common/AppFolders.h"
#include "common/SharedPreferences.h"
#include "log/ContactLog.h"

#include <QList>
#include <QString>

namespace tenlog::platform {
class Clock;
class Dialogs;
class SettingsStore;
}

namespace tenlog::exports {

struct AdifExportContext {
    platform::Dialogs& dialogs;
    const platform::Clock& clock;            // "Log exported on:" is today's local date, the timestamp UTC
    const common::AppFolders& folders;          // DXCC table search and the proposed folder
    const QList<log::QsoRecord>& records;    // the whole log, in logging order
    QString caption;                         // the main window's caption
    // The station written into every record. Added with defaults so that a
    // caller that leaves them out still compiles; its records then carry no
    // Station_Callsign and, unless DX, no STX_String.
    QString ownCall = {};
    QString ownState = {};                              // the exchange sent when not DX
    const platform::SettingsStore* settings = nullptr; // the summary sheet's remembered section
};

// The whole export, every question and message included.
void runAdifExport(const AdifExportContext& context);

} // namespace tenlog::exports
