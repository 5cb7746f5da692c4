#pragma once
// The point markers: one shape per series number, for marked points and the legend.

namespace plotwell {

class PlotModel;
class Canvas;
struct PlotOptions;
struct RenderFrame;

// The marker of series number n (1..8) centred on pixel (x, y), in the series colour; the
// brush colour is restored afterwards (and so left solid).
void DrawMarker(Canvas& canvas, const PlotOptions& options, int x, int y, int n);

// The markers of every plotted point of the displayed series; a marker is drawn once per
// pixel of its series, and not at all where it cannot reach the surface.
void MarkPoints(Canvas& canvas, const PlotModel& model, const RenderFrame& frame);

} // namespace plotwell
