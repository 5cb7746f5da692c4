#pragma once
// The command line of plotwell-render.

#include "graph/data/plot_view.h"
#include "graph/data/series_types.h"
#include "graph/load/load_options.h"
#include "graph/picture/picture_file.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace plotwell {

class PlotModel;

struct RenderOptions
{
    QString dataFile; // "-" for standard input
    bool summary = false;
    QList<int> hidden; // Display Series boxes to uncheck, 1..8
    bool help = false;
    bool version = false;
    LoadOptions load; // --layout, --x-column, --no-x-column

    // Drawing: only with an output file.
    QString output; // the picture to write; "-" for standard output
    // --format, else the extension of the output's name, else PNG.
    PictureFormat format = PictureFormat::Png;
    int width = 600;  // the plotting surface's client size
    int height = 400;
    double scale = 1; // device pixels per pixel
    GraphKind graphType = kLineGraph;
    int smoothing = 3;
    int lineWidth = 2; // as the main window sets it
    bool showPoints = true;
    bool drawArea = false;
    bool horzGridLines = true;
    bool vertGridLines = true;
    bool showLegend = true;
    bool floatingXAxis = true;
    std::optional<QString> title;
    std::optional<QString> xLabel;
    std::optional<QString> yLabel;
    // --x-range and --y-range as written, "A:B" with either end left out; read against the
    // data once it is loaded (ViewOfOptions).
    std::optional<QString> xRange;
    std::optional<QString> yRange;
};

// Parses the arguments after the program name; on a bad command line returns nothing and
// sets `error`.
std::optional<RenderOptions> ParseRenderArguments(const QStringList& args, QString& error);

// The help text of --help: every option and the data file.
QString RenderUsage();
// The short reminder after a bad command line.
QString RenderUsageHint();

// True when the picture goes to standard output, and the texts of stdout to stderr.
bool OutputIsStandardOutput(const RenderOptions& options);

// The size in device pixels of the picture -o writes.
QSize DevicePictureSize(const RenderOptions& options);

// Why the files of the command line cannot go together (-o naming the data file), or nothing.
QString OutputProblem(const RenderOptions& options);

// The view of --x-range and --y-range over the loaded data: open ends at the data's
// extremes, dates where the data's X are dates. Nothing, with `error` naming the option,
// for a range that is empty, reversed or outside the data.
std::optional<PlotView> ViewOfOptions(const RenderOptions& options, const PlotModel& model, QString& error);

// Sets the graph type, the drawing options and the texts of the command line on a loaded model.
void ApplyDrawingOptions(const RenderOptions& options, PlotModel& model);

} // namespace plotwell
