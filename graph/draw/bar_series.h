#pragma once
// The bar steps: one displayed series as bars beside those of the other series, or as bars
// stacked on the series drawn before it.

namespace plotwell {

class PlotModel;
class StackTotals;
class Canvas;
struct RenderFrame;

// Bars from each value's row to the X axis row, with the pen colour the caller set. Bare
// values fill slot j (xjmp wide) with the bars of all series of the store side by side, so a
// hidden series leaves a gap; (X,Y) bars stand at their X value, the series of display
// ordinal k (1, 2, ...) (k - 1) * 30 pixels to the right. Null points and zeros draw nothing.
void DrawBarSeries(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, int n, int ordinal);

// Bars from the running total at each point to that total plus the value, left edge at the
// point's X value; the totals grow by the series' values.
void DrawStackedSeries(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, int n, StackTotals& totals);

} // namespace plotwell
