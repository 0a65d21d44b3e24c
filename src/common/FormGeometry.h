// The arithmetic of dialog scaling. Dialogs are designed for a reference
// screen of 9600 x 7200 twips (640 x 480 pixels at 15 twips a pixel) and
// scaled so that they fill the same share of the real screen. A twip is
// 1/1440 inch, so the screen's logical dpi fixes how many twips a pixel is.
#pragma once

#include <QRect>
#include <QSize>

namespace tenlog::common {

inline constexpr double kReferenceWidthTwips = 9600.0;
inline constexpr double kReferenceHeightTwips = 7200.0;
inline constexpr double kDesignTwipsPerPixel = 15.0;
inline constexpr double kAboveCentreTwips = 170.0;

struct ScreenMetrics {
    int widthPx = 0;
    int heightPx = 0;
    double logicalDpi = 96.0;

    double twipsPerPixel() const { return 1440.0 / logicalDpi; }
    double widthTwips() const { return widthPx * twipsPerPixel(); }
    double heightTwips() const { return heightPx * twipsPerPixel(); }
    bool valid() const { return widthPx > 0 && heightPx > 0 && logicalDpi > 0; }
};

// Width and height factors in twips, and the same factors turned into
// "design pixels to screen pixels" for widget geometry.
struct ScaleFactors {
    double width = 1.0;
    double height = 1.0;
    double pixelX = 1.0;
    double pixelY = 1.0;
};

ScaleFactors screenFactors(const ScreenMetrics& screen);
ScaleFactors sizeFactors(double targetWidth, double targetHeight, double referenceWidth,
                         double referenceHeight, const ScreenMetrics& screen);

// Scales a rectangle by its edges, so two controls that touched before still
// touch afterwards.
QRect scaleRect(const QRect& design, const ScaleFactors& factors);
QSize scaleSize(const QSize& design, const ScaleFactors& factors);

// Top-left corner of a window centred across the given width (in pixels) and
// placed 170 twips above the vertical centre of the screen.
QPoint placeAboveCentre(const QSize& window, int acrossWidthPx, const ScreenMetrics& screen);

} // namespace tenlog::common
