// Names a control twice: the object name the windows' settings and the tests
// find it by, and the accessible name a screen reader says.
#pragma once

#include <QString>

namespace tenlog::common {

template <typename W>
W* named(W* widget, const QString& objectName, const QString& spoken)
{
    widget->setObjectName(objectName);
    widget->setAccessibleName(spoken);
    return widget;
}

} // namespace tenlog::common
