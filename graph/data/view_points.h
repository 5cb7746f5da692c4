#pragma once
// Which points of a series a view's X range holds: for a series in X order (bare values
// always are) a bisection finds them as one run of the array; any other series is walked.

#include "graph/data/series_types.h"
#include "graph/data/value_range.h"

#include <cstddef>

namespace plotwell {

// The points [first, last) of a series; `inOrder` when they are exactly those with X in the
// range. Otherwise (X not in order) the run is the whole series and callers test each X.
struct PointSpan
{
    std::size_t first = 0;
    std::size_t last = 0;
    bool inOrder = true;
};

// True when no X of the series is NaN or smaller than the one before it.
bool PointsInXOrder(const PointList& points);

// The points with low <= X <= high; `inOrder` as PointsInXOrder says of the series.
PointSpan PointsInRange(const PointList& points, bool inOrder, double low, double high);

// The run widened by one point on each side, so that a line runs out of the range to the
// edges of the plot area.
PointSpan WithNeighbours(const PointSpan& span, std::size_t size);

// The extremes of the plotted points of `span` with X in [low, high] (a SeriesRange with
// infinities pointing the wrong way when there are none).
SeriesRange RangeInSpan(const PointList& points, const PointSpan& span, double low, double high);

// The plotted points of `span` with X in [low, high], counted.
std::size_t CountInSpan(const PointList& points, const PointSpan& span, double low, double high);

} // namespace plotwell
