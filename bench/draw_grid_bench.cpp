// draw-grid-bench: the drawing grid of bench/draw_grid.h alone, on a loaded data file: one row per
// case, the redraw through the drawing index, then the walk through every point.
// Usage: draw-grid-bench FILE [RUNS [CASE]]   (CASE: only the cases whose name holds it)

#include "bench/draw_grid.h"

#include <QGuiApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: draw-grid-bench FILE [RUNS [CASE]]\n", stderr);
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    plotwell::grid::GridSink sink;
    plotwell::PlotModel model(sink);
    plotwell::grid::Load(model, QString::fromLocal8Bit(argv[1]));
    plotwell::grid::PrintGridHeader();
    plotwell::grid::PrintGrid(model, runs, argc > 3 ? argv[3] : nullptr);
    return 0;
}
