#include "graph/draw/markers.h"

#include "graph/draw/canvas.h"
#include "graph/draw/column_runs.h"
#include "graph/data/plot_model.h"
#include "graph/draw/render_frame.h"
#include "graph/data/series_index.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace plotwell {

namespace {

// The farthest a marker reaches from its centre pixel, beside its pen's width.
constexpr int kMarkerReach = 6;
// Steps of at most this many rows (computed) are less than one row apart on the surface:
// the rounding of the pixel positions is far finer than the margin.
constexpr double kLessThanARow = 0.999;

void Cross(Canvas& canvas, int x, int y)
{
    canvas.MoveTo(x - 4, y - 4);
    canvas.LineTo(x + 4, y + 4);
    canvas.MoveTo(x - 4, y + 4);
    canvas.LineTo(x + 4, y - 4);
}

// Pixels of one series that already carry its marker, column by column.
class MarkedPixels
{
public:
    MarkedPixels(int width, int height, int reach)
        : left_(-reach), top_(-reach), width_(width + 2 * reach), height_(height + 2 * reach),
          bits_((static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) + 63) / 64)
    {
    }

    // True the first time a pixel within reach of the surface is asked for.
    bool Claim(int x, int y)
    {
        const int cx = x - left_;
        const int cy = y - top_;
        if (cx < 0 || cy < 0 || cx >= width_ || cy >= height_)
            return false;
        const std::size_t bit = Bit(cx, cy);
        std::uint64_t& word = bits_[bit / 64];
        const std::uint64_t mask = std::uint64_t(1) << (bit % 64);
        if (word & mask)
            return false;
        word |= mask;
        return true;
    }

    // Claims rows [y0, y1] of column x, those within reach; true when one was not claimed yet.
    bool ClaimRows(int x, int y0, int y1)
    {
        const int cx = x - left_;
        const int r0 = std::max(y0 - top_, 0);
        const int r1 = std::min(y1 - top_, height_ - 1);
        if (cx < 0 || cx >= width_ || r0 > r1)
            return false;
        bool fresh = false;
        for (std::size_t bit = Bit(cx, r0), end = Bit(cx, r1) + 1; bit < end;) {
            const std::size_t from = bit % 64;
            const std::size_t to = std::min<std::size_t>(64, from + (end - bit));
            const std::uint64_t mask = RangeMask(from, to);
            std::uint64_t& word = bits_[bit / 64];
            fresh = fresh || (word & mask) != mask;
            word |= mask;
            bit += to - from;
        }
        return fresh;
    }

    // No pixel of columns [x0, x1], rows [y0, y1] would be claimed: all are claimed already or
    // out of reach. Blocks over more than a few columns are not looked into.
    bool Done(int x0, int x1, int y0, int y1) const
    {
        const int c0 = std::max(x0 - left_, 0);
        const int c1 = std::min(x1 - left_, width_ - 1);
        const int r0 = std::max(y0 - top_, 0);
        const int r1 = std::min(y1 - top_, height_ - 1);
        if (c0 > c1 || r0 > r1)
            return true;
        if (c1 - c0 > 3)
            return false;
        for (int c = c0; c <= c1; ++c)
            if (!ColumnDone(c, r0, r1))
                return false;
        return true;
    }

    // Calls f(x, y0, y1) for each run of claimed pixels [y0, y1] of a column, column by column.
    template <typename F> void ForEachRun(F&& f) const
    {
        for (int cx = 0; cx < width_; ++cx) {
            const std::size_t begin = Bit(cx, 0);
            const std::size_t end = begin + static_cast<std::size_t>(height_);
            for (std::size_t bit = NextBit(begin, end, true); bit < end;) {
                const std::size_t stop = NextBit(bit, end, false);
                f(cx + left_, static_cast<int>(bit - begin) + top_, static_cast<int>(stop - begin) - 1 + top_);
                bit = NextBit(stop, end, true);
            }
        }
    }

private:
    bool ColumnDone(int cx, int r0, int r1) const
    {
        for (std::size_t bit = Bit(cx, r0), end = Bit(cx, r1) + 1; bit < end;) {
            const std::size_t word = bit / 64;
            const std::size_t from = bit % 64;
            const std::size_t to = std::min<std::size_t>(64, from + (end - bit));
            const std::uint64_t mask = RangeMask(from, to);
            if ((bits_[word] & mask) != mask)
                return false;
            bit += to - from;
        }
        return true;
    }

    // Bits [from, to) of a word, 0 <= from < to <= 64.
    static std::uint64_t RangeMask(std::size_t from, std::size_t to)
    {
        return (to == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << to) - 1) & ~((std::uint64_t(1) << from) - 1);
    }

    // The first bit of [from, end) equal to `value`, or end.
    std::size_t NextBit(std::size_t from, std::size_t end, bool value) const
    {
        while (from < end) {
            const std::uint64_t word = value ? bits_[from / 64] : ~bits_[from / 64];
            const std::uint64_t rest = word >> (from % 64);
            if (rest)
                return std::min(end, from + static_cast<std::size_t>(std::countr_zero(rest)));
            from = (from / 64 + 1) * 64;
        }
        return end;
    }

    std::size_t Bit(int cx, int cy) const
    {
        return static_cast<std::size_t>(cx) * static_cast<std::size_t>(height_) + static_cast<std::size_t>(cy);
    }

    int left_, top_, width_, height_;
    std::vector<std::uint64_t> bits_;
};

} // namespace

