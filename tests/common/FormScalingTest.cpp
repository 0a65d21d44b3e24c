// Dialog scaling applied to real widgets.
#include "common/ui/FormScaling.h"

#include "ScriptedDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <algorithm>

using namespace tenlog::common;
using tenlog::testing::ScriptedDialogs;

namespace {

struct Designed {
    QDialog form;
    QLabel* label;
    QTreeWidget* list;
    QFrame* line;
    QWidget* panel;
    QLineEdit* inLayout;

    Designed()
    {
        form.resize(320, 240);
        QFont font = form.font();
        font.setPointSizeF(8.0);
        form.setFont(font);
        label = new QLabel(QStringLiteral("Call"), &form);
        label->setGeometry(10, 10, 100, 20);
        QFont big = label->font();
        big.setPointSizeF(12.0);
        label->setFont(big);
        list = new QTreeWidget(&form);
        list->setGeometry(10, 40, 300, 150);
        list->setColumnCount(2);
        list->header()->setStretchLastSection(false);
        list->header()->resizeSection(0, 55);
        list->header()->resizeSection(1, 90);
        // A line joining the label's bottom edge to the list's top edge.
        line = new QFrame(&form);
        line->setFrameShape(QFrame::HLine);
        line->setGeometry(10, 30, 300, 10);
        panel = new QWidget(&form);
        panel->setGeometry(10, 195, 300, 40);
        auto* layout = new QVBoxLayout(panel);
        inLayout = new QLineEdit(panel);
        layout->addWidget(inLayout);
    }
};

} // namespace

TEST(FormScaling, ReferenceScreenOnlyMovesTheWindow)
{
    Designed d;
    ScriptedDialogs dialogs;
    scaleFormToScreen(&d.form, dialogs, ScreenMetrics{640, 480, 96.0});
    EXPECT_EQ(d.form.size(), QSize(320, 240));
    EXPECT_EQ(d.form.pos(), QPoint(160, 120 - 11));
    EXPECT_EQ(d.label->geometry(), QRect(10, 10, 100, 20));
    EXPECT_DOUBLE_EQ(d.label->font().pointSizeF(), 12.0);
    EXPECT_EQ(d.list->header()->sectionSize(0), 55);
    EXPECT_TRUE(dialogs.messages.empty());
}

// The type grows with the screen only as far as the main window's, which
// shows the application's font; the form's design type is 8 points.
double mainTypeFactor()
{
    return QApplication::font().pointSizeF() / 8.0;
}

TEST(FormScaling, EverythingFollowsTheScreenAndScalingTwiceDoesNotCompound)
{
    Designed d;
    ScriptedDialogs dialogs;
    const ScreenMetrics screen{1280, 960, 96.0}; // factor 2 both ways
    const double type = std::min(2.0, mainTypeFactor());
    for (int pass = 0; pass < 2; ++pass) {
        scaleFormToScreen(&d.form, dialogs, screen);
        EXPECT_EQ(d.form.size(), QSize(640, 480));
        EXPECT_EQ(d.label->geometry(), QRect(20, 20, 200, 40));
        EXPECT_EQ(d.list->geometry(), QRect(20, 80, 600, 300));
        EXPECT_DOUBLE_EQ(d.form.font().pointSizeF(), 8.0 * type);
        EXPECT_DOUBLE_EQ(d.label->font().pointSizeF(), 12.0 * type) << "a larger control keeps its proportion";
        EXPECT_EQ(d.list->header()->sectionSize(0), 110);
        EXPECT_EQ(d.list->header()->sectionSize(1), 180);
    }
    // The line still joins the label to the list.
    EXPECT_EQ(d.line->geometry().top(), d.label->geometry().bottom() + 1);
    EXPECT_EQ(d.line->geometry().bottom() + 1, d.list->geometry().top());
    // A control inside a layout keeps being placed by its layout.
    EXPECT_EQ(d.panel->geometry(), QRect(20, 390, 600, 80));
}

TEST(FormScaling, AWidthFontCapLimitsTheTypeButNotTheLayout)
{
    struct Case {
        ScreenMetrics screen;
        double typeFactor;
    };
    // Narrow and tall: the width factor 0.75 is taken, not the height's 2.
    // Wide: the width factor 3 is capped to 1.5, and then to the main window's type.
    for (const Case& c : {Case {{480, 960, 96.0}, 0.75}, Case {{1920, 960, 96.0}, std::min(1.5, mainTypeFactor())}}) {
        Designed d;
        ScriptedDialogs dialogs;
        scaleFormToScreen(&d.form, dialogs, c.screen, {.widthFontCap = 1.5});
        EXPECT_DOUBLE_EQ(d.label->font().pointSizeF(), 12.0 * c.typeFactor) << c.screen.widthPx;
        EXPECT_DOUBLE_EQ(d.form.font().pointSizeF(), 8.0 * c.typeFactor) << c.screen.widthPx;
        EXPECT_EQ(d.label->geometry().height(), 40) << "positions still follow the screen";
    }
}

TEST(FormScaling, AFormLargerThanTheScreenStaysWithinItsAvailableArea)
{
    Designed d;
    ScriptedDialogs dialogs;
    // Scaled for a screen four times the one there is.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    scaleFormToScreen(&d.form, dialogs, ScreenMetrics{area.width() * 4, area.height() * 4, 96.0});
    EXPECT_TRUE(area.contains(d.form.frameGeometry())) << d.form.frameGeometry().x() << "," << d.form.frameGeometry().y();
    EXPECT_EQ(d.label->geometry(), QRect(scaleRect(QRect(10, 10, 100, 20), screenFactors({area.width() * 4, area.height() * 4, 96.0}))))
        << "the controls keep their scaled places";
}

TEST(FormScaling, ScaleToAnExplicitSize)
{
    Designed d;
    ScriptedDialogs dialogs;
    const ScreenMetrics screen{1024, 768, 96.0};
    // Twice the reference width, the reference height, window set to the target exactly.
    scaleFormToSize(&d.form, 9600.0, 3600.0, 4800.0, 3600.0, true, dialogs, screen);
    EXPECT_EQ(d.form.size(), QSize(640, 240));
    EXPECT_EQ(d.form.x(), 0);
    EXPECT_EQ(d.label->geometry(), QRect(20, 10, 200, 20));
}

TEST(FormScaling, UnreadableScreenIsReportedAndNothingChanges)
{
    Designed d;
    ScriptedDialogs dialogs;
    scaleFormToScreen(&d.form, dialogs, ScreenMetrics{0, 0, 96.0});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Form Resize Error"));
    EXPECT_EQ(d.form.size(), QSize(320, 240));
}
