#pragma once
// DrawingResult: what one drawing of a model found, for the caller to act on. Drawing never
// changes the model; the graph control and the batch tool apply these findings themselves.

#include "graph/data/plot_view.h"
#include "graph/data/series_types.h"

#include <array>
#include <optional>

namespace plotwell {

// Where the plot area and its scales lie on the surface: what the pointer readout turns back
// into values.
struct PlotGeometry
{
    // Pixels of the plot area.
    int bottomy = 0;
    int cornerx = 0;
    int cornery = 0; // the X axis row: bottomy, or higher when the axis floats
    int xwid = 0;
    int ywid = 0;
    // Values of the scales.
    double xjmp = 0; // pixels per point position
    double maxextentX = 0;
    double maxextentY = 0;
    double maxlimitY = 0; // 0 when no axes were drawn: the readout is off
    double minX = 0;
    double minY = 0;
};

// The options panel as the drawing wants it.
struct PanelEffects
{
    bool pieEnabled = true;         // `pierb`: no negative values displayed
    bool stackedEnabled = true;     // `stackedbarrb`: two series or more, none negative
    bool drawAreaEnabled = true;    // `drawAreaCheckbox`: a line or curve graph
    bool displaySeriesShown = true; // false hides `displayserieslabel` and box 1 (a lone series)
};

struct DrawingResult
{
    // The store held data; only then does the status line under the graph follow the drawing.
    bool foundData = false;
    // The type drawn: stacked bars over negative values are drawn as a line graph, and the
    // graph type should follow.
    GraphKind graphType = kLineGraph;
    // The surface drawn onto (client width and height).
    int surfaceWidth = 0;
    int surfaceHeight = 0;
    PlotGeometry geometry;
    // None when no series was displayed: the panel stays as the drawing before left it.
    std::optional<PanelEffects> panel;
    // A pie met a displayed series with negative values: the user should hear why it is missing.
    bool pieNegative = false;
    // Of the displayed series.
    int maxpts = 0;
    bool isnegative = false;
    std::array<bool, maxseries + 1> hasnegative{}; // indexed by series number 1..8
    double dataMinX = 0;
    double dataMaxX = 0;
    double dataMinY = 0;
    double dataMaxY = 0;
    // The view drawn: its X range as shown (bars of bare values in whole positions) and its
    // Y range, or none for the whole graph and a pie.
    PlotView view;
};

} // namespace plotwell
