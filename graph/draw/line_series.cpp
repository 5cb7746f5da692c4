#include "graph/draw/line_series.h"

#include "graph/draw/canvas.h"
#include "graph/draw/column_runs.h"
#include "graph/draw/pixel_path.h"
#include "graph/data/plot_model.h"
#include "graph/draw/render_frame.h"
#include "graph/data/series_index.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace plotwell {

namespace {

constexpr std::size_t kPathChunk = 8192;
// Points mapped to pixels at a time.
constexpr std::size_t kMapBlock = 1024;

class LinePainter
{
public:
    LinePainter(Canvas& canvas, const PlotOptions& options, const RenderFrame& frame, bool thinned)
        : canvas_(canvas), area_(options.drawArea), thinned_(thinned),
          bandBottom_(frame.cornery - options.lineWidth)
    {
    }

    // Draws the path so far and keeps its last point to go on from.
    void Flush(std::vector<QPoint>& path)
    {
        if (path.size() >= 2) {
            if (area_) {
                Area(path);
            } else if (thinned_) {
                // Every segment is drawn from a point back to the one before it.
                std::reverse(path.begin(), path.end());
                canvas_.Polyline(path.data(), static_cast<qsizetype>(path.size()));
                std::reverse(path.begin(), path.end());
            } else {
                for (std::size_t i = 1; i < path.size(); ++i) {
                    canvas_.MoveTo(path[i].x(), path[i].y());
                    canvas_.LineTo(path[i - 1].x(), path[i - 1].y());
                }
            }
        }
        if (!path.empty())
            path.erase(path.begin(), path.end() - 1);
    }

private:
    // The filled area: the band from the path down to just above the X axis row, column by
    // column, in the brush colour, which is the pen's. The series' first segment keeps the
    // pen's width; after it the outline is one pixel wide, and a one-pixel line between the
    // path's points lies in the band, so only the band is drawn.
    void Area(const std::vector<QPoint>& path)
    {
        if (canvas_.Pen().Width() != 1) {
            canvas_.MoveTo(path[1].x(), path[1].y());
            canvas_.LineTo(path[0].x(), path[0].y());
            canvas_.Pen().SetWidth(1);
        }
        canvas_.FillBands(path.data(), static_cast<qsizetype>(path.size()), bandBottom_);
        const QPoint last = path[path.size() - 2]; // where the outline ends
        canvas_.MoveTo(last.x(), last.y());
    }

    Canvas& canvas_;
    bool area_;
    bool thinned_;
    int bandBottom_;
};

// The index of the first plotted point of [a, end), or end.
std::size_t FirstPlottedPoint(const PointList& points, std::size_t a, std::size_t end)
{
    while (a < end && IsNullPoint(points[a]))
        ++a;
    return a;
}

// The path's first run goes point by point (the reducer watches its first pixel): from the
// first plotted point while X goes on in order within its column. Returns where it ends, or
// the end when the span [begin, n) holds no plotted point.
std::size_t AddFirstRun(const PointList& points, std::size_t begin, std::size_t n, const PlotMapping& map,
                        PixelPathReducer& reducer)
{
    const std::size_t a = FirstPlottedPoint(points, begin, n);
    if (a == n)
        return n;
    const int column = map.Column(points[a].x);
    std::size_t b = a + 1;
    while (b < n && points[b].x >= points[b - 1].x && map.Column(points[b].x) == column)
        ++b;
    for (std::size_t i = a; i < b; ++i)
        if (!IsNullPoint(points[i]))
            reducer.Add(QPoint(column, map.Row(points[i].y)));
    return b;
}

// A later column's run [a, b) by its plotted extremes (indexes into the series).
void AddColumnRun(PixelPathReducer& reducer, const PlotMapping& map, const PointList& points, int column,
                  std::size_t a, std::size_t b, const SeriesIndex::Run& run)
{
    // In order, the run's ends in one column hold every point between them there.
    const auto offset = [a](std::size_t i) { return static_cast<qint64>(i - a); };
    reducer.AddRun({column, offset(b), offset(run.first), offset(run.highest), offset(run.lowest), offset(run.last),
                    map.Row(points[run.first].y), map.Row(run.maxY), map.Row(run.minY), map.Row(points[run.last].y)});
}

// Feeds the reducer a series whose points are in X order, so that each pixel column holds
// one run of the array: a run's ends are found by bisection and only its first, last,
// lowest and highest points are mapped. Returns the index where X order was found broken (the
// caller goes on point by point from there), or the span's end n.
std::size_t ReduceInXOrder(const PointList& points, std::size_t begin, std::size_t n, const PlotMapping& map,
                           PixelPathReducer& reducer)
{
    std::size_t b = AddFirstRun(points, begin, n, map, reducer);
    while (b < n) {
        const std::size_t a = b;
        const int column = map.Column(points[a].x);
        // The first point past this column's run.
        std::size_t lo = a + 1;
        std::size_t hi = n;
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (map.Column(points[mid].x) <= column)
                lo = mid + 1;
            else
                hi = mid;
        }
        b = lo;
        SeriesIndex::Run run;
        for (std::size_t i = a; i < b; ++i) {
            const DataPoint& p = points[i];
            if (p.x < points[i - 1].x)
                return a; // not in X order after all
            if (IsNullPoint(p))
                continue;
            if (!run.any) {
                run.any = true;
                run.first = run.lowest = run.highest = i;
                run.minY = run.maxY = p.y;
            }
            run.last = i;
            if (p.y < run.minY) {
                run.minY = p.y;
                run.lowest = i;
            }
            if (p.y > run.maxY) {
                run.maxY = p.y;
                run.highest = i;
            }
        }
        if (run.any) // else only gaps in this column
            AddColumnRun(reducer, map, points, column, a, b, run);
    }
    return n;
}

