#pragma once
// The range of the displayed data that a drawing lays its axes out for.

#include "graph/data/series_types.h"

#include <array>

namespace plotwell {

class PlotModel;

struct ValueRange
{
    int displayed = 0;         // number of displayed series
    bool anyPoint = false;     // a displayed series holds a plotted point
    double minX = 0, maxX = 0; // extremes of the plotted points (0 without any)
    double minY = 0, maxY = 0;
    int maxpts = 0;            // points, null points included, of the longest displayed series
    bool isnegative = false;   // a plotted Y below 0
    std::array<bool, maxseries + 1> displayedSeries{}; // by series number
    std::array<bool, maxseries + 1> hasnegative{};     // by series number; displayed series only
};

// The extremes of the plotted points of one series: infinities pointing the wrong way (minX
// = +inf, maxX = -inf, ...) when it holds none.
struct SeriesRange
{
    double minX, maxX, minY, maxY;
};

SeriesRange RangeOfSeries(const PointList& points);

// Walks the plotted points of the displayed series in store order; with `indexed`, takes each
// series' extremes from the model's drawing index instead (the same numbers).
ValueRange FindRange(const PlotModel& model, bool indexed = false);

// Whether a displayed series holds a plotted point: stops at the first.
bool AnyPlottedPoint(const PlotModel& model);

} // namespace plotwell
