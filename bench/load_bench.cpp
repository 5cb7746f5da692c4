// load-bench: times loading a data file with its statistics (the status line), as the
// program does after opening a file. Usage: load-bench FILE [RUNS] [lines|columns|auto]
// [THREADS] (the layout, by default from the file name; the threads that parse the lines of a
// series file, by default one per core). The second line tells the load alone.

#include "core/recording_sink.h"
#include "graph/load/data_file_loader.h"
#include "graph/data/plot_model.h"
#include "graph/data/status_texts.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace plotwell;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: load-bench FILE [RUNS] [lines|columns]\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    LoadOptions options;
    if (argc > 3 && std::strcmp(argv[3], "auto") != 0)
        options.layout = std::strcmp(argv[3], "columns") == 0 ? DataLayout::Columns : DataLayout::Lines;
    LineThreads threads;
    if (argc > 4)
        threads.threads = std::max(1, std::atoi(argv[4]));
    std::vector<double> times;
    std::vector<double> loadTimes;
    QString status;
    for (int i = 0; i < runs; ++i) {
        RecordingSink sink;
        PlotModel model(sink);
        QElapsedTimer timer;
        timer.start();
        DataFileLoader loader(model);
        loader.SetOptions(options);
        loader.SetThreads(threads);
        loader.SetFileName(path);
        loadTimes.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        status = StatusLineText(model);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        if (!sink.Messages().isEmpty())
            std::fprintf(stderr, "%s\n", qPrintable(sink.Messages().join(QLatin1Char('|'))));
    }
    std::sort(times.begin(), times.end());
    std::sort(loadTimes.begin(), loadTimes.end());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double mb = static_cast<double>(QFileInfo(path).size()) / 1e6;
    std::printf("file %.1f MB  median %.3f s  (%.0f MB/s)  min %.3f s  peak RSS %.0f MB\nstatus:%s\n", mb,
                times[times.size() / 2], mb / times[times.size() / 2], times.front(),
                static_cast<double>(usage.ru_maxrss) / 1024.0, qPrintable(status));
    std::printf("load alone: median %.3f s  min %.3f s\n", loadTimes[loadTimes.size() / 2], loadTimes.front());
    return 0;
}
