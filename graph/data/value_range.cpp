#include "graph/data/value_range.h"

#include "graph/data/plot_model.h"

#include <algorithm>
#include <limits>

namespace plotwell {

SeriesRange RangeOfSeries(const PointList& points)
{
    // Over the stored doubles and without branches, so the walk runs in vector registers.
    const double inf = std::numeric_limits<double>::infinity();
    SeriesRange r{inf, -inf, inf, -inf};
    const double* data = points.Storage();
    const std::size_t n = points.size();
    if (points.IsCompact()) {
        for (std::size_t i = 0; i < n; ++i) {
            const double y = data[i];
            const bool plotted = !IsNullValue(y);
            r.minY = std::min(r.minY, plotted ? y : inf);
            r.maxY = std::max(r.maxY, plotted ? y : -inf);
        }
        // X is the position: the first and the last plotted points hold its extremes.
        std::size_t first = 0;
        while (first < n && IsNullValue(data[first]))
            ++first;
        std::size_t last = n;
        while (last > first && IsNullValue(data[last - 1]))
            --last;
        if (first < last) {
            r.minX = static_cast<double>(first + 1);
            r.maxX = static_cast<double>(last);
        }
        return r;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const double x = data[2 * i];
        const double y = data[2 * i + 1];
        const bool plotted = !IsNullValue(y);
        r.minX = std::min(r.minX, plotted ? x : inf);
        r.maxX = std::max(r.maxX, plotted ? x : -inf);
        r.minY = std::min(r.minY, plotted ? y : inf);
        r.maxY = std::max(r.maxY, plotted ? y : -inf);
    }
    return r;
}

ValueRange FindRange(const PlotModel& model, bool indexed)
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
        const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
        range.maxpts = static_cast<int>(std::max<std::size_t>(static_cast<std::size_t>(range.maxpts),
                                                              std::min<std::size_t>(points.size(), INT32_MAX)));
        const SeriesRange series = indexed ? model.DrawingIndex(n).Range() : RangeOfSeries(points);
        minX = std::min(minX, series.minX);
        maxX = std::max(maxX, series.maxX);
        maxY = std::max(maxY, series.maxY);
        minY = std::min(minY, series.minY);
        range.hasnegative[static_cast<std::size_t>(n)] = series.minY < 0;
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

bool AnyPlottedPoint(const PlotModel& model)
{
    for (int n = 1; n <= model.NumberOfSeries(); ++n) {
        if (!model.SeriesDisplay(n))
            continue;
        const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
        for (std::size_t i = 0; i < points.size(); ++i)
            if (!IsNullValue(points.Y(i)))
                return true;
    }
    return false;
}

} // namespace plotwell
