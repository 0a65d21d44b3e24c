// Windows come back where the operator put them, in the same run and the
// next one, on real dialogs and a real settings store in a temporary folder;
// a remembered place the screen no longer has is brought back inside it.
#include "common/ui/ScreenFit.h"
#include "common/ui/WindowPlacements.h"

#include "platform/qt/QtSettingsStore.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>

using tenlog::common::keepOnScreen;
using tenlog::common::WindowPlacements;
using tenlog::platform::QtSettingsStore;

namespace {

QRect area()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// A setup window as the program makes them: named, laid out, kept on screen.
std::unique_ptr<QDialog> makeWindow(bool resizable = true)
{
    auto window = std::make_unique<QDialog>();
    window->setObjectName(QStringLiteral("frmSetup"));
    auto* layout = new QVBoxLayout(window.get());
    layout->addWidget(new QLineEdit(window.get()));
    if (!resizable)
        layout->setSizeConstraint(QLayout::SetFixedSize);
    else
        window->resize(260, 180);
    keepOnScreen(window.get());
    return window;
}

void showAndWait(QWidget* window)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
}

class WindowPlacementsTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    // One program run: its settings store and its placements.
    struct Run {
        QtSettingsStore store;
        WindowPlacements placements{store};
        explicit Run(const QString& root) : store(root) {}
    };
    std::unique_ptr<Run> run = std::make_unique<Run>(folder.path());

    void nextRun() { run = std::make_unique<Run>(folder.path()); }
    QString stored() const
    {
        return run->store.value(QStringLiteral("TenLog"), QStringLiteral("WindowPlacement"), QStringLiteral("frmSetup"), QString());
    }
    void store(const QString& value)
    {
        run->store.setValue(QStringLiteral("TenLog"), QStringLiteral("WindowPlacement"), QStringLiteral("frmSetup"), value);
    }
};

} // namespace

TEST_F(WindowPlacementsTest, APlaceAndSizeComeBackInTheNextRun)
{
    const QPoint put = area().topLeft() + QPoint(40, 30);
    {
        auto window = makeWindow();
        showAndWait(window.get());
        window->move(put);
        window->resize(300, 220);
        window->hide(); // "Done"
        window->show(); // opened again in the same run
        EXPECT_EQ(window->pos(), put);
        window->close();
    }
    nextRun();
    auto window = makeWindow();
    showAndWait(window.get());
    EXPECT_EQ(window->pos(), put);
    EXPECT_EQ(window->size(), QSize(300, 220));
}

TEST_F(WindowPlacementsTest, AWindowOfFixedSizeGetsOnlyItsPlaceBack)
{
    store(QStringLiteral("%1,%2,900,700").arg(area().left() + 10).arg(area().top() + 20));
    auto window = makeWindow(false);
    const QSize own = window->sizeHint();
    showAndWait(window.get());
    EXPECT_EQ(window->pos(), area().topLeft() + QPoint(10, 20));
    EXPECT_EQ(window->size(), own);
}

TEST_F(WindowPlacementsTest, APlaceTheScreenNoLongerHasIsBroughtInside)
{
    const QRect a = area();
    struct Case {
        const char* what;
        QString value;
    };
    const Case cases[] = {
        {"a monitor to the right that has gone", QStringLiteral("%1,100,260,180").arg(a.right() + 400)},
        {"a larger screen than this one", QStringLiteral("%1,%2,%3,%4").arg(a.left()).arg(a.top()).arg(a.width() * 2).arg(a.height() * 2)},
        {"above and left of the screen", QStringLiteral("-3000,-2000,260,180")},
        {"a damaged entry", QStringLiteral("12,x,260,180")},
    };
    for (const Case& c : cases) {
        store(c.value);
        auto window = makeWindow();
        showAndWait(window.get());
        EXPECT_TRUE(a.contains(window->frameGeometry())) << c.what;
        window.reset(); // closed: remembers the place it was brought to
        EXPECT_NE(stored(), c.value) << c.what;
    }
}

TEST_F(WindowPlacementsTest, WindowsNotKeptOnScreenAreLeftAlone)
{
    QDialog message; // a message box, say: placed by Qt over its parent
    message.setObjectName(QStringLiteral("frmSetup"));
    showAndWait(&message);
    message.hide();
    EXPECT_TRUE(stored().isEmpty());
}
