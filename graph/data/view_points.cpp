#include "graph/data/view_points.h"

#include <algorithm>
#include <limits>

namespace plotwell {

bool PointsInXOrder(const PointList& points)
{
    if (points.IsCompact())
        return true; // every X is its position
    for (std::size_t i = 1; i < points.size(); ++i)
        if (!(points[i].x >= points[i - 1].x))
            return false;
    return points.empty() || points.front().x == points.front().x;
}

PointSpan PointsInRange(const PointList& points, bool inOrder, double low, double high)
{
    if (!inOrder)
        return PointSpan{0, points.size(), false};
    const auto first = std::lower_bound(points.begin(), points.end(), low,
                                        [](const DataPoint& p, double v) { return p.x < v; });
    const auto last = std::upper_bound(first, points.end(), high, [](double v, const DataPoint& p) { return v < p.x; });
    return PointSpan{static_cast<std::size_t>(first - points.begin()), static_cast<std::size_t>(last - points.begin()),
                     true};
}

PointSpan WithNeighbours(const PointSpan& span, std::size_t size)
{
    if (!span.inOrder)
        return span;
    return PointSpan{span.first > 0 ? span.first - 1 : 0, std::min(span.last + 1, size), true};
}

SeriesRange RangeInSpan(const PointList& points, const PointSpan& span, double low, double high)
{
    const double inf = std::numeric_limits<double>::infinity();
    SeriesRange r{inf, -inf, inf, -inf};
    for (std::size_t i = span.first; i < span.last; ++i) {
        const DataPoint& p = points[i];
        if (IsNullPoint(p) || (!span.inOrder && !(p.x >= low && p.x <= high)))
            continue;
        r.minX = std::min(r.minX, p.x);
        r.maxX = std::max(r.maxX, p.x);
        r.minY = std::min(r.minY, p.y);
        r.maxY = std::max(r.maxY, p.y);
    }
    return r;
}

std::size_t CountInSpan(const PointList& points, const PointSpan& span, double low, double high)
{
    std::size_t count = 0;
    for (std::size_t i = span.first; i < span.last; ++i) {
        const DataPoint& p = points[i];
        count += !IsNullPoint(p) && (span.inOrder || (p.x >= low && p.x <= high));
    }
    return count;
}

} // namespace plotwell
