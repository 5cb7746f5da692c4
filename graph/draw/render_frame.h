#pragma once
// The layout and scale of one drawing, shared by its drawing steps.

#include "graph/data/plot_mapping.h"
#include "graph/data/series_types.h"

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
};

} // namespace plotwell
