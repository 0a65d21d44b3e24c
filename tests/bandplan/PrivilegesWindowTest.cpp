// The privileges window as the operator opens it from the main window.
#include "../station/MainWindowFixture.h"

#include "bandplan/ui/PrivilegesWindow.h"

#include "AccessibilityAudit.h"

#include <QAction>
#include <QFile>

namespace {

using tenlog::bandplan::PrivilegesChartView;

TEST_F(MainWindowTest, PrivilegesChartFromTheOptionsMenu)
{
    scriptStation();
    ASSERT_TRUE(start());
    bool ran = false;
    dialogs.modalScripts.push_back([&](QDialog* shown) {
        ran = true;
        shown->resize(1000, 700);
        shown->show();
        EXPECT_EQ(shown->windowTitle(), QStringLiteral("Frequency Privileges"));
        EXPECT_EQ(tenlog::testing::controlsWithoutAccessibleName(shown), QStringList());
        auto* title = shown->findChild<QLabel*>(QStringLiteral("Label2"));
        auto* view = shown->findChild<PrivilegesChartView*>();
        EXPECT_EQ(title->text(), QStringLiteral("Extra Frequency Privileges"));
        EXPECT_TRUE(shown->findChild<QLabel*>(QStringLiteral("Label1"))->text().startsWith(
            QStringLiteral("Frequencies Effective: ")));
        EXPECT_EQ(view->chart().rows.size(), 16);
        // The 10 m phone segment lies where its edges say, with its tool tip.
        const auto& rows = view->chart().rows;
        const auto tenMetres = std::find_if(rows.begin(), rows.end(), [](const auto& r) { return r.band == u"10"; });
        const int row = int(tenMetres - rows.begin());
        const QRectF bar = view->barRect(row);
        const QPointF inPhone(bar.left() + bar.width() * (29.0 - 28.0) / 1.7, bar.center().y());
        EXPECT_EQ(view->toolTipAt(inPhone), QStringLiteral("PH  28.300 - 29.700"));
        EXPECT_EQ(view->toolTipAt(view->nameRect(row).center()), QStringLiteral("10  28.000 - 29.700"));

        shown->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        EXPECT_EQ(title->text(), QStringLiteral("Novice Frequency Privileges"));
        EXPECT_EQ(view->chart().rows.size(), 6) << "80, 40, 15, 10, 1.25 and 23 m";
        shown->findChild<QPushButton*>(QStringLiteral("Command7"))->click();
        EXPECT_FALSE(shown->isVisible());
        return int(QDialog::Accepted);
    });
    QAction* item = window->findChild<QAction*>(QStringLiteral("mnuPrivileges"));
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_EQ(item->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
    item->trigger();
    EXPECT_TRUE(ran);

    // A bad file is reported; the window still opens, untitled, and a class
    // button draws what was read before the fault.
    QFile file(work("BandPlan.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\"2012\"\r\n\"10\",\"O\",\"PH\",28,29.7\r\n\"10\",\"E\",\"PH\",28.3,29.7\r\n\"6\",\"E\",\"CW\",x,1\r\n");
    file.close();
    const size_t before = dialogs.messages.size();
    dialogs.modalScripts.push_back([&](QDialog* shown) {
        EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("Privelages"));
        auto* view = shown->findChild<PrivilegesChartView*>();
        EXPECT_TRUE(view->chart().rows.isEmpty());
        shown->findChild<QPushButton*>(QStringLiteral("Command6"))->click();
        EXPECT_EQ(view->chart().rows.size(), 1);
        return int(QDialog::Accepted);
    });
    item->trigger();
    ASSERT_EQ(dialogs.messages.size(), before + 1);
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Band Data Not Available."));
    EXPECT_EQ(dialogs.messages.back().text, QStringLiteral("Band data not available."));
}

} // namespace
