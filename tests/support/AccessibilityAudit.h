// A check for widget tests that every control a screen reader would stop at
// has a name to say: walks the accessibility tree of a window the way an
// assistive tool sees it.
#pragma once

#include <QStringList>

class QWidget;

namespace tenlog::testing {

// One line per visible control under root (root included) that can take the
// focus or shows information - boxes, buttons, radio buttons, check boxes,
// lists, tables, trees, sliders, spin boxes, and labels that have an
// objectName or show text or a picture - and has an empty accessible name.
// Each line reads "objectName (ClassName, Role)", the role as Qt spells it
// (a push button's is "Button"). Empty when all are named.
QStringList controlsWithoutAccessibleName(QWidget* root);

} // namespace tenlog::testing
