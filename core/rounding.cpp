#include "core/rounding.h"

#include <cmath>
#include <limits>

namespace plotwell {

qint64 Round(double value)
{
    if (std::isnan(value))
        return 0;
    const double r = std::nearbyint(value); // the default rounding mode rounds halves to even
    if (r >= 9.2233720368547758e18)
        return std::numeric_limits<qint64>::max();
    if (r <= -9.2233720368547758e18)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(r);
}

double RoundTo(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4.5e15)
        return value; // nothing left to round at this magnitude
    return std::nearbyint(scaled) / scale;
}

} // namespace plotwell
