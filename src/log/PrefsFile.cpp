// tnpref.txt read leniently and replaced without losing a damaged copy.
#include "log/PrefsFile.h"

#include "platform/DurableFile.h"
#include "text/DateText.h"
#include "text/SettingsValues.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <utility>

namespace tenlog::log {

PrefsFile::PrefsFile(QString folder)
    : m_folder(std::move(folder))
{
}

QString PrefsFile::path() const
{
    return platform::fileInFolder(m_folder, prefsFileName());
}

Prefs PrefsFile::load()
{
    const QString file = path();
    const QString shown = QDir::toNativeSeparators(file);
    const platform::OwnFileRead read = platform::readOwnFile(file, text::kSettingsFileMaxBytes);
    Prefs prefs;
    QString damage;
    switch (read.result) {
    case platform::OwnFileRead::Result::Missing:
        m_problem = shown + QStringLiteral(" was not found. The program runs with the default preferences and "
                                           "writes a new file when they are saved.");
        m_damagedOnDisk = false;
        return prefs;
    case platform::OwnFileRead::Result::Failed:
        // A folder, a broken link, a file too large or unreadable: whatever
        // stands there is kept, renamed, when the preferences are saved.
        damage = shown + QLatin1Char(' ') + read.problem;
        m_damagedOnDisk = true;
        break;
    case platform::OwnFileRead::Result::Read:
        prefs = readPrefsAsFarAsSound(read.data, shown, &damage);
        m_damagedOnDisk = !damage.isEmpty();
        break;
    }
    if (damage.isEmpty()) {
        m_problem.clear();
        return prefs;
    }
    m_problem = damage
              + QStringLiteral(". The program runs with the default preferences for what could not be read; check "
                               "the station details, mode, colours and options. The damaged file is kept as it is "
                               "until the preferences are saved, and is then renamed, not overwritten.");
    return prefs;
}

bool PrefsFile::save(const Prefs& prefs, const QDateTime& localNow, QString* error)
{
    const std::optional<QByteArray> data = prefsBytes(prefs, error);
    if (!data)
        return false;
    const QString file = path();
    QString aside;
    if (m_damagedOnDisk && (QFileInfo(file).exists() || QFileInfo(file).isSymLink())) {
        QString why;
        aside = platform::setAside(
            file, QStringLiteral(".damaged-") + text::formatDateTime(localNow, QStringLiteral("yyyymmdd-hhnnss")), &why);
        if (aside.isEmpty()) {
            if (error)
                *error = QStringLiteral("the damaged %1 could not be renamed to keep it (%2), so it was not overwritten")
                             .arg(QDir::toNativeSeparators(file), why);
            return false;
        }
    }
    if (!platform::writeFileAtomically(file, *data, error)) {
        // Put the damaged file back rather than leave no preferences at all.
        if (!aside.isEmpty()
            && ::rename(QFile::encodeName(aside).constData(), QFile::encodeName(file).constData()) != 0 && error)
            *error += QStringLiteral("; the damaged file is now %1").arg(QDir::toNativeSeparators(aside));
        return false;
    }
    m_damagedOnDisk = false;
    if (!aside.isEmpty())
        m_setAsideNotice = QStringLiteral("The damaged %1 was renamed to %2, and the preferences were saved in a new %3.")
                               .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(aside), prefsFileName());
    return true;
}

QString PrefsFile::takeSetAsideNotice()
{
    return std::exchange(m_setAsideNotice, QString());
}

} // namespace tenlog::log
