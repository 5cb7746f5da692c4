#include "graph/draw/markers.h"

#include "graph/draw/canvas.h"
#include "graph/data/plot_model.h"
#include "graph/draw/render_frame.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace plotwell {

namespace {

// The farthest a marker reaches from its centre pixel, beside its pen's width.
constexpr int kMarkerReach = 6;

void Cross(Canvas& canvas, int x, int y)
{
    canvas.MoveTo(x - 4, y - 4);
    canvas.LineTo(x + 4, y + 4);
    canvas.MoveTo(x - 4, y + 4);
    canvas.LineTo(x + 4, y - 4);
}

// Pixels of one series that already carry its marker.
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
        const std::size_t bit = static_cast<std::size_t>(cy) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(cx);
        std::uint64_t& word = bits_[bit / 64];
        const std::uint64_t mask = std::uint64_t(1) << (bit % 64);
        if (word & mask)
            return false;
        word |= mask;
        return true;
    }

private:
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
    for (int n = 1; n <= model.NumberOfSeries(); ++n) {
        if (!model.SeriesDisplay(n))
            continue;
        const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
        // Every marker of a series is the same pixels in one colour: drawn once, then copied.
        const int reach = kMarkerReach + std::max(canvas.Pen().Width(), options.lineWidth);
        MarkedPixels marked(frame.width, frame.height, reach);
        std::optional<CanvasStamp> stamp;
        const auto draw = [&](Canvas& c, int x, int y) { DrawMarker(c, options, x, y, n); };
        const PointSpan span = DrawnSpan(frame, n, points.size());
        for (std::size_t first = span.first; first < span.last; first += block) {
            const std::size_t count = std::min(block, span.last - first);
            frame.map.MapPoints(points.data() + first, count, columns.data(), rows.data());
            for (std::size_t i = 0; i < count; ++i) {
                if (IsNullPoint(points[first + i]) || !marked.Claim(columns[i], rows[i]))
                    continue;
                if (!stamp)
                    stamp = canvas.CaptureStamp(reach, draw);
                if (stamp->valid)
                    canvas.Stamp(*stamp, columns[i], rows[i]);
                else
                    draw(canvas, columns[i], rows[i]);
            }
        }
    }
}

} // namespace plotwell
