// The privileges window as the operator opens it from the main window.
#include "../station/MainWindowFixture.h"

#include "bandplan/ui/PrivilegesWindow.h"

#include "AccessibilityAudit.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QLabel>

#include <algorithm>

namespace {

using tenlog::bandplan::PrivilegesChartView;

// Every band name and every segment text drawn lies wholly inside its box;
// returns how many segments carry their text.
int expectNothingClipped(const PrivilegesChartView* view)
{
    const QFontMetricsF names(view->nameFont());
    const QFontMetricsF segments(view->segmentFont());
    const auto& rows = view->chart().rows;
    for (int row = 0; row < rows.size(); ++row) {
        const QRectF box = view->nameRect(row);
        EXPECT_LE(names.horizontalAdvance(rows[row].caption), box.width()) << rows[row].caption.toStdString();
        EXPECT_LE(names.height(), box.height() + 1) << rows[row].caption.toStdString();
    }
    int withText = 0;
    for (const auto& segment : view->chart().segments) {
        const QString text = view->segmentText(segment);
        if (text.isEmpty())
            continue;
        ++withText;
        const QRectF needed = segments.boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop, text);
        const QRectF box = view->segmentRect(segment);
        EXPECT_LE(needed.width(), box.width()) << segment.caption.toStdString();
        EXPECT_LE(needed.height(), box.height()) << segment.caption.toStdString();
    }
    return withText;
}

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
        EXPECT_EQ(rows.back().caption, QStringLiteral("23 cm"));
        EXPECT_TRUE(view->accessibleDescription().contains(QStringLiteral("70 cm: PH  420.000 - 450.000")));

        // Nothing is cut off, at this size and at the smallest the window
        // allows; the 10 m segments keep their edges on the bar.
        for (const QSize size : {QSize(1000, 700), shown->minimumSizeHint()}) {
            shown->resize(size);
            QCoreApplication::processEvents();
            EXPECT_GE(expectNothingClipped(view), 10) << size.width() << "x" << size.height();
            const auto tenMetreSegments = std::count_if(view->chart().segments.begin(), view->chart().segments.end(),
                [&](const auto& s) { return s.row == row && !view->segmentText(s).isEmpty(); });
            EXPECT_EQ(tenMetreSegments, 2);
        }
        for (const char* legend : {"Label3", "Label4"}) {
            auto* label = shown->findChild<QLabel*>(QString::fromLatin1(legend));
            EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << legend;
            EXPECT_GE(label->height(), label->fontMetrics().height()) << legend;
        }
        shown->resize(1000, 700);

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
