// Scaling arithmetic from the 9600 x 7200 twip reference to real screens.
#include "common/FormGeometry.h"

#include <gtest/gtest.h>

using namespace tenlog::common;

TEST(FormGeometry, ReferenceScreenChangesNothingButTheVerticalPlace)
{
    const ScreenMetrics reference{640, 480, 96.0};
    const ScaleFactors f = screenFactors(reference);
    EXPECT_DOUBLE_EQ(f.width, 1.0);
    EXPECT_DOUBLE_EQ(f.height, 1.0);
    EXPECT_EQ(scaleRect(QRect(10, 20, 300, 40), f), QRect(10, 20, 300, 40));
    // 170 twips above centre is 170 / 15 pixels, rounded.
    EXPECT_EQ(placeAboveCentre(QSize(320, 240), 640, reference), QPoint(160, 120 - 11));
}

TEST(FormGeometry, FactorsFollowTheScreenAndItsDpi)
{
    const ScaleFactors hd = screenFactors({1920, 1080, 96.0});
    EXPECT_DOUBLE_EQ(hd.width, 3.0);
    EXPECT_DOUBLE_EQ(hd.height, 2.25);
    EXPECT_DOUBLE_EQ(hd.pixelX, 3.0);
    EXPECT_DOUBLE_EQ(hd.pixelY, 2.25);

    // At 192 dpi a pixel is 7.5 twips: the twip factors halve, the share of
    // the screen a window takes stays the same.
    const ScaleFactors hiDpi = screenFactors({1920, 1080, 192.0});
    EXPECT_DOUBLE_EQ(hiDpi.width, 1.5);
    EXPECT_DOUBLE_EQ(hiDpi.pixelX, 3.0);
    EXPECT_EQ(placeAboveCentre(QSize(100, 100), 1920, {1920, 1080, 192.0}).y(),
              qRound((1080 - 100) / 2.0 - 170 / 7.5));
}

TEST(FormGeometry, TouchingControlsStillTouchAfterScaling)
{
    const ScaleFactors f = screenFactors({1366, 768, 96.0});
    const QRect a(13, 7, 101, 33);
    const QRect b(a.right() + 1, 7, 57, 33); // starts where a ends
    const QRect line(a.left(), a.bottom() + 1, a.width() + b.width(), 1);
    const QRect sa = scaleRect(a, f), sb = scaleRect(b, f), sl = scaleRect(line, f);
    EXPECT_EQ(sa.right() + 1, sb.left());
    EXPECT_EQ(sl.left(), sa.left());
    EXPECT_EQ(sl.right(), sb.right());
    EXPECT_EQ(sl.top(), sa.bottom() + 1);
}

TEST(FormGeometry, ExplicitTargetSize)
{
    const ScreenMetrics screen{1280, 1024, 96.0};
    const ScaleFactors f = sizeFactors(9600.0 * 2, 7200.0, 9600.0, 7200.0, screen);
    EXPECT_DOUBLE_EQ(f.width, 2.0);
    EXPECT_DOUBLE_EQ(f.height, 1.0);
    EXPECT_EQ(scaleSize(QSize(100, 50), f), QSize(200, 50));
}
