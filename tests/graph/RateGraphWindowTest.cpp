// The rate graph window as the operator opens it from the main window: drawn
// and read back pixel by pixel, switched to white and back, read under the
// pointer, resized; and a log that gives no curve says why.
#include "../station/MainWindowFixture.h"

#include "graph/ui/RateGraphView.h"
#include "graph/ui/RateGraphWindow.h"

#include "AccessibilityAudit.h"
#include "GraphContacts.h"

#include <QImage>

namespace {

using graph::RateGraphView;
using graph::RateGraphWindow;

// Whether the colour is at the point or a pixel beside it: lines one or two
// pixels wide fall on either side of a fractional coordinate.
bool colourNear(const QImage& image, const QPointF& at, const QColor& colour)
{
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const QPoint p(int(at.x()) + dx, int(at.y()) + dy);
            if (image.valid(p) && image.pixelColor(p) == colour)
                return true;
        }
    }
    return false;
}

bool anyPixelOf(const QImage& image, const QColor& colour)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour)
                return true;
        }
    }
    return false;
}

// The pointer moved the way the window system moves it, enter and leave included.
void movePointer(QWidget* widget, const QPoint& at)
{
    QTest::mouseMove(widget->window()->windowHandle(), widget->mapTo(widget->window(), at));
}

QImage drawn(RateGraphView* view)
{
    QApplication::processEvents();
    return view->grab().toImage();
}

// A point of the plot box away from the curve and the grid lines: the
// middle of its ninth band, over the long pause of the seven spaced contacts.
QPointF emptyPoint(RateGraphView* view)
{
    const QRectF plot = view->plotRect();
    return {view->curvePoint(1000).x(), plot.top() + plot.height() * 7.5 / 16};
}

QPointF gridPoint(RateGraphView* view)
{
    const QRectF plot = view->plotRect();
    return {view->curvePoint(1000).x(), plot.top() + plot.height() / 16};
}

TEST_F(MainWindowTest, RateGraphFromTheMenuBarIsDrawnSwitchedAndRead)
{
    ASSERT_TRUE(log::LogFile(work("log.txt")).rewrite(tenlog::testing::sevenSpacedContacts()));
    scriptStation();
    ASSERT_TRUE(start());
    const size_t messagesBefore = dialogs.messages.size();
    bool ran = false;
    dialogs.modalScripts.push_back([&](QDialog* shown) {
        ran = true;
        auto* graphWindow = qobject_cast<RateGraphWindow*>(shown);
        EXPECT_NE(graphWindow, nullptr);
        if (!graphWindow)
            return int(QDialog::Rejected);
        EXPECT_EQ(shown->objectName(), QStringLiteral("GraphQSO"));
        EXPECT_EQ(shown->windowTitle(), QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"));
        shown->resize(1000, 700);
        shown->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(shown));
        EXPECT_EQ(tenlog::testing::controlsWithoutAccessibleName(shown), QStringList());
        RateGraphView* view = graphWindow->view();
        EXPECT_EQ(view->accessibleName(), QStringLiteral("QSO rate graph"));
        EXPECT_EQ(view->accessibleDescription(), graphWindow->graph().description());
        EXPECT_TRUE(view->accessibleDescription().contains(QStringLiteral("Peak rate 36 contacts an hour at 12/14 14:08")));

        // The curve through its computed points, the strip under it in each
        // contact's mode colour, nothing in the pause.
        QImage image = drawn(view);
        for (int slot : {100, 300, 506, 1000, 1500})
            EXPECT_TRUE(colourNear(image, view->curvePoint(slot), graph::kCurveColour)) << "curve at slot " << slot;
        EXPECT_EQ(image.pixelColor(view->stripRect(103).center().toPoint()), graph::kPhoneStripColour);
        EXPECT_EQ(image.pixelColor(view->stripRect(203).center().toPoint()), graph::kCwStripColour);
        EXPECT_EQ(image.pixelColor(view->stripRect(150).center().toPoint()), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(emptyPoint(view).toPoint()), QColor(Qt::black));
        EXPECT_TRUE(colourNear(image, gridPoint(view), QColor(128, 128, 128))) << "grey grid on black";

        // The button switches the background and names the one in effect.
        auto* button = shown->findChild<QPushButton*>(QStringLiteral("Command1"));
        EXPECT_EQ(button->text(), QStringLiteral("Black Background"));
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(button->text(), QStringLiteral("White Background"));
        EXPECT_EQ(button->accessibleName(), QStringLiteral("White Background"));
        image = drawn(view);
        EXPECT_EQ(image.pixelColor(emptyPoint(view).toPoint()), QColor(Qt::white));
        EXPECT_TRUE(colourNear(image, gridPoint(view), QColor(Qt::black))) << "black grid on white";
        EXPECT_TRUE(colourNear(image, view->curvePoint(300), graph::kCurveColour));
        EXPECT_EQ(image.pixelColor(view->stripRect(103).center().toPoint()), graph::kPhoneStripColour);
        EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("Label1"))->palette().color(QPalette::WindowText),
                  QColor(Qt::black));
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(button->text(), QStringLiteral("Black Background"));
        EXPECT_EQ(drawn(view).pixelColor(emptyPoint(view).toPoint()), QColor(Qt::black));

        // The pointer over the plot reads the time and rate at its slot.
        auto* reading = shown->findChild<QLabel*>(QStringLiteral("lblReading"));
        const QString hint = reading->text();
        EXPECT_FALSE(hint.isEmpty());
        const QPoint over = view->curvePoint(310).toPoint();
        movePointer(view, over);
        EXPECT_TRUE(QTest::qWaitFor([&] { return reading->text() != hint; }));
        EXPECT_NEAR(view->slotAt(over.x()), 310, 1);
        EXPECT_EQ(reading->text(), graphWindow->graph().slotReading(view->slotAt(over.x())));
        EXPECT_TRUE(reading->text().startsWith(QStringLiteral("14:05 UTC 12/14: "))) << reading->text().toStdString();
        movePointer(view, QPoint(view->width() / 2, view->height() - 2));
        EXPECT_TRUE(QTest::qWaitFor([&] { return reading->text() == hint; }));

        // A smaller window draws the same curve at the new size.
        const QPointF before = view->curvePoint(300);
        shown->resize(700, 480);
        QApplication::processEvents();
        EXPECT_NE(view->curvePoint(300), before);
        image = drawn(view);
        EXPECT_TRUE(colourNear(image, view->curvePoint(300), graph::kCurveColour));
        EXPECT_EQ(image.pixelColor(view->stripRect(103).center().toPoint()), graph::kPhoneStripColour);

        QTest::keyClick(shown, Qt::Key_Escape);
        EXPECT_FALSE(shown->isVisible());
        return int(QDialog::Rejected);
    });
    QAction* item = window->findChild<QAction*>(QStringLiteral("mnuGraph"));
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->isEnabled());
    item->trigger();
    EXPECT_TRUE(ran);
    EXPECT_EQ(dialogs.messages.size(), messagesBefore) << "a log that draws asks nothing";
}

