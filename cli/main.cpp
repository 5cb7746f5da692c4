// plotwell-render: loads a data file headlessly, reports what the program would show and can
// draw the graph into a PNG file.

#include "cli/render_options.h"
#include "cli/stderr_sink.h"
#include "graph/canvas.h"
#include "graph/plot_model.h"
#include "graph/renderer.h"
#include "graph/status_texts.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>

using namespace plotwell;

namespace {

// Qt's own diagnostics (a missing runtime folder, font warnings) would mix with the
// program's messages on stderr, which callers read line by line.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtFatalMsg || qEnvironmentVariableIsSet("PLOTWELL_DEBUG"))
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

void printLine(std::FILE* out, const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out);
}

// Draws the graph as the control's surface of that size would show it and writes the PNG;
// the status line is printed by the drawing's OnGraphDrawn. False when the file cannot be
// written.
bool drawToFile(const RenderOptions& options, PlotModel& model)
{
    ApplyDrawingOptions(options, model);
    TCanvas canvas;
    canvas.SetSize(options.width, options.height, options.scale);
    bool statusShown = false;
    DrawRequest request;
    request.userAction = true; // the command line is the user's choice of graph
    // One drawing: walking the points once costs less time and memory than building the
    // index that only redraws profit from.
    request.useDrawingIndex = false;
    request.OnGraphDrawn = [&] {
        printLine(stdout, StatusLineText(model));
        statusShown = true;
    };
    DrawGraph(model, canvas, request);
    if (!statusShown) // nothing to plot: the status line the program shows without a drawing
        printLine(stdout, StatusLineText(model));
    QImage image = canvas.Image();
    const int dotsPerMeter = qRound(options.scale * 96 / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    if (image.isNull() || !image.save(options.output, "PNG")) {
        printLine(stderr, QStringLiteral("plotwell-render: cannot write ") + options.output);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Headless whatever the environment says: the tool never opens a window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietQtMessages);
    QGuiApplication app(argc, argv);

    QString error;
    const auto options = ParseRenderArguments(app.arguments().mid(1), error);
    if (!options) {
        printLine(stderr, QStringLiteral("plotwell-render: ") + error);
        std::fputs(RenderUsage().toUtf8().constData(), stderr);
        return 2;
    }
    if (options->help) {
        std::fputs(RenderUsage().toUtf8().constData(), stdout);
        return 0;
    }

    TStderrSink sink;
    PlotModel model(sink);
    model.SetFileName(options->dataFile);
    for (const int n : options->hidden)
        model.SetSeriesBoxChecked(n, false);

    bool written = true;
    if (options->output.isEmpty())
        printLine(stdout, StatusLineText(model));
    else
        written = drawToFile(*options, model);
    if (options->summary)
        for (const QString& line : SummaryLines(model))
            printLine(stdout, line);
    std::fflush(stdout);

    const bool plotted = model.NumberOfSeries() >= 1 && !model.seriesarr().front().empty();
    return plotted && written ? 0 : 1;
}
