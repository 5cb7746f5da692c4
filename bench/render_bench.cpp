// render-bench: times drawing a loaded data file at 600 x 400, for each graph kind.
// Usage: render-bench FILE [RUNS]

#include "core/recording_sink.h"
#include "graph/canvas.h"
#include "graph/plot_model.h"
#include "graph/renderer.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace plotwell;

namespace {

struct Kind
{
    const char* name;
    Tgraphtype type;
    bool points;
};

double medianSeconds(PlotModel& model, TCanvas& canvas, const Kind& kind, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        model.SetGraphType(kind.type);
        model.SetOption(&PlotOptions::ShowPoints, kind.points);
        QElapsedTimer timer;
        timer.start();
        DrawGraph(model, canvas);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: render-bench FILE [RUNS]\n", stderr);
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    TRecordingSink sink;
    PlotModel model(sink);
    QElapsedTimer load;
    load.start();
    model.SetFileName(QString::fromLocal8Bit(argv[1]));
    std::printf("load %.3f s, %lld points in %d series\n", static_cast<double>(load.nsecsElapsed()) / 1e9,
                static_cast<long long>(model.NumberOfPoints()), model.NumberOfSeries());
    model.SetOption(&PlotOptions::LineWidth, 2);
    TCanvas canvas;
    canvas.SetSize(600, 400);
    const Kind kinds[] = {
        {"line", gtline, false}, {"line+markers", gtline, true}, {"curve", gtcurve, false},
        {"bar", gtbar, false},   {"stacked", gtstacked, false},  {"pie", gtpie, false},
    };
    for (const Kind& kind : kinds)
        std::printf("%-14s %.4f s\n", kind.name, medianSeconds(model, canvas, kind, runs));
    return 0;
}
