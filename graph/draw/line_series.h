#pragma once
// The line step: one displayed series as a polyline through its points, optionally with the
// area under it filled.

namespace plotwell {

class PlotModel;
class Canvas;
struct RenderFrame;

// Draws series n with the pen (and, for a filled area, the brush) the caller set up. A series
// with more points than the plot has pixel columns is thinned per column first, which draws
// the same pixels at any pen width (see Canvas::LineTo) at a fraction of the cost; with
// frame.indexed, a series in X order is thinned through the model's drawing index, a few
// lookups per column.
void DrawLineSeries(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, int n);

} // namespace plotwell
