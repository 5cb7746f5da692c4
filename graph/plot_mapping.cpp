#include "graph/plot_mapping.h"

#include "core/rounding.h"

#include <cmath>
#include <limits>

namespace plotwell {

int PixelRound(double position)
{
    if (std::isnan(position))
        return 0;
    if (position > kPixelLimit)
        position = kPixelLimit;
    else if (position < -kPixelLimit)
        position = -kPixelLimit;
    return static_cast<int>(Round(position));
}

PlotArea ComputePlotArea(int width, int height)
{
    PlotArea area;
    area.cornerx = width / 10;
    area.bottomy = (height / 40) * 37;
    area.xwid = (width / 10) * 8;
    area.ywid = (height / 11) * 8;
    return area;
}

AxisScale::AxisScale(double low, double high) : low_(low), high_(high)
{
    const double extent = high - low;
    if (extent == 0) {
        extent_ = 1;
        halfExtent_ = 0.5;
        high_ = low + 1;
    } else if (std::isinf(extent)) {
        extent_ = std::numeric_limits<double>::max();
        halfExtent_ = high * 0.5 - low * 0.5;
    } else {
        extent_ = extent;
        halfExtent_ = extent * 0.5;
    }
    if (halfExtent_ == 0) // spans among the smallest subnormal numbers
        halfExtent_ = std::numeric_limits<double>::denorm_min();
}

double MaxLimitY(double maxY)
{
    double m = std::fabs(maxY);
    if (!(m > 0) || !std::isfinite(m))
        return 1;
    double f = 1;
    int c = 1;
    if (m > 10) {
        f = 0.1;
        c = 0;
    } else if (m < 1) {
        f = 10;
        c = 0;
    }
    for (int i = 0; (m > 10 || m < 1) && i < 2000; ++i) {
        m *= f;
        ++c;
    }
    const double d = std::trunc(m);
    const double r = m - d;
    const double g = (d < 5 && r < 0.7) ? 0.5 : 1.0;
    double limit = d + g;
    for (int i = 0; i < c; ++i)
        limit /= f;
    return limit;
}

} // namespace plotwell
