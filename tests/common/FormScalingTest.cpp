// Dialog scaling applied to real widgets.
#include "common/ui/FormScaling.h"

#include "ScriptedDialogs.h"

#include <QDialog>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

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

TEST(FormScaling, EverythingFollowsTheScreenAndScalingTwiceDoesNotCompound)
{
    Designed d;
    ScriptedDialogs dialogs;
    const ScreenMetrics screen{1280, 960, 96.0}; // factor 2 both ways
    for (int pass = 0; pass < 2; ++pass) {
        scaleFormToScreen(&d.form, dialogs, screen);
        EXPECT_EQ(d.form.size(), QSize(640, 480));
        EXPECT_EQ(d.label->geometry(), QRect(20, 20, 200, 40));
        EXPECT_EQ(d.list->geometry(), QRect(20, 80, 600, 300));
        EXPECT_DOUBLE_EQ(d.form.font().pointSizeF(), 16.0);
        EXPECT_DOUBLE_EQ(d.label->font().pointSizeF(), 24.0);
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
        double labelPoints; // the 12-point label
    };
    // The cap applies to the width factor: 3 is capped to 1.5, 1.25 is kept
    // although the height factor is 2.
    for (const Case& c : {Case {{1920, 960, 96.0}, 18.0}, Case {{800, 960, 96.0}, 15.0}}) {
        Designed d;
        ScriptedDialogs dialogs;
        scaleFormToScreen(&d.form, dialogs, c.screen, {.widthFontCap = 1.5});
        EXPECT_DOUBLE_EQ(d.label->font().pointSizeF(), c.labelPoints) << c.screen.widthPx;
        EXPECT_DOUBLE_EQ(d.form.font().pointSizeF(), c.labelPoints / 12.0 * 8.0) << c.screen.widthPx;
        EXPECT_EQ(d.label->geometry().height(), 40) << "positions still follow the screen";
    }
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