void DrawMarker(Canvas& canvas, const PlotOptions& options, int x, int y, int n)
{
    const RgbColor savedBrush = canvas.Brush().Color();
    const RgbColor color = options.SeriesColorOf(n);
    canvas.Pen().SetColor(color);
    canvas.Pen().SetStyle(kSolidPen);
    if (options.lineWidth <= 2)
        canvas.Pen().SetWidth(options.lineWidth);
    switch (n) {
    case 1:
        Cross(canvas, x, y);
        break;
    case 2:
        canvas.Brush().SetStyle(kClearBrush);
        canvas.Ellipse(x - 4, y - 4, x + 4, y + 4);
        break;
    case 3:
        canvas.Brush().SetStyle(kClearBrush);
        canvas.Rectangle(x - 4, y - 4, x + 4, y + 4);
        break;
    case 4:
        canvas.MoveTo(x, y - 4);
        canvas.LineTo(x - 4, y + 4);
        canvas.MoveTo(x, y - 4);
        canvas.LineTo(x + 4, y + 4);
        canvas.MoveTo(x - 4, y + 4);
        canvas.LineTo(x + 4, y + 4);
        break;
    case 5:
        canvas.Brush().SetStyle(kClearBrush);
        canvas.Ellipse(x - 5, y - 5, x + 5, y + 5);
        Cross(canvas, x, y);
        break;
    case 6:
        canvas.Brush().SetStyle(kClearBrush);
        canvas.Rectangle(x - 4, y - 4, x + 4, y + 4);
        canvas.Rectangle(x - 2, y - 2, x + 2, y + 2);
        break;
    case 7: {
        canvas.Brush().SetColor(color);
        const QPoint corners[] = {QPoint(x, y - 4), QPoint(x - 4, y + 4), QPoint(x + 4, y + 4)};
        canvas.Polygon(corners, 3);
        break;
    }
    case 8:
        canvas.Brush().SetColor(color);
        canvas.Ellipse(x - 5, y - 5, x + 5, y + 5);
        break;
    default:
        break;
    }
    canvas.Brush().SetColor(savedBrush);
}

void MarkPoints(Canvas& canvas, const PlotModel& model, const RenderFrame& frame)
{
    constexpr std::size_t block = 1024;
    std::array<int, block> columns;
    std::array<int, block> rows;
    const PlotOptions& options = model.Options();
    const PlotMapping& map = frame.map;
    for (int n = 1; n <= model.NumberOfSeries(); ++n) {
        if (!model.SeriesDisplay(n))
            continue;
        const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
        const int reach = kMarkerReach + std::max(canvas.Pen().Width(), options.lineWidth);
        MarkedPixels marked(frame.width, frame.height, reach);
        const PointSpan span = DrawnSpan(frame, n, points.size());
        // The pixels that carry a marker first, then the markers: each once, column by column.
        bool any = false;
        const auto mark = [&](int x, int y) { any = marked.Claim(x, y) || any; };
        const auto markPoints = [&](std::size_t from, std::size_t count) {
            for (std::size_t first = from; first < from + count; first += block) {
                const std::size_t mapped = std::min(block, from + count - first);
                map.MapPoints(points, first, mapped, columns.data(), rows.data());
                for (std::size_t i = 0; i < mapped; ++i)
                    if (!IsNullPoint(points[first + i]))
                        mark(columns[i], rows[i]);
            }
        };
        const SeriesIndex* index = frame.indexed ? &model.DrawingIndex(n) : nullptr;
        if (index && index->MapsInOrder(points, map, true)) {
            // Columns follow the points and rows their Y. A column's run of points whose steps
            // all map to less than a row hits every row from its top to its bottom one.
            const double rowsPerUnit = map.Y().Scale() / map.Y().ScaledExtent() * map.Area().ywid;
            const auto skip = [&](std::size_t first, std::size_t last, std::size_t lowest, std::size_t highest) {
                // A block of points whose pixels all carry the marker adds nothing. The pixels
                // of its largest and smallest Y are its points' own, marked at once.
                const int top = map.Row(points[highest].y);
                const int bottom = map.Row(points[lowest].y);
                mark(map.Column(points[highest].x), top);
                mark(map.Column(points[lowest].x), bottom);
                return marked.Done(map.Column(points[first].x), map.Column(points[last].x), top, bottom);
            };
            const auto visit = [&](std::size_t from, std::size_t to) { markPoints(from, to - from); };
            ForEachColumnRun(points, span.first, span.last, map, [&](int column, std::size_t a, std::size_t b) {
                const SeriesIndex::Bounds bounds = index->BoundsOf(points, a, b);
                if (!bounds.any)
                    return;
                if (bounds.largestStep * rowsPerUnit <= kLessThanARow) {
                    any = marked.ClaimRows(column, map.Row(bounds.maxY), map.Row(bounds.minY)) || any;
                    return;
                }
                // Only the blocks whose rows do not all carry the marker yet are looked into.
                index->VisitPoints(points, a, b, skip, visit);
            });
        } else {
            markPoints(span.first, span.last - span.first);
        }
        if (!any)
            continue;
        // Every marker of a series is the same pixels in one colour: drawn once, then copied,
        // a run of a column's rows at a time.
        const auto draw = [&](Canvas& c, int x, int y) { DrawMarker(c, options, x, y, n); };
        const CanvasStamp stamp = canvas.CaptureStamp(reach, draw);
        if (stamp.valid) {
            std::vector<std::array<int, 3>> runs;
            marked.ForEachRun([&](int x, int y0, int y1) { runs.push_back({x, y0, y1}); });
            canvas.StampColumns(stamp, runs);
            continue;
        }
        marked.ForEachRun([&](int x, int y0, int y1) {
            for (int y = y0; y <= y1; ++y)
                draw(canvas, x, y);
        });
    }
}

} // namespace plotwell