TEST_F(MainWindowTest, RateGraphOfSixContactsSaysSoAndStillOpens)
{
    QList<log::QsoRecord> six = tenlog::testing::sevenSpacedContacts();
    six.removeLast();
    ASSERT_TRUE(log::LogFile(work("log.txt")).rewrite(six));
    scriptStation();
    ASSERT_TRUE(start());
    const size_t messagesBefore = dialogs.messages.size();
    bool ran = false;
    dialogs.modalScripts.push_back([&](QDialog* shown) {
        ran = true;
        auto* graphWindow = qobject_cast<RateGraphWindow*>(shown);
        EXPECT_NE(graphWindow, nullptr);
        if (!graphWindow)
            return int(QDialog::Rejected);
        shown->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(shown));
        RateGraphView* view = graphWindow->view();
        EXPECT_FALSE(graphWindow->graph().hasCurve());
        EXPECT_EQ(view->accessibleDescription(), graphWindow->graph().noCurveReason);
        // Nothing half-drawn: no curve, no strip, and the reason written in
        // the plot box in the labels' colour.
        const QImage image = drawn(view);
        for (const QColor& colour : {graph::kCurveColour, graph::kCwStripColour, graph::kPhoneStripColour})
            EXPECT_FALSE(anyPixelOf(image, colour)) << colour.name().toStdString();
        EXPECT_TRUE(anyPixelOf(image.copy(view->plotRect().toRect().adjusted(2, 2, -2, -2)), QColor(Qt::white)));
        movePointer(view, view->plotRect().center().toPoint());
        EXPECT_TRUE(shown->findChild<QLabel*>(QStringLiteral("lblReading"))->text().isEmpty());
        return int(QDialog::Rejected);
    });
    window->findChild<QAction*>(QStringLiteral("mnuGraph"))->trigger();
    EXPECT_TRUE(ran);
    ASSERT_EQ(dialogs.messages.size(), messagesBefore + 1);
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Not Enough Contacts to Graph."));
    EXPECT_EQ(dialogs.messages.back().text,
              QStringLiteral("The graph will not display with less than 7 contacts.  The graph becomes more meaningful "
                             "as several hours of contest logging are accumulated."));
}

} // namespace
