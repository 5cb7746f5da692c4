#pragma once
// The drawing grid: DrawGraph of 8 x 1,000,000 values (or any loaded file) at the window's
// defaults and beside them, at 469 x 399 and 1920 x 1080, through the drawing index and by the
// walk through every point. control-bench prints it; draw-grid-bench prints it alone. The same
// source builds against the tree before the three rooms of graph/ (class names of that time),
// so that one run can time the drawing before and after a change.

#if __has_include("graph/draw/canvas.h")
#include "core/recording_sink.h"
#include "graph/data/plot_model.h"
#include "graph/draw/canvas.h"
#include "graph/draw/renderer.h"
#include "graph/load/data_file_loader.h"
#define PLOTWELL_GRID_OPTION(now, before) now
namespace plotwell::grid {
using GridCanvas = Canvas;
using GridSink = RecordingSink;
using GridKind = GraphKind;
constexpr GridKind kLine = kLineGraph, kBar = kBarGraph, kStacked = kStackedGraph, kCurve = kCurveGraph;
inline void Load(PlotModel& model, const QString& file) { LoadDataFile(model, file); }
} // namespace plotwell::grid
#else
#include "core/recording_sink.h"
#include "graph/canvas.h"
#include "graph/plot_model.h"
#include "graph/renderer.h"
#define PLOTWELL_GRID_OPTION(now, before) before
namespace plotwell::grid {
using GridCanvas = TCanvas;
using GridSink = TRecordingSink;
using GridKind = Tgraphtype;
constexpr GridKind kLine = gtline, kBar = gtbar, kStacked = gtstacked, kCurve = gtcurve;
inline void Load(PlotModel& model, const QString& file) { model.SetFileName(file); }
} // namespace plotwell::grid
#endif

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace plotwell::grid {

struct GridCase
{
    const char* name;
    GridKind type;
    int lineWidth;
    bool markers;
    bool area;
};

// The cells of the table of drawing costs: line widths 1 and 2 with markers off and on, the
// wide lines, and the other graph kinds at the window's defaults.
inline const std::vector<GridCase>& GridCases()
{
    static const std::vector<GridCase> cases = {
        {"line w1", kLine, 1, false, false},           {"line w2", kLine, 2, false, false},
        {"line w1 markers", kLine, 1, true, false},    {"line w2 markers", kLine, 2, true, false},
        {"line w5 markers", kLine, 5, true, false},    {"line w30 markers", kLine, 30, true, false},
        {"curve w2 markers", kCurve, 2, true, false},  {"area w2 markers", kLine, 2, true, true},
        {"bar w2 markers", kBar, 2, true, false},      {"stacked w2 markers", kStacked, 2, true, false},
    };
    return cases;
}

inline double MedianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// The median milliseconds of `runs` drawings of the model's state on a canvas of this size.
inline double DrawingMs(PlotModel& model, int width, int height, bool indexed, int runs)
{
    GridCanvas canvas;
    canvas.SetSize(width, height);
    DrawRequest request;
    request.useDrawingIndex = indexed;
    DrawGraph(model, canvas, request); // builds the index, warms the caches
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        DrawGraph(model, canvas, request);
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return MedianOf(ms);
}

// One row per cell and size: the redraw through the index first, then the walk.
inline void PrintGrid(PlotModel& model, int runs)
{
    const struct
    {
        int width, height;
    } sizes[] = {{469, 399}, {1920, 1080}};
    for (const auto& size : sizes) {
        for (const GridCase& c : GridCases()) {
            model.SetGraphType(c.type);
            model.SetOption(&PlotOptions::PLOTWELL_GRID_OPTION(lineWidth, LineWidth), c.lineWidth);
            model.SetOption(&PlotOptions::PLOTWELL_GRID_OPTION(showPoints, ShowPoints), c.markers);
            model.SetOption(&PlotOptions::PLOTWELL_GRID_OPTION(drawArea, DrawArea), c.area);
            const double indexed = DrawingMs(model, size.width, size.height, true, runs);
            const double walk = DrawingMs(model, size.width, size.height, false, runs);
            char name[64];
            std::snprintf(name, sizeof name, "draw %s %dx%d", c.name, size.width, size.height);
            std::printf("%-34s %9.2f ms %9.2f ms %10s  %s\n", name, indexed, walk, "< 16 ms",
                        indexed < 16.0 ? "met" : "MISSED");
        }
    }
    model.SetGraphType(kLine);
    model.SetOption(&PlotOptions::PLOTWELL_GRID_OPTION(lineWidth, LineWidth), 2);
    model.SetOption(&PlotOptions::PLOTWELL_GRID_OPTION(showPoints, ShowPoints), true);
    model.SetOption(&PlotOptions::PLOTWELL_GRID_OPTION(drawArea, DrawArea), false);
}

} // namespace plotwell::grid
