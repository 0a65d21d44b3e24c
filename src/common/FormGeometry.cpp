// The arithmetic of dialog scaling.
#include "common/FormGeometry.h"

#include <cmath>

namespace tenlog::common {

namespace {

int px(double value)
{
    return static_cast<int>(std::lround(value));
}

ScaleFactors fromTwipFactors(double width, double height, const ScreenMetrics& screen)
{
    ScaleFactors f;
    f.width = width;
    f.height = height;
    const double designToScreen = kDesignTwipsPerPixel / screen.twipsPerPixel();
    f.pixelX = width * designToScreen;
    f.pixelY = height * designToScreen;
    return f;
}

} // namespace

ScaleFactors screenFactors(const ScreenMetrics& screen)
{
    return fromTwipFactors(screen.widthTwips() / kReferenceWidthTwips,
                           screen.heightTwips() / kReferenceHeightTwips, screen);
}

ScaleFactors sizeFactors(double targetWidth, double targetHeight, double referenceWidth,
                         double referenceHeight, const ScreenMetrics& screen)
{
    return fromTwipFactors(targetWidth / referenceWidth, targetHeight / referenceHeight, screen);
}

QRect scaleRect(const QRect& design, const ScaleFactors& factors)
{
    const int left = px(design.x() * factors.pixelX);
    const int top = px(design.y() * factors.pixelY);
    const int right = px((design.x() + design.width()) * factors.pixelX);
    const int bottom = px((design.y() + design.height()) * factors.pixelY);
    return QRect(left, top, right - left, bottom - top);
}

QSize scaleSize(const QSize& design, const ScaleFactors& factors)
{
    return QSize(px(design.width() * factors.pixelX), px(design.height() * factors.pixelY));
}

QPoint placeAboveCentre(const QSize& window, int acrossWidthPx, const ScreenMetrics& screen)
{
    const double above = kAboveCentreTwips / screen.twipsPerPixel();
    return QPoint(px((acrossWidthPx - window.width()) / 2.0),
                  px((screen.heightPx - window.height()) / 2.0 - above));
}

} // namespace tenlog::common
