// plotwell-render: loads a data file headlessly, reports what the program would show and can
// draw the graph into a PNG file.

#include "cli/render_options.h"
#include "cli/stderr_sink.h"
#include "core/font_faces.h"
#include "core/version.h"
#include "graph/draw/canvas.h"
#include "graph/load/data_file_loader.h"
#include "graph/draw/pie_chart.h"
#include "graph/data/plot_model.h"
#include "graph/draw/renderer.h"
#include "graph/data/status_texts.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>

#include <cstdio>
#include <new>

using namespace plotwell;

namespace {

// Qt's own diagnostics (a missing runtime folder, font warnings) would mix with the
// program's messages on stderr, which callers read line by line.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtFatalMsg || qEnvironmentVariableIsSet("PLOTWELL_DEBUG"))
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

void PrintLine(std::FILE* out, const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out);
}

// Reads the data from standard input into the model: messages name it "-", and the title
// stays empty unless --title gives one.
void LoadStandardInput(PlotModel& model)
{
    model.ClearData();
    QFile in;
    QByteArray bytes;
    try {
        if (in.open(stdin, QIODevice::ReadOnly))
            bytes = in.readAll();
    } catch (const std::bad_alloc&) {
        model.Sink().ShowMessage(QStringLiteral("Not enough memory to load file:\r\r-"));
        return;
    }
    if (in.error() != QFileDevice::NoError) {
        model.Sink().ShowMessage(QStringLiteral("Error reading data file"));
        return;
    }
    DataFileLoader(model).LoadBytes(bytes.constData(), static_cast<std::size_t>(bytes.size()), QStringLiteral("-"));
    model.SetTitle(QString());
}

// Writes the bytes whole or not at all: a full disk leaves no cut picture behind, and an
// existing file stays as it was. A device or a pipe is written directly: nothing may be
// renamed over it.
bool WriteWhole(const QByteArray& bytes, const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir()) {
        QFile device(path);
        return device.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && device.write(bytes) == bytes.size();
    }
    QSaveFile file(path);
    // Unbuffered, so that the write meets a full disk itself rather than only inside commit().
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// Draws the graph as the control's surface of that size would show it and writes the PNG;
// the status line follows the drawing. False when the picture cannot be
// made or written.
bool DrawToFile(const RenderOptions& options, PlotModel& model, const PlotView& view)
{
    Canvas canvas;
    canvas.SetSize(options.width, options.height, options.scale);
    DrawRequest request;
    // One drawing: walking the points once costs less time and memory than building the
    // index that only redraws profit from.
    request.useDrawingIndex = false;
    request.view = view;
    const DrawingResult drawing = DrawGraph(model, canvas, request);
    // The command line is the user's choice of graph, so a pie that cannot be drawn says why.
    if (drawing.pieNegative)
        model.Sink().ShowMessage(PieNegativeMessage());
    PrintLine(stdout, StatusLineText(model, drawing.view));
    QImage image = canvas.Image();
    if (image.isNull()) {
        const QSize size = DevicePictureSize(options);
        PrintLine(stderr, QStringLiteral("plotwell-render: not enough memory for a %1 x %2 picture")
                              .arg(size.width())
                              .arg(size.height()));
        return false;
    }
    const int dotsPerMeter = qRound(options.scale * 96 / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    // Encoded in memory first, so that a write error is ours to report, not the encoder's.
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG") || !WriteWhole(png, options.output)) {
        PrintLine(stderr, QStringLiteral("plotwell-render: cannot write ") + options.output);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Headless whatever the environment says: the tool never opens a window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQtMessages);
    QGuiApplication app(argc, argv);
    UseStandInFaces(); // the faces the window draws with
    QCoreApplication::setApplicationVersion(QStringLiteral(PLOTWELL_VERSION));

    QString error;
    const auto options = ParseRenderArguments(app.arguments().mid(1), error);
    if (!options) {
        PrintLine(stderr, QStringLiteral("plotwell-render: ") + error);
        std::fputs(RenderUsageHint().toUtf8().constData(), stderr);
        return 2;
    }
    if (options->help) {
        std::fputs(RenderUsage().toUtf8().constData(), stdout);
        return 0;
    }
    if (options->version) {
        PrintLine(stdout, QStringLiteral("plotwell-render ") + QCoreApplication::applicationVersion());
        return 0;
    }

    if (const QString problem = OutputProblem(*options); !problem.isEmpty()) {
        PrintLine(stderr, QStringLiteral("plotwell-render: ") + problem);
        std::fputs(RenderUsageHint().toUtf8().constData(), stderr);
        return 2;
    }

    StderrSink sink;
    PlotModel model(sink);
    if (options->dataFile == QLatin1String("-"))
        LoadStandardInput(model);
    else
        LoadDataFile(model, options->dataFile);
    for (const int n : options->hidden)
        model.SetSeriesBoxChecked(n, false);
    const bool loaded = model.NumberOfSeries() >= 1 && !model.AllSeries().front().empty();
    // Only null values, or only hidden series: a picture would show nothing.
    const bool plotted = loaded && model.NumberOfNonNullPoints() > 0;
    if (loaded && !plotted)
        PrintLine(stderr, QStringLiteral("plotwell-render: nothing to plot"));

    const std::optional<PlotView> view = plotted ? ViewOfOptions(*options, model, error) : PlotView{};
    if (!view) {
        PrintLine(stderr, QStringLiteral("plotwell-render: ") + error);
        std::fputs(RenderUsageHint().toUtf8().constData(), stderr);
        return 2;
    }
    bool written = true;
    if (!options->output.isEmpty())
        ApplyDrawingOptions(*options, model);
    // A pie has no view.
    const PlotView shown = model.GraphType() == kPieGraph ? PlotView{} : *view;
    if (options->output.isEmpty() || !plotted) // a failed run leaves any old picture as it was
        PrintLine(stdout, StatusLineText(model, shown));
    else
        written = DrawToFile(*options, model, shown);
    if (options->summary)
        for (const QString& line : SummaryLines(model))
            PrintLine(stdout, line);
    std::fflush(stdout);
    return plotted && written ? 0 : 1;
}
