#pragma once
// The axes of a line or bar graph: axis lines, tick marks, tick labels, grid lines and the
// axis labels.

namespace plotwell {

class PlotModel;
class Canvas;
struct RenderFrame;

// The X and Y axis lines with the X axis label (unless the axis floats), the Y ticks with their grid lines and labels,
// and the Y axis label left of the widest tick label.
void DrawAxes(Canvas& canvas, const PlotModel& model, const RenderFrame& frame);

// The X ticks: round values along a numeric axis, nine whole days along a date axis; each
// with its grid line, tick pixel and label under the X axis row. The labels of a floating X
// axis, and its axis label, wait for DrawFloatingAxisTexts.
void DrawXTicks(Canvas& canvas, const PlotModel& model, const RenderFrame& frame);

// The tick labels and the axis label of a floating X axis, on top of the series and their
// markers that cross it, so they stay readable; nothing for an X axis at the bottom.
void DrawFloatingAxisTexts(Canvas& canvas, const PlotModel& model, const RenderFrame& frame);

} // namespace plotwell
