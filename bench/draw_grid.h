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

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
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

// The processor time of this thread: on a shared machine the other programs' time is left out.
inline double ThreadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct GridTimes
{
    double cpu, wall; // medians, ms
};

// The medians of `runs` drawings of the model's state on a canvas of this size.
inline GridTimes DrawingMs(PlotModel& model, int width, int height, bool indexed, int runs)
{
    GridCanvas canvas;
    canvas.SetSize(width, height);
    DrawRequest request;
    request.useDrawingIndex = indexed;
    DrawGraph(model, canvas, request); // builds the index, warms the caches
    std::vector<double> cpu, wall;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        const double start = ThreadMs();
        timer.start();
        DrawGraph(model, canvas, request);
        wall.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(ThreadMs() - start);
    }
    return {MedianOf(cpu), MedianOf(wall)};
}

inline void PrintGridHeader()
{
    std::printf("%-34s %12s %12s %12s %10s\n", "drawing case", "indexed cpu", "walk cpu", "indexed wall", "goal");
}

// One row per cell and size: the processor time of the redraw through the index first (the
// figure the goal is about: wall time on a shared machine counts the other programs too),
// then that of the walk, then the wall time of the redraw.
// `only`, when given, keeps the cases whose name holds it.
inline void PrintGrid(PlotModel& model, int runs, const char* only = nullptr)
{
    const struct
    {
        int width, height;
    } sizes[] = {{469, 399}, {1920, 1080}};
    for (const auto& size : sizes) {
        for (const GridCase& c : GridCases()) {
            if (only && !std::strstr(c.name, only))
                continue;
            model.SetGraphType(c.type);
            model.SetOption(&PlotOptions::PLOTWELL_GRID_OPTION(lineWidth, LineWidth), c.lineWidth);
            model.SetOption(&PlotOptions::PLOTWELL_GRID_OPTION(showPoints, ShowPoints), c.markers);
            model.SetOption(&PlotOptions::PLOTWELL_GRID_OPTION(drawArea, DrawArea), c.area);
            const GridTimes indexed = DrawingMs(model, size.width, size.height, true, runs);
            const GridTimes walk = DrawingMs(model, size.width, size.height, false, runs);
            char name[64];
            std::snprintf(name, sizeof name, "draw %s %dx%d", c.name, size.width, size.height);
            std::printf("%-34s %9.2f ms %9.2f ms %9.2f ms %10s  %s\n", name, indexed.cpu, walk.cpu, indexed.wall,
                        "< 16 ms", indexed.cpu < 16.0 ? "met" : "MISSED");
        }
    }
    model.SetGraphType(kLine);
    model.SetOption(&PlotOptions::PLOTWELL_GRID_OPTION(lineWidth, LineWidth), 2);
    model.SetOption(&PlotOptions::PLOTWELL_GRID_OPTION(showPoints, ShowPoints), true);
    model.SetOption(&PlotOptions::PLOTWELL_GRID_OPTION(drawArea, DrawArea), false);
}

} // namespace plotwell::grid
