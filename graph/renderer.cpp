#include "graph/renderer.h"

#include "core/message_sink.h"
#include "graph/axes.h"
#include "graph/bar_series.h"
#include "graph/canvas.h"
#include "graph/curve_series.h"
#include "graph/legend.h"
#include "graph/line_series.h"
#include "graph/markers.h"
#include "graph/pie_chart.h"
#include "graph/plot_model.h"
#include "graph/pointer_shape.h"
#include "graph/render_frame.h"
#include "graph/stack_totals.h"
#include "graph/titles.h"
#include "graph/value_range.h"

#include <algorithm>
#include <optional>

namespace plotwell {

namespace {

class GraphDrawing
{
public:
    GraphDrawing(PlotModel& model, TCanvas& canvas, const DrawRequest& request)
        : model_(model), canvas_(canvas), request_(request), options_(model.Options()), state_(model.MutableRender())
    {
    }

    void Draw();

private:
    void ClearSurface();
    bool DrawSeries(); // false when no series is displayed
    void LayOut(const ValueRange& range, double maxY);
    void DrawAxesStep();
    void UpdateOptionsPanel();
    void DrawOneSeries(int n);
    void DrawPieStep(const ValueRange& range);
    void RecordExtremes(int n);

    PlotModel& model_;
    TCanvas& canvas_;
    const DrawRequest& request_;
    const PlotOptions& options_;
    RenderState& state_;
    RenderFrame frame_;
    double dataminY_ = 0;
    double maxY_ = 0;
    std::optional<StackTotals> stacks_; // stacked bars only
    int ordinal_ = 0;                   // of the series being drawn among the displayed ones
};

void GraphDrawing::Draw()
{
    ClearSurface();
    if (model_.NumberOfSeries() == 0 || model_.seriesarr().front().empty())
        return;
    try {
        TBusyPointer busy(request_.pointer);
        const bool drawn = DrawSeries();
        if (drawn && options_.ShowPoints && (frame_.graphtype == gtline || frame_.graphtype == gtcurve))
            MarkPoints(canvas_, model_, frame_);
        if (drawn && frame_.graphtype != gtpie)
            DrawFloatingAxisTexts(canvas_, model_, frame_);
    } catch (...) {
        // A failed drawing still gives the pointer back (above) and is announced, so the
        // status line follows the data; the error goes on to the caller.
        if (request_.OnGraphDrawn)
            request_.OnGraphDrawn();
        throw;
    }
    if (request_.OnGraphDrawn)
        request_.OnGraphDrawn();
}

void GraphDrawing::ClearSurface()
{
    frame_.width = canvas_.Width();
    frame_.height = canvas_.Height();
    frame_.graphtype = model_.GraphType();
    frame_.seriesCount = model_.NumberOfSeries();
    state_.surfaceWidth = frame_.width;
    state_.surfaceHeight = frame_.height;
    canvas_.Brush().SetColor(options_.BackgroundColor);
    canvas_.FillRect(canvas_.ClipRect());
    state_.maxextentY = 0;
    state_.maxlimitY = 0;
    if (options_.ShowLegend)
        DrawLegend(canvas_, model_, frame_.graphtype, frame_.width);
    state_.minX = 0;
    state_.minY = 0;
    state_.xwid = 0;
    state_.ywid = 0;
    state_.isnegative = false;
}

bool GraphDrawing::DrawSeries()
{
    state_.maxpts = 0;
    state_.xjmp = 0;
    frame_.indexed = request_.useDrawingIndex;
    const ValueRange range = FindRange(model_, frame_.indexed);
    state_.maxpts = range.maxpts;
    state_.isnegative = range.isnegative;
    for (int n = 1; n <= maxseries; ++n)
        if (range.displayedSeries[static_cast<std::size_t>(n)])
            state_.hasnegative[static_cast<std::size_t>(n)] = range.hasnegative[static_cast<std::size_t>(n)];
    if (range.displayed == 0)
        return false;
    frame_.isnegative = range.isnegative;
    frame_.maxpts = range.maxpts;
    for (int n = 1; n <= frame_.seriesCount; ++n)
        frame_.anyxy = frame_.anyxy || model_.seriesinfo(n).xydata;
    if (frame_.graphtype == gtstacked && frame_.isnegative) {
        // Stacks cannot show negative values: the graph becomes a line graph, and the
        // options panel follows.
        model_.SetGraphType(gtline);
        frame_.graphtype = gtline;
    }
    double maxY = range.maxY;
    if (frame_.graphtype == gtstacked) {
        stacks_.emplace(model_, frame_.anyxy);
        maxY = stacks_->MaxTotal();
    }
    LayOut(range, maxY);
    DrawTitle(canvas_, model_, frame_.graphtype, frame_.width);
    if (frame_.graphtype != gtpie)
        DrawAxesStep();
    UpdateOptionsPanel();
    const int xwid = frame_.map.Area().xwid;
    frame_.xjmp = frame_.maxpts <= 1 ? xwid : static_cast<double>(xwid) / frame_.maxpts;
    state_.xjmp = frame_.xjmp;
    if (frame_.graphtype != gtpie)
        DrawXTicks(canvas_, model_, frame_);
    canvas_.Pen().SetWidth(options_.LineWidth);
    canvas_.Pen().SetStyle(psSolid);
    state_.displaySeriesShown = frame_.seriesCount >= 2;
    for (int n = 1; n <= frame_.seriesCount; ++n) {
        if (!model_.SeriesDisplay(n))
            continue;
        ++ordinal_;
        DrawOneSeries(n);
        RecordExtremes(n);
    }
    if (frame_.graphtype == gtpie)
        DrawPieStep(range);
    return true;
}

// The zero baseline and the value spans of the axes.
void GraphDrawing::LayOut(const ValueRange& range, double maxY)
{
    double minY = range.minY;
    dataminY_ = minY;
    maxY_ = maxY;
    double axisMaxY = maxY;
    if (maxY == minY) {
        // A constant series stands on the zero baseline; a negative one hangs from it
        // (with the baseline as its low end it would be drawn upside down, above the 0).
        if (maxY < 0)
            axisMaxY = 0;
        else
            minY = 0;
    } else if (minY > 0 && minY / (maxY - minY) < 0.5) {
        minY = 0;
    }
    // Bars stand on 0: from a higher bottom the smallest bar, or the lowest part of a stack,
    // would vanish.
    if ((frame_.graphtype == gtbar || frame_.graphtype == gtstacked) && minY > 0)
        minY = 0;
    const AxisScale x(range.minX, range.maxX);
    const AxisScale y(minY, axisMaxY);
    state_.minX = x.Low();
    state_.minY = y.Low();
    state_.maxextentX = x.Extent();
    state_.maxextentY = y.Extent();
    frame_.map = PlotMapping(PlotArea{state_.cornerx, state_.bottomy, 0, 0}, x, y);
    frame_.cornery = state_.cornery;
}

void GraphDrawing::DrawAxesStep()
{
    const PlotArea area = ComputePlotArea(frame_.width, frame_.height);
    frame_.map = PlotMapping(area, frame_.map.X(), frame_.map.Y());
    frame_.cornery = area.bottomy;
    if (frame_.isnegative && options_.FloatingXAxis)
        frame_.cornery = std::max(frame_.map.Row(0), area.bottomy - area.ywid);
    state_.cornerx = area.cornerx;
    state_.bottomy = area.bottomy;
    state_.xwid = area.xwid;
    state_.ywid = area.ywid;
    state_.cornery = frame_.cornery;
    state_.maxlimitY = MaxLimitY(maxY_);
    DrawAxes(canvas_, model_, frame_);
}

void GraphDrawing::UpdateOptionsPanel()
{
    state_.pieEnabled = !frame_.isnegative;
    state_.stackedEnabled = frame_.seriesCount >= 2 && !frame_.isnegative;
    state_.drawAreaEnabled = frame_.graphtype == gtline || frame_.graphtype == gtcurve;
}

void GraphDrawing::DrawOneSeries(int n)
{
    canvas_.Pen().SetColor(options_.SeriesColorOf(n));
    if (options_.DrawArea)
        canvas_.Brush().SetColor(canvas_.Pen().Color());
    switch (frame_.graphtype) {
    case gtline:
        DrawLineSeries(canvas_, model_, frame_, n);
        break;
    case gtcurve:
        DrawCurve(canvas_, model_, frame_, n);
        break;
    case gtbar:
        DrawBarSeries(canvas_, model_, frame_, n, ordinal_);
        break;
    case gtstacked:
        DrawStackedSeries(canvas_, model_, frame_, n, *stacks_);
        break;
    case gtpie: // one pie for all displayed series, drawn after them
        break;
    }
}

// The pie shows the first displayed series, unless it holds negative values.
void GraphDrawing::DrawPieStep(const ValueRange& range)
{
    int first = 0;
    bool negative = false;
    for (int n = frame_.seriesCount; n >= 1; --n) {
        if (!range.displayedSeries[static_cast<std::size_t>(n)])
            continue;
        first = n;
        negative = negative || range.hasnegative[static_cast<std::size_t>(n)];
    }
    state_.pieNegative = negative;
    // Only for the user's action: a box at every resize or uncovering of the window would
    // bury the user in them.
    if (negative && request_.userAction)
        model_.Sink().ShowMessage(PieNegativeMessage());
    if (first == 0 || range.hasnegative[static_cast<std::size_t>(first)])
        return;
    const int controlHeight = request_.controlClientHeight < 0 ? frame_.height + 2 : request_.controlClientHeight;
    DrawPie(canvas_, model_, first, controlHeight);
}

void GraphDrawing::RecordExtremes(int n)
{
    if (n == 1) {
        state_.FUltMinValue = dataminY_;
        state_.FUltMaxValue = maxY_;
        return;
    }
    state_.FUltMinValue = std::min(state_.FUltMinValue, dataminY_);
    state_.FUltMaxValue = std::max(state_.FUltMaxValue, maxY_);
}

} // namespace

void DrawGraph(PlotModel& model, TCanvas& canvas, const DrawRequest& request)
{
    // Views read the panel effects and the geometry when the drawing is announced, also
    // after a drawing that failed half-way.
    try {
        GraphDrawing(model, canvas, request).Draw();
    } catch (...) {
        model.NotifyDrawn();
        throw;
    }
    model.NotifyDrawn();
}

} // namespace plotwell
