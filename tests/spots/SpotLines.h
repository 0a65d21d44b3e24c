// Cluster spot lines laid out in the node's columns, for the tests.
#pragma once

#include <QString>

namespace tenlog::testing {

inline QString clusterSpotLine(const QString& spotter, const QString& frequencyKhz, const QString& call,
                               const QString& comment, const QString& time = QStringLiteral("1234Z"))
{
    return QStringLiteral("DX de ") + (spotter + QLatin1Char(':')).leftJustified(7) + frequencyKhz.rightJustified(11)
         + QStringLiteral("  ") + call.leftJustified(13) + comment.leftJustified(30) + QLatin1Char(' ') + time;
}

} // namespace tenlog::testing
