// The per-user settings store on QSettings in INI format.
#include "platform/qt/QtSettingsStore.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace tenlog::platform {

QtSettingsStore::QtSettingsStore(QString rootFolder)
    : m_root(std::move(rootFolder))
{
    if (m_root.isEmpty())
        m_root = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString QtSettingsStore::fileFor(const QString& application) const
{
    return QDir(m_root).filePath(application + QStringLiteral(".ini"));
}

QString QtSettingsStore::value(const QString& application, const QString& section,
                               const QString& key, const QString& defaultValue) const
{
    QSettings settings(fileFor(application), QSettings::IniFormat);
    return settings.value(section + QLatin1Char('/') + key, defaultValue).toString();
}

void QtSettingsStore::setValue(const QString& application, const QString& section,
                               const QString& key, const QString& value)
{
    QSettings settings(fileFor(application), QSettings::IniFormat);
    settings.setValue(section + QLatin1Char('/') + key, value);
    settings.sync();
}

} // namespace tenlog::platform
