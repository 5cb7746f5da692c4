#include "graph/value_range.h"

#include "graph/plot_model.h"

#include <algorithm>
#include <limits>

namespace plotwell {

ValueRange FindRange(const PlotModel& model)
{
    ValueRange range;
    double minX = std::numeric_limits<double>::infinity();
    double maxX = -minX;
    double minY = minX;
    double maxY = -minX;
    for (int n = 1; n <= model.NumberOfSeries(); ++n) {
        if (!model.SeriesDisplay(n))
            continue;
        ++range.displayed;
        range.displayedSeries[static_cast<std::size_t>(n)] = true;
        const tptsarr& points = model.seriesarr()[static_cast<std::size_t>(n - 1)];
        range.maxpts = static_cast<int>(std::max<std::size_t>(static_cast<std::size_t>(range.maxpts),
                                                              std::min<std::size_t>(points.size(), INT32_MAX)));
        // Without branches, so the walk runs in vector registers.
        const double inf = std::numeric_limits<double>::infinity();
        double seriesMinX = inf, seriesMaxX = -inf, seriesMinY = inf, seriesMaxY = -inf;
        for (const tpt& p : points) {
            const bool plotted = !IsNullPoint(p);
            const double x = p.x;
            const double y = p.y;
            seriesMinX = std::min(seriesMinX, plotted ? x : inf);
            seriesMaxX = std::max(seriesMaxX, plotted ? x : -inf);
            seriesMinY = std::min(seriesMinY, plotted ? y : inf);
            seriesMaxY = std::max(seriesMaxY, plotted ? y : -inf);
        }
        minX = std::min(minX, seriesMinX);
        maxX = std::max(maxX, seriesMaxX);
        maxY = std::max(maxY, seriesMaxY);
        minY = std::min(minY, seriesMinY);
        range.hasnegative[static_cast<std::size_t>(n)] = seriesMinY < 0;
    }
    range.anyPoint = minX <= maxX;
    if (range.anyPoint) {
        range.minX = minX;
        range.maxX = maxX;
        range.minY = minY;
        range.maxY = maxY;
        range.isnegative = minY < 0;
    }
    return range;
}

} // namespace plotwell
