// Scales a dialog and its controls from the 9600 x 7200 twip reference
// layout to the screen. Controls placed by hand are moved and sized; controls
// inside a Qt layout are left to it. Fonts and list-view columns follow, the
// type never larger than the main window's (the application's font). The
// first call remembers the design geometry, so scaling again starts from the
// design and never compounds. The scaled window is then kept within the
// screen's available area (ScreenFit).
#pragma once

#include "common/FormGeometry.h"

#include <optional>

class QWidget;

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::common {

// The screen a window is on (or the primary screen), in pixels and logical dpi.
std::optional<ScreenMetrics> screenMetricsFor(const QWidget* window);

// Where a window departs from the general rule.
struct FormScalingStyle {
    // Above 0: fonts follow the width factor, at most this much, instead of
    // the height factor (a wide screen would make a dense window too big).
    double widthFontCap = 0;
    // Centred across the screen at its top instead of above its centre.
    bool atTopOfScreen = false;
};

void scaleFormToScreen(QWidget* form, platform::Dialogs& dialogs,
                       std::optional<ScreenMetrics> screen = std::nullopt, FormScalingStyle style = {});

// Target and reference sizes are in twips. With exact, the window is first
// given the target size.
void scaleFormToSize(QWidget* form, double targetWidth, double targetHeight, double referenceWidth,
                     double referenceHeight, bool exact, platform::Dialogs& dialogs,
                     std::optional<ScreenMetrics> screen = std::nullopt);

} // namespace tenlog::common
