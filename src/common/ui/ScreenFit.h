// Keeps windows wholly on the screen. A window opens inside the available
// area of its screen (the screen less its panels and taskbars), at least as
// large as its layout asks, word-wrapped text included. When the area is too
// small for that, the window's content moves into a scroll area: a control
// that scrolls can still be reached, one cut off by the screen's edge cannot.
#pragma once

#include <QRect>

class QWidget;

namespace tenlog::common {

// The available area of the screen the window is on (the one under its
// centre, else its own, else the primary screen); empty without a screen.
QRect availableAreaFor(const QWidget* window);

// Fits the window now, and again each time it is shown, after whatever put
// it there (its scaling, or a position remembered from an earlier run). A
// window not placed by then is centred on the area.
void keepOnScreen(QWidget* window);

// Whether keepOnScreen() looks after this window.
bool isKeptOnScreen(const QWidget* window);

// Sizes and moves a window so that its frame, title bar included, covers the
// rectangle, as far as the window's own minimum size allows.
void fillWithFrame(QWidget* window, const QRect& frameRect);

} // namespace tenlog::common
