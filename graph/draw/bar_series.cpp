#include "graph/draw/bar_series.h"

#include "graph/draw/canvas.h"
#include "graph/data/plot_model.h"
#include "graph/draw/render_frame.h"
#include "graph/data/series_index.h"
#include "graph/draw/stack_totals.h"

#include <algorithm>
#include <utility>

namespace plotwell {

namespace {

// Each further displayed series of (X,Y) bars stands this far right of the one before.
constexpr int kSeriesShift = 30;

// Rectangles of one colour, drawn as Rectangle draws them. Consecutive bars over the same
// columns whose rows meet set the same pixels as one rectangle around them, when pen and
// brush share the colour: a series of many points to a pixel column then costs one
// rectangle per column instead of one per point.
class BarRun
{
public:
    explicit BarRun(Canvas& canvas)
        : canvas_(canvas),
          mergeable_(canvas.Pen().Width() == 1 && canvas.Brush().Style() == kSolidBrush &&
                     canvas.Pen().Color() == canvas.Brush().Color())
    {
    }
    BarRun(const BarRun&) = delete;
    bool Mergeable() const { return mergeable_; }
    BarRun& operator=(const BarRun&) = delete;

    // Corners in any order; like Rectangle, at least one pixel each way.
    void Add(int x1, int y1, int x2, int y2)
    {
        const CanvasBox box = RectangleBox(x1, y1, x2, y2);
        if (pending_ && mergeable_ && box.left == run_.left && box.right == run_.right && box.top <= run_.bottom &&
            box.bottom >= run_.top) {
            run_.top = std::min(run_.top, box.top);
            run_.bottom = std::max(run_.bottom, box.bottom);
            return;
        }
        Flush();
        run_ = box;
        pending_ = true;
    }

    void Flush()
    {
        if (pending_)
            canvas_.Rectangle(run_.left, run_.top, run_.right, run_.bottom);
        pending_ = false;
    }

private:
    Canvas& canvas_;
    bool mergeable_;
    bool pending_ = false;
    CanvasBox run_{};
};

// Solid bars in the series colour with a one-pixel outline in the pen colour.
void UseBarTools(Canvas& canvas, const PlotModel& model, int n)
{
    canvas.Brush().SetColor(model.Options().SeriesColorOf(n));
    canvas.Pen().SetWidth(1);
}

// Calls draw(j, point) for each point of series n that has a bar (not null, not 0), of its
// span in a view.
template <typename Draw> void ForEachBar(const PlotModel& model, const RenderFrame& frame, int n, Draw&& draw)
{
    const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
    const PointSpan span = DrawnSpan(frame, n, points.size());
    for (std::size_t j = span.first; j < span.last; ++j) {
        const DataPoint& p = points[j];
        if (!IsNullPoint(p) && p.y != 0)
            draw(j, p);
    }
}

// The first position past the group of [a, n) that `key` (never decreasing) gives key(a).
template <typename Key> std::size_t GroupEnd(std::size_t a, std::size_t n, Key&& key)
{
    const int k = key(a);
    std::size_t lo = a + 1;
    std::size_t hi = n;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (key(mid) <= k)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// Bars of many points to a pixel column through the drawing index: the bars of one left
// edge all reach the X axis row, so they merge into the one rectangle of their largest and
// smallest value, and only those two are drawn. `left(j)` is the left edge of point j's bar
// (never decreasing with j), `box(j, y)` adds its bar of value y. Only the series' span in a
// view is drawn (the index takes the extremes of any run of points). A group that may hold a
// zero, which draws nothing, is walked. False when the index cannot be used.
template <typename Left, typename Box>
bool DrawBarsByColumn(const PlotModel& model, const RenderFrame& frame, int n, const BarRun& run, Left&& left,
                      Box&& box)
{
    const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
    const PointSpan span = DrawnSpan(frame, n, points.size());
    if (!frame.indexed || !run.Mergeable() ||
        span.last - span.first <= 2 * static_cast<std::size_t>(std::max(frame.width, 1)))
        return false;
    const SeriesIndex& index = model.DrawingIndex(n);
    if (!index.MapsInOrder(points, frame.map, true))
        return false;
    for (std::size_t a = span.first; a < span.last;) {
        const std::size_t b = GroupEnd(a, span.last, left);
        const SeriesIndex::Run extremes = index.Extremes(points, a, b);
        if (extremes.any) {
            if (extremes.minY <= 0 && extremes.maxY >= 0) {
                for (std::size_t j = a; j < b; ++j)
                    if (!IsNullPoint(points[j]) && points[j].y != 0)
                        box(j, points[j].y);
            } else {
                box(extremes.highest, extremes.maxY);
                box(extremes.lowest, extremes.minY);
            }
        }
        a = b;
    }
    return true;
}

} // namespace

void DrawBarSeries(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, int n, int ordinal)
{
    UseBarTools(canvas, model, n);
    const PlotMapping& map = frame.map;
    const double seriesCount = frame.seriesCount;
    const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
    BarRun run(canvas);
    if (frame.anyxy) {
        const int shift = (ordinal - 1) * kSeriesShift;
        const int width = PixelRound(frame.xjmp / (3 * seriesCount));
        const auto left = [&](std::size_t j) { return map.Column(points[j].x) + shift; };
        const auto box = [&](std::size_t j, double y) {
            const int x = left(j);
            run.Add(x, map.Row(y), x + width, frame.cornery);
        };
        if (!DrawBarsByColumn(model, frame, n, run, left, box))
            ForEachBar(model, frame, n, [&](std::size_t j, const DataPoint& p) { box(j, p.y); });
    } else {
        const double width = frame.xjmp / seriesCount;
        const int cornerx = map.Area().cornerx;
        const double place = width * (n - 1); // the series' place in the slot
        const auto left = [&](std::size_t j) {
            const double slot = static_cast<double>(j) - static_cast<double>(frame.firstSlot);
            return PixelRound(slot * frame.xjmp + cornerx + place);
        };
        const auto box = [&](std::size_t j, double y) {
            const int x = left(j);
            run.Add(x, map.Row(y), PixelRound(x + width), frame.cornery);
        };
        if (!DrawBarsByColumn(model, frame, n, run, left, box))
            ForEachBar(model, frame, n, [&](std::size_t j, const DataPoint& p) { box(j, p.y); });
    }
    run.Flush();
}

void DrawStackedSeries(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, int n, StackTotals& totals)
{
    UseBarTools(canvas, model, n);
    const PlotMapping& map = frame.map;
    const double xjmp = frame.xjmp;
    const int xyWidth = PixelRound(xjmp / (2.0 * frame.seriesCount));
    BarRun run(canvas);
    ForEachBar(model, frame, n, [&](std::size_t j, const DataPoint& p) {
        const std::size_t slot = totals.Slot(j, p.x);
        const double base = totals.Total(slot);
        const double top = StackTotals::Add(base, p.y);
        const int x = map.Column(p.x);
        const int right = frame.anyxy ? x + xyWidth : PixelRound(x + xjmp - xjmp / 5);
        const int bottomRow = base == 0 ? frame.cornery : map.RowFrom(frame.cornery, base);
        run.Add(x, map.RowFrom(frame.cornery, top), right, bottomRow);
        totals.SetTotal(slot, top);
    });
    run.Flush();
}

} // namespace plotwell
