#include "graph/draw/renderer.h"

#include "graph/draw/axes.h"
#include "graph/draw/bar_series.h"
#include "graph/draw/canvas.h"
#include "graph/draw/curve_series.h"
#include "graph/draw/legend.h"
#include "graph/draw/line_series.h"
#include "graph/draw/markers.h"
#include "graph/draw/pie_chart.h"
#include "graph/data/plot_model.h"
#include "graph/draw/pointer_shape.h"
#include "graph/draw/render_frame.h"
#include "graph/draw/stack_totals.h"
#include "graph/draw/titles.h"
#include "graph/data/value_range.h"
#include "graph/data/view_points.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace plotwell {

namespace {

// The plot area, its axis lines included.
QRect PlotClip(const PlotArea& area)
{
    return QRect(QPoint(area.cornerx, area.bottomy - area.ywid), QPoint(area.cornerx + area.xwid, area.bottomy));
}

class GraphDrawing
{
public:
    GraphDrawing(const PlotModel& model, Canvas& canvas, const DrawRequest& request)
        : model_(model), canvas_(canvas), request_(request), options_(model.Options()), view_(request.view.Checked())
    {
    }

    DrawingResult Draw();

private:
    void ClearSurface();
    void DrawSeries();
    ValueRange ViewRange(const ValueRange& whole);
    void LayOut(const ValueRange& range, double maxY);
    void DrawAxesStep(double maxY);
    void DrawOneSeries(int n);
    void DrawPieStep(const ValueRange& range);

