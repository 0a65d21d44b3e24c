// Bearing and distance by the spherical law of cosines.
#include "geo/Bearing.h"

#include "text/NumberText.h"

#include <cmath>
#include <optional>

namespace tenlog::geo {

namespace {

constexpr double K = 57.29577951;              // degrees per radian
constexpr double kMilesPerRadian = 3955.75791314991;
// Where 1 - x^2 is this close to zero the arccos below would divide by zero
// (exactly, or after rounding); the answer there is undefined.
constexpr double kEdge = 1e-12;

std::optional<double> arccos(double x)
{
    const double rest = 1.0 - x * x;
    if (rest < kEdge)
        return std::nullopt;
    return std::atan(-x / std::sqrt(rest)) + 2.0 * std::atan(1.0);
}

} // namespace

BearingLabels bearingAndDistance(float ownLatitude, float ownLongitude, float targetLatitude, float targetLongitude)
{
    const double lat1 = ownLatitude / K, lon1 = ownLongitude / K;
    const double lat2 = targetLatitude / K, lon2 = targetLongitude / K;

    const double s = std::sin(lat2) * std::sin(lat1) + std::cos(lat2) * std::cos(lat1) * std::cos(lon1 - lon2);
    const auto angle = arccos(s);
    if (!angle)
        return {};
    const double d = *angle * K;
    const double divisor = std::cos(lat1) * std::sin(d / K);
    if (divisor == 0.0)
        return {};
    const auto c = arccos((std::sin(lat2) - s * std::sin(lat1)) / divisor);
    if (!c)
        return {};
    const double degrees = *c * K;
    const double bearing = std::sin(lon1 - lon2) > 0 ? degrees : 360.0 - degrees;
    const double miles = *angle * kMilesPerRadian;
    return {text::formatNumber(bearing, QStringLiteral("###")) + QLatin1Char(' '),
            text::formatNumber(miles, QStringLiteral("##,###")) + QLatin1Char(' ')};
}

} // namespace tenlog::geo
