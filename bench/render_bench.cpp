// render-bench: times drawing a loaded data file at 600 x 400, for each graph kind; with
// --redraw, the redraw of the line graph without markers at 600 x 400 and 1920 x 1080 walking
// every point beside the same redraw through the drawing index, in one run.
// Usage: render-bench FILE [RUNS] [--redraw]

#include "core/recording_sink.h"
#include "graph/draw/canvas.h"
#include "graph/load/data_file_loader.h"
#include "graph/data/plot_model.h"
#include "graph/draw/renderer.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

using namespace plotwell;

namespace {

struct kind
{
    const char* name;
    GraphKind type;
    bool points;
};

double SecondsOfDrawing(PlotModel& model, Canvas& canvas, const DrawRequest& request)
{
    QElapsedTimer timer;
    timer.start();
    DrawGraph(model, canvas, request);
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

double MedianSeconds(PlotModel& model, Canvas& canvas, const kind& kind, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        model.SetGraphType(kind.type);
        model.SetOption(&PlotOptions::showPoints, kind.points);
        times.push_back(SecondsOfDrawing(model, canvas, DrawRequest{}));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Median redraws of the line graph without markers, plain and indexed, taken in turns so
// that both meet the same machine load. The first indexed drawing builds the index.
void PrintRedraws(PlotModel& model, int runs)
{
    model.SetGraphType(kLineGraph);
    model.SetOption(&PlotOptions::showPoints, false);
    std::printf("%-28s %10s %10s %7s\n", "redraw, line", "plain", "indexed", "ratio");
    double first = -1;
    const struct
    {
        const char* name;
        int lineWidth;
        bool area;
    } variants[] = {{"line width 1", 1, false}, {"line width 2", 2, false}, {"filled area", 1, true}};
    for (const auto& variant : variants) {
        model.SetOption(&PlotOptions::lineWidth, variant.lineWidth);
        model.SetOption(&PlotOptions::drawArea, variant.area);
        for (const auto& [width, height] : {std::pair{600, 400}, std::pair{1920, 1080}}) {
            Canvas canvas;
            canvas.SetSize(width, height);
            DrawRequest plain;
            plain.useDrawingIndex = false;
            if (first < 0)
                first = SecondsOfDrawing(model, canvas, DrawRequest{});
            std::vector<double> plainTimes, indexedTimes;
            for (int i = 0; i < runs; ++i) {
                plainTimes.push_back(SecondsOfDrawing(model, canvas, plain));
                indexedTimes.push_back(SecondsOfDrawing(model, canvas, DrawRequest{}));
            }
            std::sort(plainTimes.begin(), plainTimes.end());
            std::sort(indexedTimes.begin(), indexedTimes.end());
            const double p = plainTimes[plainTimes.size() / 2];
            const double q = indexedTimes[indexedTimes.size() / 2];
            char label[64];
            std::snprintf(label, sizeof label, "%d x %d, %s", width, height, variant.name);
            std::printf("%-28s %7.1f ms %7.1f ms %6.1fx\n", label, p * 1e3, q * 1e3, p / q);
        }
    }
    std::size_t pointBytes = 0;
    for (const PointList& points : model.AllSeries())
        pointBytes += points.MemoryBytes();
    std::printf("first indexed drawing (builds the index) %.1f ms; index %.1f MB beside %.1f MB of points\n",
                first * 1e3, static_cast<double>(model.DrawingIndexBytes()) / 1048576.0,
                static_cast<double>(pointBytes) / 1048576.0);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: render-bench FILE [RUNS] [--redraw]\n", stderr);
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const bool redraw = argc > 3 && std::strcmp(argv[3], "--redraw") == 0;
    RecordingSink sink;
    PlotModel model(sink);
    QElapsedTimer load;
    load.start();
    LoadDataFile(model, QString::fromLocal8Bit(argv[1]));
    std::printf("load %.3f s, %lld points in %d series\n", static_cast<double>(load.nsecsElapsed()) / 1e9,
                static_cast<long long>(model.NumberOfPoints()), model.NumberOfSeries());
    if (redraw) {
        PrintRedraws(model, runs);
        return 0;
    }
    model.SetOption(&PlotOptions::lineWidth, 2);
    Canvas canvas;
    canvas.SetSize(600, 400);
    const kind kinds[] = {
        {"line", kLineGraph, false}, {"line+markers", kLineGraph, true}, {"curve", kCurveGraph, false},
        {"bar", kBarGraph, false},   {"stacked", kStackedGraph, false},  {"pie", kPieGraph, false},
    };
    for (const kind& kind : kinds)
        std::printf("%-14s %.4f s\n", kind.name, MedianSeconds(model, canvas, kind, runs));
    return 0;
}
