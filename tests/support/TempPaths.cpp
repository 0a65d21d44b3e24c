// Paths rooted in one temporary folder.
#include "TempPaths.h"

#include <QDir>

namespace tenlog::testing {

TempPaths::TempPaths()
{
    const QString base = m_root.path();
    m_profile = base + QStringLiteral("/home");
    m_myDocuments = m_profile + QStringLiteral("/Documents");
    m_documents = m_profile + QStringLiteral("/Documents");
    m_appData = m_profile + QStringLiteral("/.local/share");
    m_working = base + QStringLiteral("/work");
    m_shipped = QStringLiteral(TENLOG_SOURCE_DATA_DIR);
    QDir().mkpath(m_profile);
    QDir().mkpath(m_working);
}

} // namespace tenlog::testing
