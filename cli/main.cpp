// plotwell-render: loads a data file headlessly and reports what the program would show.

#include "cli/render_options.h"
#include "cli/stderr_sink.h"
#include "graph/plot_model.h"
#include "graph/status_texts.h"

#include <QGuiApplication>

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

    printLine(stdout, StatusLineText(model));
    if (options->summary)
        for (const QString& line : SummaryLines(model))
            printLine(stdout, line);
    std::fflush(stdout);

    const bool plotted = model.NumberOfSeries() >= 1 && !model.seriesarr().front().empty();
    return plotted ? 0 : 1;
}
