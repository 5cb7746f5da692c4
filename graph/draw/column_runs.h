#pragma once
// Runs of a series in X order that fall in one pixel column.

#include "graph/data/plot_mapping.h"
#include "graph/data/series_types.h"

#include <algorithm>
#include <cstddef>

namespace plotwell {

// The first point past the run of `column` that starts at a, for points in X order below n:
// a search outwards from `guess` (the length of the run before is a good one), then a bisection.
inline std::size_t RunEnd(const PointList& points, std::size_t n, const PlotMapping& map, std::size_t a, int column,
                          std::size_t guess)
{
    const auto past = [&](std::size_t i) { return i >= n || map.Column(points[i].x) > column; };
    std::size_t lo = a; // never past
    std::size_t hi = std::clamp(guess, a + 1, n); // past, once bracketed
    std::size_t step = 1;
    if (past(hi)) {
        while (hi - a > step && past(hi - step)) {
            hi -= step;
            step *= 2;
        }
        lo = hi - a > step ? hi - step : a;
    } else {
        lo = hi;
        while (!past(lo + step)) {
            lo += step;
            step *= 2;
        }
        hi = std::min(lo + step, n);
    }
    while (hi - lo > 1) {
        const std::size_t mid = lo + (hi - lo) / 2;
        (past(mid) ? hi : lo) = mid;
    }
    return hi;
}

// Calls f(column, a, b) for each run [a, b) of [begin, end) in one column, in order.
template <typename F>
void ForEachColumnRun(const PointList& points, std::size_t begin, std::size_t end, const PlotMapping& map, F&& f)
{
    std::size_t length = 1;
    for (std::size_t b = begin; b < end;) {
        const std::size_t a = b;
        const int column = map.Column(points[a].x);
        b = RunEnd(points, end, map, a, column, a + length);
        length = b - a;
        f(column, a, b);
    }
}

} // namespace plotwell
