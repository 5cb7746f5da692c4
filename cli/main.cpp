// plotwell-render: loads a data file headlessly, reports what the program would show and can
// draw the graph into a PNG, SVG or PDF file.

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
#include "graph/data/value_range.h"
#include "graph/picture/picture_file.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <future>
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
void LoadStandardInput(PlotModel& model, const LoadOptions& options)
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
    DataFileLoader loader(model);
    loader.SetOptions(options);
    loader.LoadBytes(bytes.constData(), static_cast<std::size_t>(bytes.size()), QStringLiteral("-"));
    model.SetTitle(QString());
}

// The picture down a pipe: every byte written, or the failure said.
bool WriteStandardOutput(const QByteArray& bytes, QString& error)
{
    std::fflush(stdout);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = out.errorString();
        return false;
    }
    if (out.write(bytes) != bytes.size()) {
        error = out.errorString();
        return false;
    }
    return true;
}

// Draws the graph as the control's surface of that size would show it and writes the picture
// in its format; the status line follows the drawing. False when the picture cannot be
// made or written.
bool DrawToFile(const RenderOptions& options, PlotModel& model, const PlotView& view, std::FILE* texts)
{
    DrawRequest request;
    // One drawing: walking the points once costs less time and memory than building the
    // index that only redraws profit from.
    request.useDrawingIndex = false;
    request.view = view;
    DrawingResult drawing;
    QByteArray bytes;
    // The status line's figures of the whole graph walk every point again: they are worked out
    // on a second core while this one draws. Drawing reads the model and never its figures.
    std::future<void> figures;
    if (!view.x)
        figures = std::async(std::launch::async, [&model] { model.DisplayedFigures(); });
    if (options.format == PictureFormat::Png) {
        Canvas canvas;
        canvas.SetSize(options.width, options.height, options.scale);
        drawing = DrawGraph(model, canvas, request);
        bytes = PngBytes(canvas.Image());
    } else {
        VectorPicture picture = DrawVectorPicture(model, options.format, QSize(options.width, options.height), request);
        drawing = picture.drawing;
        bytes = std::move(picture.bytes);
    }
    // The command line is the user's choice of graph, so a pie that cannot be drawn says why.
    if (figures.valid())
        figures.get();
    if (drawing.pieNegative)
        model.Sink().ShowMessage(PieNegativeMessage());
    PrintLine(texts, StatusLineText(model, drawing.view));
    if (bytes.isEmpty()) {
        const QSize size = DevicePictureSize(options);
        PrintLine(stderr, QStringLiteral("plotwell-render: not enough memory for a %1 x %2 picture")
                              .arg(size.width())
                              .arg(size.height()));
        return false;
    }
    QString error;
    const bool written = OutputIsStandardOutput(options) ? WriteStandardOutput(bytes, error)
                                                         : WriteWholeFile(bytes, options.output, &error);
    if (!written) {
        PrintLine(stderr, QStringLiteral("plotwell-render: cannot write ") + options.output +
                              (error.isEmpty() ? QString() : QStringLiteral(": ") + error));
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
        LoadStandardInput(model, options->load);
    else
        LoadDataFile(model, options->dataFile, options->load);
    if (!model.LoadNotice().isEmpty())
        PrintLine(stderr, QStringLiteral("plotwell-render: ") + model.LoadNotice());
    for (const int n : options->hidden)
        model.SetSeriesBoxChecked(n, false);
    const bool loaded = model.NumberOfSeries() >= 1 && !model.AllSeries().front().empty();
    // Only null values, or only hidden series: a picture would show nothing.
    const bool plotted = loaded && AnyPlottedPoint(model);
    if (loaded && !plotted)
        PrintLine(stderr, QStringLiteral("plotwell-render: nothing to plot"));

    const std::optional<PlotView> view = plotted ? ViewOfOptions(*options, model, error) : PlotView{};
    if (!view) {
        PrintLine(stderr, QStringLiteral("plotwell-render: ") + error);
        std::fputs(RenderUsageHint().toUtf8().constData(), stderr);
        return 2;
    }
    bool written = true;
    // With the picture on standard output, the texts go to standard error.
    std::FILE* texts = OutputIsStandardOutput(*options) ? stderr : stdout;
    if (!options->output.isEmpty())
        ApplyDrawingOptions(*options, model);
    // A pie has no view.
    const PlotView shown = model.GraphType() == kPieGraph ? PlotView{} : *view;
    if (options->output.isEmpty() || !plotted) // a failed run leaves any old picture as it was
        PrintLine(texts, StatusLineText(model, shown));
    else
        written = DrawToFile(*options, model, shown, texts);
    if (options->summary)
        for (const QString& line : SummaryLines(model))
            PrintLine(texts, line);
    std::fflush(stdout);
    return plotted && written ? 0 : 1;
}
