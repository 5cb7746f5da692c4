#include "graph/line_series.h"

#include "graph/canvas.h"
#include "graph/pixel_path.h"
#include "graph/plot_model.h"
#include "graph/render_frame.h"

#include <algorithm>
#include <array>
#include <vector>

namespace plotwell {

namespace {

constexpr std::size_t kPathChunk = 8192;
// Points mapped to pixels at a time.
constexpr std::size_t kMapBlock = 1024;

class LinePainter
{
public:
    LinePainter(TCanvas& canvas, const PlotOptions& options, const RenderFrame& frame, bool thinned)
        : canvas_(canvas), area_(options.DrawArea), thinned_(thinned),
          bandBottom_(frame.cornery - options.LineWidth)
    {
    }

    // Draws the path so far and keeps its last point to go on from.
    void Flush(std::vector<QPoint>& path)
    {
        if (path.size() >= 2) {
            if (thinned_ && !area_) {
                // Every segment is drawn from a point back to the one before it.
                std::reverse(path.begin(), path.end());
                canvas_.Polyline(path.data(), static_cast<qsizetype>(path.size()));
                std::reverse(path.begin(), path.end());
            } else {
                for (std::size_t i = 1; i < path.size(); ++i)
                    Segment(path[i], path[i - 1]);
            }
        }
        if (!path.empty())
            path.erase(path.begin(), path.end() - 1);
    }

private:
    void Segment(QPoint current, QPoint previous)
    {
        canvas_.MoveTo(current.x(), current.y());
        canvas_.LineTo(previous.x(), previous.y());
        if (!area_)
            return;
        // A band from the segment down to just above the X axis row.
        canvas_.Pen().SetWidth(1);
        const QPoint band[] = {current, previous, QPoint(previous.x(), bandBottom_), QPoint(current.x(), bandBottom_)};
        canvas_.Polygon(band, 4);
    }

    TCanvas& canvas_;
    bool area_;
    bool thinned_;
    int bandBottom_;
};

} // namespace

void DrawLineSeries(TCanvas& canvas, const PlotModel& model, const RenderFrame& frame, int n)
{
    const tptsarr& points = model.seriesarr()[static_cast<std::size_t>(n - 1)];
    const PlotOptions& options = model.Options();
    const bool thin = points.size() > static_cast<std::size_t>(std::max(frame.map.Area().xwid, 1));
    LinePainter painter(canvas, options, frame, thin);
    std::vector<QPoint> path;
    path.reserve(thin ? kPathChunk + 8 : points.size());
    PixelPathReducer reducer(path);
    std::array<int, kMapBlock> columns;
    std::array<int, kMapBlock> rows;
    for (std::size_t block = 0; block < points.size(); block += kMapBlock) {
        const std::size_t count = std::min(kMapBlock, points.size() - block);
        frame.map.MapPoints(points.data() + block, count, columns.data(), rows.data());
        for (std::size_t i = 0; i < count; ++i) {
            if (IsNullPoint(points[block + i]))
                continue;
            int x = columns[i];
            if (options.DrawArea && block + i == 0)
                x += options.LineWidth - 1;
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