// Asks for the points around the likely end of the next run before they are read: the end
// search and the run's last, partial block of points start there.
void PrefetchRunEnd(const PointList& points, std::size_t end)
{
    const std::size_t from = end > SeriesIndex::kFanOut ? end - SeriesIndex::kFanOut : 0;
    points.Prefetch(from, std::min(end + 1, points.size()));
}

// The first run of a filled area, point by point as the reducer would be given it: the
// series' point 0 stands `shift` columns right of its own, and the run goes on over gaps
// while the plotted points stay in its column.
std::size_t AddFirstAreaRun(const PointList& points, std::size_t begin, std::size_t n, const PlotMapping& map, int shift,
                            PixelPathReducer& reducer)
{
    const std::size_t a = FirstPlottedPoint(points, begin, n);
    if (a == n)
        return n;
    const int column = map.Column(points[a].x) + (a == 0 ? shift : 0);
    reducer.Add(QPoint(column, map.Row(points[a].y)));
    std::size_t b = a + 1;
    for (; b < n; ++b) {
        if (IsNullPoint(points[b]))
            continue;
        if (map.Column(points[b].x) != column)
            break;
        reducer.Add(QPoint(column, map.Row(points[b].y)));
    }
    return b;
}

// The reduction of a series whose index has blocks (so it is in X order), each run's
// extremes taken from the index, keeping the first points of a column's largest and smallest
// Y: the thinned path's one-pixel line has the pixels of the whole path's, so a filled area
// (`area`, point 0 `shift` columns right), whose bands follow those pixels, is the same too.
void ReduceWithIndex(const PointList& points, std::size_t begin, std::size_t n, const SeriesIndex& index,
                     const PlotMapping& map, bool area, int shift, PixelPathReducer& reducer)
{
    std::size_t b = area ? AddFirstAreaRun(points, begin, n, map, shift, reducer)
                         : AddFirstRun(points, begin, n, map, reducer);
    std::size_t length = 1;
    while (b < n) {
        const std::size_t a = b;
        const int column = map.Column(points[a].x);
        b = RunEnd(points, n, map, a, column, a + length);
        length = b - a;
        PrefetchRunEnd(points, b + length);
        const SeriesIndex::Run run = index.Extremes(points, a, b);
        if (!run.any)
            continue;
        AddColumnRun(reducer, map, points, column, a, b, run);
    }
}

} // namespace

void DrawLineSeries(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, int n)
{
    const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
    const PlotOptions& options = model.Options();
    const PointSpan span = DrawnSpan(frame, n, points.size());
    const std::size_t end = span.last;
    const bool thin = span.last - span.first > static_cast<std::size_t>(std::max(frame.map.Area().xwid, 1));
    LinePainter painter(canvas, options, frame, thin);
    std::vector<QPoint> path;
    path.reserve(thin ? kPathChunk + 8 : span.last - span.first);
    PixelPathReducer reducer(path);
    // Point by point from here (the whole series unless it is thinned in X order).
    std::size_t from = span.first;
    const SeriesIndex* index = thin && frame.indexed ? &model.DrawingIndex(n) : nullptr;
    if (index && index->MapsInOrder(points, frame.map, options.drawArea)) {
        ReduceWithIndex(points, span.first, end, *index, frame.map, options.drawArea, options.lineWidth - 1, reducer);
        from = end;
    } else if (thin && !options.drawArea) {
        from = ReduceInXOrder(points, span.first, end, frame.map, reducer);
    }
    std::array<int, kMapBlock> columns;
    std::array<int, kMapBlock> rows;
    for (std::size_t block = from; block < end; block += kMapBlock) {
        const std::size_t count = std::min(kMapBlock, end - block);
        frame.map.MapPoints(points, block, count, columns.data(), rows.data());
        for (std::size_t i = 0; i < count; ++i) {
            if (IsNullPoint(points[block + i]))
                continue;
            int x = columns[i];
            if (options.drawArea && block + i == 0)
                x += options.lineWidth - 1;
            const QPoint pixel(x, rows[i]);
            if (thin)
                reducer.Add(pixel);
            else
                path.push_back(pixel);
        }
        if (path.size() >= kPathChunk)
            painter.Flush(path);
    }
    if (thin)
        reducer.Finish();
    painter.Flush(path);
}

} // namespace plotwell
