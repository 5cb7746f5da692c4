#include "graph/markers.h"

#include "graph/canvas.h"
#include "graph/plot_model.h"
#include "graph/render_frame.h"

#include <cstdint>
#include <vector>

namespace plotwell {

namespace {

// The farthest a marker reaches from its centre pixel.
constexpr int kMarkerReach = 6;

void cross(TCanvas& canvas, int x, int y)
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
    MarkedPixels(int width, int height)
        : left_(-kMarkerReach), top_(-kMarkerReach), width_(width + 2 * kMarkerReach),
          height_(height + 2 * kMarkerReach),
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

void DrawMarker(TCanvas& canvas, const PlotOptions& options, int x, int y, int n)
{
    const TColor savedBrush = canvas.Brush().Color();
    const TColor color = options.SeriesColorOf(n);
    canvas.Pen().SetColor(color);
    canvas.Pen().SetStyle(psSolid);
    if (options.LineWidth <= 2)
        canvas.Pen().SetWidth(options.LineWidth);
    switch (n) {
    case 1:
        cross(canvas, x, y);
        break;
    case 2:
        canvas.Brush().SetStyle(bsClear);
        canvas.Ellipse(x - 4, y - 4, x + 4, y + 4);
        break;
    case 3:
        canvas.Brush().SetStyle(bsClear);
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
        canvas.Brush().SetStyle(bsClear);
        canvas.Ellipse(x - 5, y - 5, x + 5, y + 5);
        cross(canvas, x, y);
        break;
    case 6:
        canvas.Brush().SetStyle(bsClear);
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

void MarkPoints(TCanvas& canvas, const PlotModel& model, const RenderFrame& frame)
{
    for (int n = 1; n <= model.NumberOfSeries(); ++n) {
        if (!model.SeriesDisplay(n))
            continue;
        MarkedPixels marked(frame.width, frame.height);
        for (const tpt& p : model.seriesarr()[static_cast<std::size_t>(n - 1)]) {
            if (IsNullPoint(p))
                continue;
            const int x = frame.map.Column(p.x);
            const int y = frame.map.Row(p.y);
            if (marked.Claim(x, y))
                DrawMarker(canvas, model.Options(), x, y, n);
        }
    }
}

} // namespace plotwell
