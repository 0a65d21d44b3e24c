// The main window.
#include "log/ui/MainWindow.h"

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
}

} // namespace tenlog::log
