// zoom-bench: zoom and pan over a big file as the graph control's steps give them: 50 wheel
// steps in around a point a third of the way across, then 50 pans of an eighth of the span,
// each a drawing through the drawing index at 1920 x 1080. Prints the median and the slowest
// step for line width 1, and line width 2 with markers, and checks every CHECK-th picture
// against the plain walk of the same view (CHECK 0: none). Beside them, the median time of the
// status line's figures of the points in view, which the window works out after each drawing.
// Usage: zoom-bench FILE [CHECK]

#include "control/view_steps.h"
#include "core/recording_sink.h"
#include "graph/data/plot_model.h"
#include "graph/data/status_texts.h"
#include "graph/draw/canvas.h"
#include "graph/draw/renderer.h"
#include "graph/load/data_file_loader.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace plotwell;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kSteps = 50;

struct Timed
{
    double seconds;
    DrawingResult drawing;
};

Timed Draw(const PlotModel& model, Canvas& canvas, const PlotView& view, bool indexed)
{
    DrawRequest request;
    request.view = view;
    request.useDrawingIndex = indexed;
    QElapsedTimer timer;
    timer.start();
    DrawingResult drawing = DrawGraph(model, canvas, request);
    return {static_cast<double>(timer.nsecsElapsed()) / 1e9, drawing};
}

// The steps of one variant; returns the number of pictures unlike the walk's.
int RunSteps(const PlotModel& model, const char* name, int check)
{
    Canvas canvas;
    canvas.SetSize(kWidth, kHeight);
    Canvas walked;
    walked.SetSize(kWidth, kHeight);
    PlotView view;
    DrawingResult last = Draw(model, canvas, view, true).drawing; // builds the index
    const std::optional<ViewLimits> limits = LimitsOf(last, !model.AllSeriesInfo(1).xydata);
    if (!limits) {
        std::printf("%s: nothing to zoom\n", name);
        return 0;
    }
    std::vector<double> zooms, pans, status;
    int unlike = 0;
    for (int step = 0; step < 2 * kSteps; ++step) {
        const PlotGeometry& g = last.geometry;
        const std::optional<PlotView> next =
            step < kSteps ? ZoomX(view, g, *limits, XAtColumn(g, g.cornerx + g.xwid / 3.0), 1 / 1.25)
                          : PanX(view, g, *limits, (ShownX(g).high - ShownX(g).low) / 8);
        if (next)
            view = *next;
        const Timed timed = Draw(model, canvas, view, true);
        last = timed.drawing;
        (step < kSteps ? zooms : pans).push_back(timed.seconds);
        QElapsedTimer figures;
        figures.start();
        const QString line = StatusLineText(model, last.view);
        status.push_back(static_cast<double>(figures.nsecsElapsed()) / 1e9 + (line.isEmpty() ? 1 : 0));
        if (check > 0 && step % check == check - 1) {
            // The walk draws on a canvas whose tools came from the same drawing before.
            Draw(model, walked, view, true);
            Draw(model, walked, view, false);
            unlike += walked.Image() != canvas.Image();
        }
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("%-24s zoom median %6.2f ms, slowest %6.2f ms; pan median %6.2f ms, slowest %6.2f ms; "
                "status line median %6.2f ms, slowest %7.2f ms\n",
                name, median(zooms) * 1e3, *std::max_element(zooms.begin(), zooms.end()) * 1e3, median(pans) * 1e3,
                *std::max_element(pans.begin(), pans.end()) * 1e3, median(status) * 1e3,
                *std::max_element(status.begin(), status.end()) * 1e3);
    return unlike;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: zoom-bench FILE [CHECK]\n", stderr);
        return 2;
    }
    const int check = argc > 2 ? std::max(0, std::atoi(argv[2])) : 10;
    RecordingSink sink;
    PlotModel model(sink);
    LoadDataFile(model, QString::fromLocal8Bit(argv[1]));
    std::printf("%lld points in %d series at %d x %d\n", static_cast<long long>(model.NumberOfPoints()),
                model.NumberOfSeries(), kWidth, kHeight);
    int unlike = 0;
    model.SetOption(&PlotOptions::lineWidth, 1);
    model.SetOption(&PlotOptions::showPoints, false);
    unlike += RunSteps(model, "line width 1", check);
    model.SetOption(&PlotOptions::lineWidth, 2);
    model.SetOption(&PlotOptions::showPoints, true);
    unlike += RunSteps(model, "line width 2, markers", check);
    if (check > 0)
        std::printf("pictures unlike the plain walk: %d of %d checked\n", unlike, 2 * (2 * kSteps / check));
    return unlike == 0 ? 0 : 1;
}
