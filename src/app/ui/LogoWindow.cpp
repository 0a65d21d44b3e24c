// The start-up logo window.
#include "app/ui/LogoWindow.h"

#include "common/FormGeometry.h"
#include "common/ui/FormScaling.h"
#include "common/ui/ScreenFit.h"

#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

namespace tenlog::app {

using namespace tenlog::common;

namespace {

constexpr QSize kLogoSize(480, 270);

// The built-in picture: the program's name over a band of sky.
QPixmap builtInPicture()
{
    QPixmap picture(kLogoSize);
    QPainter p(&picture);
    QLinearGradient sky(0, 0, 0, kLogoSize.height());
    sky.setColorAt(0, QColor(12, 40, 96));
    sky.setColorAt(1, QColor(40, 110, 170));
    p.fillRect(picture.rect(), sky);
    p.setPen(Qt::white);
    QFont title(QStringLiteral("Sans Serif"), 40, QFont::Bold);
    p.setFont(title);
    p.drawText(QRect(0, 40, kLogoSize.width(), 90), Qt::AlignCenter, QStringLiteral("TenLog"));
    QFont sub(QStringLiteral("Sans Serif"), 14);
    p.setFont(sub);
    p.drawText(QRect(0, 140, kLogoSize.width(), 40), Qt::AlignCenter,
               QStringLiteral("ARRL 10 Meter Contest Log"));
    p.setFont(QFont(QStringLiteral("Sans Serif"), 10));
    p.drawText(QRect(0, 200, kLogoSize.width(), 30), Qt::AlignCenter,
               QStringLiteral("Version ") + QStringLiteral(TENLOG_VERSION));
    return picture;
}

} // namespace

LogoWindow::LogoWindow(const QString& companyFolder, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmKorvoLogo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAccessibleName(QStringLiteral("TenLog is starting"));
    resize(kLogoSize);
    // Until the picture appears the window shows the program's name on the
    // picture's colour, so it never looks empty.
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(12, 40, 96));
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);
    auto* name = new QLabel(QStringLiteral("TenLog"), this);
    name->setObjectName(QStringLiteral("lblName"));
    name->setAccessibleName(QStringLiteral("TenLog"));
    name->setAlignment(Qt::AlignCenter);
    name->setGeometry(rect());
    QFont nameFont(QStringLiteral("Sans Serif"), 28, QFont::Bold);
    name->setFont(nameFont);

    m_splashPicture = new QLabel(this);
    m_splashPicture->setObjectName(QStringLiteral("Image1"));
    m_splashPicture->setAccessibleName(QStringLiteral("Splash picture"));
    m_splashPicture->setAccessibleDescription(QStringLiteral("Click it to close this window"));
    m_splashPicture->setGeometry(rect());
    m_splashPicture->setScaledContents(true);
    m_splashPicture->installEventFilter(this);
    m_splashPicture->hide();

    m_builtInPicture = new QLabel(this);
    m_builtInPicture->setObjectName(QStringLiteral("Image2"));
    m_builtInPicture->setAccessibleName(QStringLiteral("TenLog logo"));
    m_builtInPicture->setGeometry(rect());
    m_builtInPicture->setPixmap(builtInPicture());
    m_builtInPicture->hide();

    m_closeTimer = new QTimer(this);
    m_closeTimer->setObjectName(QStringLiteral("Timer1"));
    m_closeTimer->setSingleShot(true);
    connect(m_closeTimer, &QTimer::timeout, this, &QWidget::close);

    m_pictureTimer = new QTimer(this);
    m_pictureTimer->setObjectName(QStringLiteral("Timer2"));
    m_pictureTimer->setSingleShot(true);
    connect(m_pictureTimer, &QTimer::timeout, m_builtInPicture, &QWidget::show);

    const QString splashPath = companyFolder + QStringLiteral("/Shared/splash.jpg");
    QPixmap splash;
    if (QFileInfo(splashPath).isFile() && splash.load(splashPath)) {
        m_splash = true;
        m_splashPicture->setPixmap(splash);
        m_splashPicture->show();
        m_closeTimer->setInterval(2700);
    } else {
        m_closeTimer->setInterval(1900);
        m_pictureTimer->setInterval(1100);
        m_pictureTimer->start();
    }
    m_closeTimer->start();
    placeOnScreen();
}

void LogoWindow::placeOnScreen()
{
    if (const auto screen = screenMetricsFor(this); screen && screen->valid())
        move(placeAboveCentre(size(), screen->widthPx, *screen));
    keepOnScreen(this);
}

bool LogoWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_splashPicture && event->type() == QEvent::MouseButtonRelease) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void LogoWindow::keyPressEvent(QKeyEvent* event)
{
    // A plain QWidget has no Esc handling of its own, unlike a dialog.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tenlog::app
