// The start-up logo window and its two timers.
#include "app/ui/LogoWindow.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using tenlog::app::LogoWindow;

namespace {

QTimer* timer(QWidget* w, const char* name)
{
    return w->findChild<QTimer*>(QString::fromLatin1(name));
}

QLabel* image(QWidget* w, const char* name)
{
    return w->findChild<QLabel*>(QString::fromLatin1(name));
}

} // namespace

TEST(LogoWindow, BuiltInPictureAppearsThenTheWindowCloses)
{
    QTemporaryDir company;
    QPointer<LogoWindow> logo = new LogoWindow(company.path());
    logo->show();
    EXPECT_EQ(logo->objectName(), QStringLiteral("frmKorvoLogo"));
    EXPECT_FALSE(logo->showsSplash());
    EXPECT_EQ(timer(logo, "Timer2")->interval(), 1100);
    EXPECT_EQ(timer(logo, "Timer1")->interval(), 1900);
    EXPECT_TRUE(timer(logo, "Timer2")->isActive());
    EXPECT_FALSE(image(logo, "Image2")->isVisible());

    QTRY_VERIFY_WITH_TIMEOUT(image(logo, "Image2")->isVisible(), 5000);
    // It closes on its own and deletes itself.
    QTRY_VERIFY_WITH_TIMEOUT(logo.isNull(), 5000);
}

TEST(LogoWindow, SplashPictureIsShownLongerAndClosesOnClick)
{
    QTemporaryDir company;
    QDir().mkpath(company.filePath(QStringLiteral("Shared")));
    QImage picture(64, 32, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    ASSERT_TRUE(picture.save(company.filePath(QStringLiteral("Shared/splash.jpg")), "JPG"));

    QPointer<LogoWindow> logo = new LogoWindow(company.path());
    logo->show();
    EXPECT_TRUE(logo->showsSplash());
    EXPECT_EQ(timer(logo, "Timer1")->interval(), 2700);
    EXPECT_FALSE(timer(logo, "Timer2")->isActive());
    EXPECT_TRUE(image(logo, "Image1")->isVisible());

    QTest::mouseClick(image(logo, "Image1"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(logo.isNull(), 2000);
}

TEST(LogoWindow, DamagedSplashFallsBackToTheBuiltInPicture)
{
    QTemporaryDir company;
    QDir().mkpath(company.filePath(QStringLiteral("Shared")));
    QFile junk(company.filePath(QStringLiteral("Shared/splash.jpg")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    auto* logo = new LogoWindow(company.path());
    EXPECT_FALSE(logo->showsSplash());
    EXPECT_EQ(timer(logo, "Timer1")->interval(), 1900);
    delete logo;
}
