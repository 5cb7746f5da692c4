#pragma once
// The texts around the plot: the graph title and the two axis labels.

#include "graph/data/series_types.h"

namespace plotwell {

class PlotModel;
class TCanvas;
struct RenderFrame;

// The title centred across the surface, 20 pixels from its top: the model's title, or the
// name of a lone series. Nothing over a pie, which draws its own.
void DrawTitle(TCanvas& canvas, const PlotModel& model, Tgraphtype graphtype, int surfaceWidth);

// The X axis label centred under the plot, 20 pixels below the X axis row.
void DrawXLabel(TCanvas& canvas, const PlotModel& model, const RenderFrame& frame);

// The Y axis label turned to read upwards, centred on the Y axis, 20 pixels left of the
// widest Y tick label; drawn in the font the Y ticks left.
void DrawYLabel(TCanvas& canvas, const PlotModel& model, const RenderFrame& frame, int widestTickLabel);

// The face every text of the graph asks for.
inline constexpr const char* kGraphFace = "Segoe UI";

} // namespace plotwell
