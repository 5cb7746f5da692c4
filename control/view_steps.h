#pragma once
// The steps of zoom and pan: pure functions from a view and what the last drawing showed to
// the next view. The control turns wheel, drag and keys into them.

#include "graph/data/plot_view.h"
#include "graph/draw/drawing_result.h"

#include <QPoint>

#include <optional>

namespace plotwell {

// What a step may reach: the whole graph's X range and the smallest X span.
struct ViewLimits
{
    ViewSpan wholeX;
    double minSpanX = 0;
    // The whole data's Y extremes: a Y range that holds them is no longer a zoom.
    ViewSpan wholeY;
};

// The limits of a drawing that showed a graph with axes; none for a pie, an empty store or
// a graph of a single X (nothing to zoom). `bareValues`: no displayed series has its own X
// values, so the smallest span is 2 positions (else 1e-9 of the whole span).
std::optional<ViewLimits> LimitsOf(const DrawingResult& drawing, bool bareValues);

// The X and Y ranges the drawing shows.
ViewSpan ShownX(const PlotGeometry& g);
ViewSpan ShownY(const PlotGeometry& g);
// The values under a surface pixel, by the drawing's mapping.
double XAtColumn(const PlotGeometry& g, double column);
double YAtRow(const PlotGeometry& g, double row);

// The X span times `factor` (below 1 zooms in) around `centre`, which keeps its place; held
// between the smallest span and the whole graph, and inside it. Y stays as the view has it.
// None when the step changes nothing it can show (a span finer than the doubles there).
std::optional<PlotView> ZoomX(const PlotView& view, const PlotGeometry& shown, const ViewLimits& limits, double centre,
                              double factor);
// The Y span times `factor` around `centre`; a Y range that takes in the whole data's Y is
// dropped (Y fits again). The X range is kept as shown.
std::optional<PlotView> ZoomY(const PlotView& view, const PlotGeometry& shown, const ViewLimits& limits, double centre,
                              double factor);
// The X range moved by `delta` (values), stopping at the whole graph's ends.
std::optional<PlotView> PanX(const PlotView& view, const PlotGeometry& shown, const ViewLimits& limits, double delta);
// The box between two surface pixels, as X and Y ranges (X held as ZoomX holds it).
std::optional<PlotView> ZoomToBox(const PlotGeometry& shown, const ViewLimits& limits, QPoint a, QPoint b);

// The view kept over a reload whose whole X range is `wholeX`: the same when its X range
// still overlaps it (cut to it), else the whole graph.
PlotView KeptOverReload(const PlotView& view, const std::optional<ViewSpan>& wholeX);

} // namespace plotwell