    const PlotModel& model_;
    Canvas& canvas_;
    const DrawRequest& request_;
    const PlotOptions& options_;
    const PlotView view_; // the request's, without invalid ranges
    DrawingResult result_;
    RenderFrame frame_;
    std::optional<StackTotals> stacks_; // stacked bars only
    int ordinal_ = 0;                   // of the series being drawn among the displayed ones
    bool clip_ = false;                 // a view: the series end at the plot area's edges
};

DrawingResult GraphDrawing::Draw()
{
    ClearSurface();
    if (model_.NumberOfSeries() == 0 || model_.AllSeries().front().empty())
        return result_;
    result_.foundData = true;
    BusyPointer busy(request_.pointer);
    DrawSeries();
    if (clip_)
        canvas_.SetClip(PlotClip(frame_.map.Area()));
    if (result_.panel && options_.showPoints && (frame_.graphtype == kLineGraph || frame_.graphtype == kCurveGraph))
        MarkPoints(canvas_, model_, frame_);
    canvas_.ClearClip();
    if (result_.panel && frame_.graphtype != kPieGraph)
        DrawFloatingAxisTexts(canvas_, model_, frame_);
    return result_;
}

void GraphDrawing::ClearSurface()
{
    frame_.width = canvas_.Width();
    frame_.height = canvas_.Height();
    frame_.graphtype = model_.GraphType();
    frame_.seriesCount = model_.NumberOfSeries();
    result_.graphType = frame_.graphtype;
    result_.surfaceWidth = frame_.width;
    result_.surfaceHeight = frame_.height;
    canvas_.Brush().SetColor(options_.backgroundColor);
    canvas_.FillRect(canvas_.ClipRect());
    if (options_.showLegend)
        DrawLegend(canvas_, model_, frame_.graphtype, frame_.width);
}

void GraphDrawing::DrawSeries()
{
    frame_.indexed = request_.useDrawingIndex;
    const ValueRange range = FindRange(model_, frame_.indexed);
    result_.maxpts = range.maxpts;
    result_.isnegative = range.isnegative;
    result_.hasnegative = range.hasnegative;
    result_.dataMinX = range.minX;
    result_.dataMaxX = range.maxX;
    result_.dataMinY = range.minY;
    result_.dataMaxY = range.maxY;
    if (range.displayed == 0)
        return;
    frame_.isnegative = range.isnegative;
    frame_.maxpts = range.maxpts;
    for (int n = 1; n <= frame_.seriesCount; ++n)
        frame_.anyxy = frame_.anyxy || model_.AllSeriesInfo(n).xydata;
    // Stacks cannot show negative values: the graph is drawn as a line graph, and the caller
    // lets the graph type follow.
    if (frame_.graphtype == kStackedGraph && frame_.isnegative)
        frame_.graphtype = kLineGraph;
    result_.graphType = frame_.graphtype;
    const ValueRange shown = ViewRange(range);
    double maxY = shown.maxY;
    if (frame_.graphtype == kStackedGraph) {
        if (frame_.indexed)
            stacks_.emplace(model_, frame_.anyxy, model_.StackDrawingIndex(frame_.anyxy));
        else
            stacks_.emplace(model_, frame_.anyxy);
        if (!view_.y)
            maxY = stacks_->MaxTotal();
    }
    LayOut(shown, maxY);
    DrawTitle(canvas_, model_, frame_.graphtype, frame_.width);
    if (frame_.graphtype != kPieGraph)
        DrawAxesStep(maxY);
    result_.panel = PanelEffects{!frame_.isnegative, frame_.seriesCount >= 2 && !frame_.isnegative,
                                 frame_.graphtype == kLineGraph || frame_.graphtype == kCurveGraph, frame_.seriesCount >= 2};
    const int xwid = frame_.map.Area().xwid;
    // Bars of bare values stand in slots of whole positions: those of the view's X range.
    const double slotCount = frame_.viewed && !frame_.anyxy ? shown.maxX - shown.minX + 1 : frame_.maxpts;
    frame_.xjmp = slotCount <= 1 ? xwid : static_cast<double>(xwid) / slotCount;
    result_.geometry.xjmp = frame_.xjmp;
    if (frame_.graphtype != kPieGraph)
        DrawXTicks(canvas_, model_, frame_);
    canvas_.Pen().SetWidth(options_.lineWidth);
    canvas_.Pen().SetStyle(kSolidPen);
    clip_ = view_.Zoomed() && frame_.graphtype != kPieGraph;
    if (clip_)
        canvas_.SetClip(PlotClip(frame_.map.Area()));
    for (int n = 1; n <= frame_.seriesCount; ++n) {
        if (!model_.SeriesDisplay(n))
            continue;
        ++ordinal_;
        DrawOneSeries(n);
    }
    canvas_.ClearClip();
    if (frame_.graphtype == kPieGraph)
        DrawPieStep(range);
}

// The range a view shows: its X range (whole positions for bars of bare values), and its Y
// range or else the extremes of the points inside the X range. The spans of points each
// series is drawn from go into the frame. The whole range without a view, and for a pie.
ValueRange GraphDrawing::ViewRange(const ValueRange& whole)
{
    const PlotView& view = view_;
    if (!view.Zoomed() || frame_.graphtype == kPieGraph || !whole.anyPoint)
        return whole;
    ValueRange shown = whole;
    if (view.x) {
        shown.minX = view.x->low;
        shown.maxX = view.x->high;
        const bool bars = frame_.graphtype == kBarGraph || frame_.graphtype == kStackedGraph;
        if (bars && !frame_.anyxy) {
            shown.minX = std::max(1.0, std::floor(shown.minX));
            shown.maxX = std::min(static_cast<double>(std::max(frame_.maxpts, 1)), std::ceil(shown.maxX));
            shown.maxX = std::max(shown.maxX, shown.minX);
            frame_.firstSlot = static_cast<std::size_t>(shown.minX) - 1;
        }
        frame_.viewed = true;
        result_.view.x = ViewSpan{shown.minX, shown.maxX};
        const double inf = HUGE_VAL;
        double minY = inf;
        double maxY = -inf;
        for (int n = 1; n <= frame_.seriesCount; ++n) {
            if (!model_.SeriesDisplay(n))
                continue;
            const PointList& points = model_.AllSeries()[static_cast<std::size_t>(n - 1)];
            const SeriesIndex* index = frame_.indexed ? &model_.DrawingIndex(n) : nullptr;
            const bool inOrder = (index && index->HasBlocks()) || PointsInXOrder(points);
            const PointSpan inside = PointsInRange(points, inOrder, shown.minX, shown.maxX);
            frame_.spans[static_cast<std::size_t>(n)] = WithNeighbours(inside, points.size());
            if (index && index->HasBlocks() && inside.first < inside.last) {
                const SeriesIndex::Run run = index->Extremes(points, inside.first, inside.last);
                if (run.any) {
                    minY = std::min(minY, run.minY);
                    maxY = std::max(maxY, run.maxY);
                }
            } else {
                const SeriesRange r = RangeInSpan(points, inside, shown.minX, shown.maxX);
                minY = std::min(minY, r.minY);
                maxY = std::max(maxY, r.maxY);
            }
        }
        // A stretch without points keeps the whole graph's Y range.
        if (minY <= maxY) {
            shown.minY = minY;
            shown.maxY = maxY;
        }
    }
    return shown;
}

// The zero baseline and the value spans of the axes.
void GraphDrawing::LayOut(const ValueRange& range, double maxY)
{
    double minY = range.minY;
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
    if ((frame_.graphtype == kBarGraph || frame_.graphtype == kStackedGraph) && minY > 0)
        minY = 0;
    // A view's own Y range is shown as it is.
    if (view_.y && frame_.graphtype != kPieGraph) {
        minY = view_.y->low;
        axisMaxY = view_.y->high;
        result_.view.y = view_.y;
    }
    const AxisScale x(range.minX, range.maxX);
    const AxisScale y(minY, axisMaxY);
    PlotGeometry& g = result_.geometry;
    g.minX = x.Low();
    g.minY = y.Low();
    g.maxextentX = x.Extent();
    g.maxextentY = y.Extent();
    // A pie has no plot area: its scales are kept for the record only.
    frame_.map = PlotMapping(PlotArea{}, x, y);
}

void GraphDrawing::DrawAxesStep(double maxY)
{
    const PlotArea area = ComputePlotArea(frame_.width, frame_.height);
    frame_.map = PlotMapping(area, frame_.map.X(), frame_.map.Y());
    frame_.cornery = area.bottomy;
    // In a view the axis floats only where its 0 is shown; the whole graph keeps its rule.
    const AxisScale& y = frame_.map.Y();
    frame_.zeroOutsideView = view_.Zoomed() && !(y.Low() <= 0 && y.High() >= 0);
    if (frame_.isnegative && options_.floatingXAxis && !frame_.zeroOutsideView)
        frame_.cornery = std::clamp(frame_.map.Row(0), area.bottomy - area.ywid, area.bottomy);
    PlotGeometry& g = result_.geometry;
    g.cornerx = area.cornerx;
    g.bottomy = area.bottomy;
    g.xwid = area.xwid;
    g.ywid = area.ywid;
    g.cornery = frame_.cornery;
    g.maxlimitY = MaxLimitY(maxY);
    DrawAxes(canvas_, model_, frame_);
}

void GraphDrawing::DrawOneSeries(int n)
{
    canvas_.Pen().SetColor(options_.SeriesColorOf(n));
    if (options_.drawArea)
        canvas_.Brush().SetColor(canvas_.Pen().Color());
    switch (frame_.graphtype) {
    case kLineGraph:
        DrawLineSeries(canvas_, model_, frame_, n);
        break;
    case kCurveGraph:
        DrawCurve(canvas_, model_, frame_, n);
        break;
    case kBarGraph:
        DrawBarSeries(canvas_, model_, frame_, n, ordinal_);
        break;
    case kStackedGraph:
        DrawStackedSeries(canvas_, model_, frame_, n, *stacks_);
        break;
    case kPieGraph: // one pie for all displayed series, drawn after them
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
    result_.pieNegative = negative;
    if (first == 0 || range.hasnegative[static_cast<std::size_t>(first)])
        return;
    const int controlHeight = request_.controlClientHeight < 0 ? frame_.height + 2 : request_.controlClientHeight;
    DrawPie(canvas_, model_, first, controlHeight);
}

} // namespace

DrawingResult DrawGraph(const PlotModel& model, Canvas& canvas, const DrawRequest& request)
{
    return GraphDrawing(model, canvas, request).Draw();
}

} // namespace plotwell
