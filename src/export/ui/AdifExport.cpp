// The ADIF export's questions, file and messages.
#include "export/ui/AdifExport.h"

#include "export/Adif.h"
#include "export/Cabrillo.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/DurableFile.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QLocale>

namespace tenlog::exports {

namespace {

void fail(platform::Dialogs& dialogs, const QString& description)
{
    dialogs.beep();
    dialogs.message(QStringLiteral("Unable to write file."), description, platform::MessageIcon::Critical);
}

// The section last written on the summary sheet: whether the station sends
// serial numbers is decided there, and the ADIF exchange must agree.
QString rememberedSection(const platform::SettingsStore* settings)
{
    if (!settings)
        return {};
    for (const RememberedDetail& detail : kRememberedDetails) {
        if (detail.member == &CabrilloDetails::section)
            return settings->value(QString::fromLatin1(kSettingsApplication), QString::fromLatin1(kSettingsSection),
                                   QString::fromLatin1(detail.settingsKey), QString());
    }
    return {};
}

// Logbooks refuse a Tx_Pwr that is not a number, so text such as "100W" is
// asked about again (with what was typed) rather than written or dropped.
QString askForPower(platform::Dialogs& dialogs)
{
    QString typed;
    for (;;) {
        typed = dialogs
                    .inputBox(QStringLiteral("Please enter your transmitter output power."),
                              QStringLiteral("Please enter the power value that you would like to record.  "
                                             "This is an optional value that will be included in each QSO "
                                             "record and displayed in Tessary's power output column."),
                              typed)
                    .value_or(QString());
        if (const auto power = adifPower(typed))
            return *power;
        dialogs.beep();
        dialogs.message(QStringLiteral("Invalid Power"),
                        QStringLiteral("The power \"") + typed
                            + QStringLiteral("\" is not a number of watts. Type a number such as 100 or 0.5, "
                                             "or leave it empty."),
                        platform::MessageIcon::Warning);
    }
}

} // namespace

void runAdifExport(const AdifExportContext& context)
{
    platform::Dialogs& dialogs = context.dialogs;
    // Both values are optional: Cancel counts as nothing typed, and the export goes on.
    AdifExtras extras;
    extras.power = askForPower(dialogs);
    extras.comment = dialogs
                         .inputBox(QStringLiteral("Please enter a comment."),
                                   QStringLiteral("Please enter a comment that you would like to appear on each "
                                                  "QSO record.  This is an optional description that will be "
                                                  "displayed in Tessary's Comments column."),
                                   QStringLiteral("ARRL 10 Meter Contest"))
                         .value_or(QString());

    const common::AppFolders& folders = context.folders;
    DxccTable dxcc;
    QString error;
    if (!dxcc.loadFirstFound({folders.sharedFolder, folders.userDataFolder, folders.workingFolder}, &error)) {
        fail(dialogs, error);
        return;
    }

    const auto chosen = dialogs.saveFile(
        {QString(), QStringLiteral("ADIF Files (*.adi)"), folders.userDataFolder, QStringLiteral("10Meter.adi"), true});
    if (!chosen)
        return;
    const QString path = QDir(folders.workingFolder).absoluteFilePath(*chosen);

    const QString today = QLocale::system().toString(context.clock.localNow().date(), QLocale::ShortFormat);
    const AdifStation station{context.ownCall, context.ownState, rememberedSection(context.settings)};
    const QByteArray data = adifFile(adifHeader(context.caption, today, context.clock.utcNow()), context.records,
                                     dxcc, extras, station);
    if (!platform::writeFileAtomically(path, data, &error)) {
        fail(dialogs, error);
        return;
    }
    // The message names the default file whatever name was chosen.
    dialogs.message(QStringLiteral("File Written Successfully."),
                    QStringLiteral("The file 10Meter.adi was successfully written to the directory:\n\n") + path
                        + QLatin1Char('.'));
}

} // namespace tenlog::exports
