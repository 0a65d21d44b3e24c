// Maps the program's folder roles onto the XDG layout of a Linux desktop.
#include "platform/qt/SystemPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <filesystem>
#include <system_error>

namespace tenlog::platform {

namespace {

// XDG_DOCUMENTS_DIR is normally not in the environment but in
// ~/.config/user-dirs.dirs, as a line XDG_DOCUMENTS_DIR="$HOME/Documents".
QString documentsFromUserDirs(const QString& configHome, const QString& home)
{
    QFile file(QDir(configHome).filePath(QStringLiteral("user-dirs.dirs")));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (!line.startsWith(QLatin1String("XDG_DOCUMENTS_DIR=")))
            continue;
        QString value = line.mid(18);
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        value.replace(QLatin1String("$HOME"), home);
        // A documents folder equal to home means "not configured".
        if (QDir::cleanPath(value) == QDir::cleanPath(home))
            return {};
        return value;
    }
    return {};
}

// Two names for one folder, such as home through a symbolic link and the
// resolved current folder that getcwd reports.
bool sameFolder(const QString& a, const QString& b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    const QString canonicalB = QFileInfo(b).canonicalFilePath();
    if (!canonicalA.isEmpty() && !canonicalB.isEmpty())
        return canonicalA == canonicalB;
    return QDir::cleanPath(a) == QDir::cleanPath(b);
}

std::filesystem::path fileSystemPath(const QString& folder)
{
    return std::filesystem::path(QFile::encodeName(folder).toStdString());
}

} // namespace

QString chooseWorkingFolder(const WorkingFolderRequest& request, const QString& currentFolder,
                            const QString& home)
{
    QString argument = request.argument;
    if (argument == QLatin1String("~") || argument.startsWith(QLatin1String("~/")))
        argument = home + argument.mid(1);
    if (!argument.isEmpty())
        return QDir::cleanPath(QDir(currentFolder).absoluteFilePath(argument));
    if (request.desktop || sameFolder(currentFolder, home))
        return QDir::cleanPath(home + QLatin1Char('/') + QLatin1String(kDesktopFolderName));
    return QDir::cleanPath(currentFolder);
}

QString enterWorkingFolder(const QString& folder)
{
    const QString shown = QDir::toNativeSeparators(folder);
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return shown + QStringLiteral(" is a file, not a folder.");
    std::error_code error;
    const std::filesystem::path path = fileSystemPath(folder);
    if (!info.exists()) {
        std::filesystem::create_directories(path, error);
        if (error)
            return QStringLiteral("The folder ") + shown + QStringLiteral(" could not be created: ")
                + QString::fromLocal8Bit(error.message().c_str()) + QLatin1Char('.');
    }
    std::filesystem::current_path(path, error);
    if (error)
        return QStringLiteral("The folder ") + shown + QStringLiteral(" could not be entered: ")
            + QString::fromLocal8Bit(error.message().c_str()) + QLatin1Char('.');
    return {};
}

SystemPaths::SystemPaths(const QProcessEnvironment& environment, QString workingFolder,
                         QString executableFolder)
    : m_working(std::move(workingFolder))
{
    m_profile = environment.value(QStringLiteral("HOME"));
    const QString home = m_profile.isEmpty() ? QDir::homePath() : m_profile;

    m_myDocuments = environment.value(QStringLiteral("XDG_DOCUMENTS_DIR"));
    if (m_myDocuments.isEmpty()) {
        QString configHome = environment.value(QStringLiteral("XDG_CONFIG_HOME"));
        if (configHome.isEmpty())
            configHome = home + QStringLiteral("/.config");
        m_myDocuments = documentsFromUserDirs(configHome, home);
    }
    if (m_myDocuments.isEmpty())
        m_myDocuments = home + QStringLiteral("/Documents");
    m_myDocuments = QDir::cleanPath(m_myDocuments);

    m_documents = QDir::cleanPath(home + QStringLiteral("/Documents"));

    m_appData = environment.value(QStringLiteral("XDG_DATA_HOME"));
    if (m_appData.isEmpty())
        m_appData = home + QStringLiteral("/.local/share");
    m_appData = QDir::cleanPath(m_appData);

    m_shipped = environment.value(QStringLiteral("TENLOG_DATA"));
    if (m_shipped.isEmpty()) {
        const QString installed = QDir::cleanPath(executableFolder + QStringLiteral("/../share/tenlog"));
        m_shipped = QFileInfo(installed).isDir() ? installed : QStringLiteral(TENLOG_SOURCE_DATA_DIR);
    }
}

} // namespace tenlog::platform
