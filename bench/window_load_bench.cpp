// window-load-bench: opens a (big) data file in the graph control the way the window does, on a
// worker thread, and reports: when the load first reports progress, when the graph is shown,
// the longest time the window's event loop went without turning (its repaint gap), peak memory,
// and, for a cancel at four points of a second load, how long it takes to hand the window back
// and how long the worker takes to stop. Usage: window-load-bench FILE

#include "control/graph_control.h"
#include "core/recording_sink.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

using namespace plotwell;

namespace {

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: window-load-bench FILE\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    RecordingSink sink;
    QWidget host;
    host.resize(684, 500);
    GraphControl graph(sink, &host);
    graph.setGeometry(20, 20, 589, 440);
    host.show();
    if (!QTest::qWaitForWindowExposed(&host))
        return 1;

    // The event loop's turns while the load runs: a 5 ms timer that records the longest gap.
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longestGap = 0;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - last);
        last = now;
    });

    qint64 firstProgress = -1;
    bool drawn = false;
    graph.SetOnGraphDrawn([&](QObject*) { drawn = true; });
    clock.start();
    tick.start();
    graph.LoadFile(path);
    while (graph.Loading() || !drawn) {
        QTest::qWait(1);
        if (firstProgress < 0 && graph.LoadPercent() > 0)
            firstProgress = clock.elapsed();
    }
    const qint64 shown = clock.elapsed();
    tick.stop();
    std::printf("%-34s %8.3f s\n", "first progress reported", firstProgress / 1000.0);
    std::printf("%-34s %8.3f s\n", "graph shown", shown / 1000.0);
    std::printf("%-34s %8lld ms\n", "longest event-loop gap while loading", static_cast<long long>(longestGap));
    std::printf("%-34s %8.0f MB (file %.0f MB)\n", "peak memory", PeakMegabytes(),
                static_cast<double>(QFileInfo(path).size()) / 1048576.0);

    // Cancel a second load of the same file at a tenth, a third, half and three quarters of the way.
    for (const double part : {0.1, 0.33, 0.5, 0.75}) {
        graph.LoadFile(path);
        QTest::qWait(static_cast<int>(static_cast<double>(shown) * part));
        QElapsedTimer cancel;
        cancel.start();
        graph.CancelLoad();
        const double free = static_cast<double>(cancel.nsecsElapsed()) / 1e6;
        while (graph.LoadsStopping() > 0)
            QTest::qWait(1);
        std::printf("cancel at %3.0f%%: window free %.3f ms, worker stopped %.1f ms (%s)\n", part * 100, free,
                    static_cast<double>(cancel.nsecsElapsed()) / 1e6,
                    graph.NumberOfPoints() > 0 ? "previous graph kept" : "graph lost");
    }
    return 0;
}
