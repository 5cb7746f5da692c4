// picture-bench: times drawing a loaded data file into each picture format at 600 x 400 and
// gives the size of the file it makes, for the line graph without and with markers, through
// the drawing index as the window saves, and walking every point as plotwell-render does.
// Usage: picture-bench FILE [RUNS]

#include "core/recording_sink.h"
#include "graph/data/plot_model.h"
#include "graph/draw/canvas.h"
#include "graph/load/data_file_loader.h"
#include "graph/picture/picture_file.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace plotwell;

namespace {

constexpr QSize kSize(600, 400);

QByteArray Picture(const PlotModel& model, PictureFormat format, const DrawRequest& request)
{
    if (format != PictureFormat::Png)
        return DrawVectorPicture(model, format, kSize, request).bytes;
    Canvas canvas;
    canvas.SetSize(kSize.width(), kSize.height());
    DrawGraph(model, canvas, request);
    return PngBytes(canvas.Image());
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: picture-bench FILE [RUNS]\n", stderr);
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    RecordingSink sink;
    PlotModel model(sink);
    LoadDataFile(model, QString::fromLocal8Bit(argv[1]));
    model.SetOption(&PlotOptions::lineWidth, 2);
    std::printf("%-34s %10s %9s\n", "picture 600 x 400", "median", "size");
    for (const bool markers : {false, true}) {
        model.SetOption(&PlotOptions::showPoints, markers);
        for (const bool indexed : {true, false}) {
            DrawRequest request;
            request.useDrawingIndex = indexed;
            Picture(model, PictureFormat::Png, request); // builds the index once
            for (const PictureFormat format : {PictureFormat::Png, PictureFormat::Svg, PictureFormat::Pdf}) {
                std::vector<double> times;
                qsizetype bytes = 0;
                for (int i = 0; i < runs; ++i) {
                    QElapsedTimer timer;
                    timer.start();
                    bytes = Picture(model, format, request).size();
                    times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
                }
                std::sort(times.begin(), times.end());
                char label[80];
                std::snprintf(label, sizeof label, "%s %s, %s", markers ? "line+markers" : "line",
                              PictureFormatExtension(format).toUpper().toLatin1().constData(),
                              indexed ? "indexed" : "every point");
                std::printf("%-34s %8.1f ms %6.2f MB\n", label, times[times.size() / 2] * 1e3,
                            static_cast<double>(bytes) / 1048576.0);
            }
        }
    }
    return 0;
}
