// LogExp.txt written and announced.
#include "export/ui/TessaryExport.h"

#include "export/TextExport.h"
#include "platform/Dialogs.h"
#include "platform/DurableFile.h"

namespace tenlog::exports {

void runTessaryExport(platform::Dialogs& dialogs, const QString& workingFolder,
                      const QList<log::QsoRecord>& records)
{
    QString error;
    const auto data = tessaryExportData(records, &error);
    if (!data || !platform::writeFileAtomically(
                     platform::fileInFolder(workingFolder, QLatin1String(kTessaryFileName)), *data, &error)) {
        dialogs.beep();
        dialogs.message(QStringLiteral("Unable to write file."), error, platform::MessageIcon::Critical);
        return;
    }
    dialogs.beep();
    // The folder in this text is the one the Tessary instructions name, not the real working folder.
    dialogs.message(QStringLiteral("Export Successful!"),
                    QStringLiteral("LogExp.txt has been written to this program's working directory "
                                   "(c:\\program files\\Zentlo).  Import these contacts into the Tessary program "
                                   "by clicking File, Import, and navigating to this directory from the Tessary "
                                   "program.  Transferring your files by ADIF is now the preferred method."));
}

} // namespace tenlog::exports
