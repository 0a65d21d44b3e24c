// The link status lines: words longer than the line end in an ellipsis,
// while the whole text stays for a screen reader and the tooltip.
#include "station/LinkStatusArea.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using tenlog::common::LinkHealth;
using tenlog::station::LinkStatusArea;

TEST(LinkStatusArea, ALongStatusIsCutToTheLineAndKeptWhole)
{
    LinkStatusArea area;
    area.resize(160, 80);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    const QString whole = QStringLiteral("Radio: rigctld at radio-shack.example:4532 not reachable, retrying in 30 s");
    area.showRadio({LinkHealth::Trouble, whole, QStringLiteral("Connection refused")});
    auto* line = area.findChild<QLabel*>(QStringLiteral("radioLinkStatus"));
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->text().endsWith(QChar(0x2026))) << line->text().toStdString();
    EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->contentsRect().width());
    EXPECT_EQ(line->accessibleName(), whole);
    EXPECT_TRUE(line->toolTip().startsWith(whole));
    EXPECT_EQ(area.text(LinkStatusArea::Link::Radio), whole);

    // Room enough: the whole text, as soon as the line is wider.
    area.resize(1200, 80);
    ASSERT_TRUE(QTest::qWaitFor([&] { return line->text() == whole; }, 2000)) << line->text().toStdString();

    area.showRadio({});
    EXPECT_TRUE(area.text(LinkStatusArea::Link::Radio).isEmpty());
}
