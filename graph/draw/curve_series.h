#pragma once
// The smoothed curve: a weighted moving average of one series across the plot's pixel columns.

namespace plotwell {

class PlotModel;
class Canvas;
struct RenderFrame;

// The weight of a point d columns from the column being computed, for a plot xwid columns
// wide: 1 at d = 0, otherwise (1 - d' / xwid) to the power 2^smoothing, d' = xwid - 1 when
// d = xwid and d otherwise.
double CurveWeight(int d, int xwid, int smoothing);

// Draws the curve of series n, every s-th column (s from 2 to 15 by the number of points),
// each point weighing in at its marker's column; optionally with the area under it filled.
void DrawCurve(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, int n);

} // namespace plotwell
