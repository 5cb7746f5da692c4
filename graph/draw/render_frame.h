#pragma once
// The layout and scale of one drawing, shared by its drawing steps.

#include "graph/data/plot_mapping.h"
#include "graph/data/series_types.h"
#include "graph/data/view_points.h"

#include <array>
#include <cstddef>

namespace plotwell {

struct RenderFrame
{
    GraphKind graphtype = kLineGraph;
    int width = 0;  // the surface's client width and height
    int height = 0;
    PlotMapping map;
    int cornery = 0;      // the X axis row: bottomy, or higher when it floats
    double xjmp = 0;      // pixels per point position
    int maxpts = 0;
    bool isnegative = false;
    bool anyxy = false;   // a series of the store has its own X values
    int seriesCount = 0;  // N: the series in the store, displayed or not
    bool indexed = false; // series read through the model's drawing index
    // A view's X range: each series is drawn from its span of points only (those inside and
    // one on each side), and bars of bare values from slot `firstSlot` on.
    bool viewed = false;
    std::array<PointSpan, maxseries + 1> spans{}; // by series number
    std::size_t firstSlot = 0;
    // A view whose Y range leaves 0 out: the X axis stays at the bottom instead of floating.
    bool zeroOutsideView = false;
};

// The points of series n a drawing goes through: its span in a view, else all `size`.
inline PointSpan DrawnSpan(const RenderFrame& frame, int n, std::size_t size)
{
    return frame.viewed ? frame.spans[static_cast<std::size_t>(n)] : PointSpan{0, size, true};
}

} // namespace plotwell
