// The main window.
#include "log/ui/MainWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tenlog::log {

QString mainWindowCaption()
{
    return QStringLiteral(TENLOG_CAPTION " " TENLOG_VERSION);
}

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent)
    , m_services(std::move(services))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(mainWindowCaption());
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    setCentralWidget(central);
    // The window covers the whole screen; its areas are laid out to that size.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
}

} // namespace tenlog::log
