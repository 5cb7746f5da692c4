#pragma once
// DrawGraph: draws the graph of a model, or the view of it asked for, onto a canvas, as the graph control shows it,
// and says what it found. The model is only read.

#include "graph/data/plot_view.h"
#include "graph/draw/drawing_result.h"

namespace plotwell {

class PlotModel;
class Canvas;
class PointerShape;

struct DrawRequest
{
    // Shows the hourglass while drawing; none in the command-line tool.
    PointerShape* pointer = nullptr;
    // The graph control's own client height, which sizes the pie; the surface's height + 2
    // (the control's frame) when not given.
    int controlClientHeight = -1;
    // Redraws take the extremes of the series and of their per-column runs from the model's
    // drawing index; false walks every point instead (the same pixels, slower).
    bool useDrawingIndex = true;
    // The part of the graph shown; the whole graph by default. A pie has no view.
    PlotView view;
};

// Fills the canvas with the background colour and, when the store holds data, draws the
// graph of the model's graph type over it.
DrawingResult DrawGraph(const PlotModel& model, Canvas& canvas, const DrawRequest& request = {});

} // namespace plotwell
