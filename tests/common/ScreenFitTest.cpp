// A window too tall for the screen, a real dialog under the offscreen
// platform: its content scrolls, with its controls, their names and the Tab
// order intact. (Every window of the program is checked on four screens by
// tests/ui/WindowFitTest; placing and clamping by WindowPlacementsTest.)
#include "common/ui/ScreenFit.h"

#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

using tenlog::common::keepOnScreen;

namespace {

QRect area()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// A dialog of boxes in a grid, rows x columns, each box named "boxR_C".
// They are made column by column, so Tab goes down each column, while the
// grid holds them row by row.
struct BoxDialog {
    QDialog dialog;
    explicit BoxDialog(int rows, int columns = 1)
    {
        dialog.setObjectName(QStringLiteral("boxes"));
        for (int c = 0; c < columns; ++c) {
            for (int r = 0; r < rows; ++r) {
                auto* box = new QLineEdit(&dialog);
                box->setObjectName(QStringLiteral("box%1_%2").arg(r).arg(c));
                box->setMinimumHeight(40);
            }
        }
        auto* grid = new QGridLayout(&dialog);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c)
                grid->addWidget(box(r, c), r, c);
        }
    }
    QLineEdit* box(int r, int c = 0) { return dialog.findChild<QLineEdit*>(QStringLiteral("box%1_%2").arg(r).arg(c)); }
};

} // namespace

TEST(ScreenFit, AWindowTallerThanTheScreenScrollsAndKeepsItsControls)
{
    const int rows = area().height() / 40 + 5; // boxes of 40 pixels, more than the screen holds
    BoxDialog d(rows, 2);
    const auto boxes = [&d] {
        const QList<QLineEdit*> found = d.dialog.findChildren<QLineEdit*>();
        return QSet<QLineEdit*>(found.begin(), found.end());
    };
    const QSet<QLineEdit*> before = boxes();
    keepOnScreen(&d.dialog);
    d.dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d.dialog));
    QApplication::processEvents();

    EXPECT_TRUE(area().contains(d.dialog.frameGeometry()));
    auto* scroll = d.dialog.findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(boxes(), before) << "the same controls, found by the same names";
    // The last row can be scrolled to, and every box keeps its full height.
    QLineEdit* last = d.box(rows - 1, 1);
    scroll->ensureWidgetVisible(last);
    EXPECT_TRUE(scroll->viewport()->rect().contains(QRect(last->mapTo(scroll->viewport(), QPoint()), last->size())));
    EXPECT_GE(last->height(), 40);
    // Tab still goes down the first column, then to the top of the second.
    EXPECT_EQ(d.box(0, 0)->nextInFocusChain(), d.box(1, 0));
    EXPECT_EQ(d.box(rows - 1, 0)->nextInFocusChain(), d.box(0, 1));

    // Shown again, it is not wrapped a second time.
    d.dialog.hide();
    d.dialog.show();
    EXPECT_EQ(d.dialog.findChildren<QScrollArea*>().size(), 1);
}
