// plotwell: the program's entry point. --help and --version print their text; otherwise the
// first argument names the data file to open and further arguments are ignored.
//
// Two switches in the environment, for tests and benchmarks only:
// - PLOTWELL_QUIT_AFTER_FIRST_GRAPH: quit once the first graph with data has been painted on
//   the screen; the start-up benchmark times whole runs that way.
// - PLOTWELL_PRESS_HELP_AT_START: press Help once the window is up, print the help page's path
//   and whether it loaded, the data file opened at start and every message instead of showing
//   it (one a line, carriage returns as \r, line feeds as \n), then quit (status 0 when the page loaded); the install test checks that an installed
//   program finds its files that way.

#include "app/main_window.h"
#include "app/program_arguments.h"
#include "control/graph_control.h"
#include "core/font_faces.h"
#include "core/recording_sink.h"
#include "core/version.h"
#include "help/help_dialog.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

class QuitAfterFirstGraph : public QObject
{
public:
    explicit QuitAfterFirstGraph(plotwell::GraphControl& graph) : graph_(graph) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && graph_.NumberOfSeries() > 0 && graph_.LastDrawing().surfaceWidth > 0)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }

private:
    plotwell::GraphControl& graph_;
};

void PrintText(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

// Presses Help, reports the page, the start file once it has loaded and the messages, and quits.
void PressHelpAndReport(plotwell::MainWindow& window, const plotwell::RecordingSink& messages)
{
    if (auto* help = window.findChild<QPushButton*>(QStringLiteral("helpbtn")))
        help->click();
    const QString page = window.HelpComponent().HTMLFileName();
    bool loaded = !window.HelpComponent().Text().trimmed().isEmpty();
    for (const QString& message : messages.Messages())
        loaded = loaded && !message.startsWith(QStringLiteral("File not found."));
    PrintText(QStringLiteral("help page: %1\nhelp page %2\n").arg(page, loaded ? QStringLiteral("loaded")
                                                                                : QStringLiteral("not loaded")));
    plotwell::GraphControl& graph = window.Graph();
    const auto report = [&graph, &messages, loaded] {
        PrintText(QStringLiteral("data file: %1\n").arg(graph.FileName()));
        for (QString message : messages.Messages()) {
            message.replace(QLatin1Char('\r'), QStringLiteral("\\r")).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
            PrintText(QStringLiteral("message: %1\n").arg(message));
        }
        QCoreApplication::exit(loaded ? 0 : 1);
    };
    if (graph.Loading())
        QObject::connect(&graph, &plotwell::GraphControl::loadingChanged, &graph, report, Qt::QueuedConnection);
    else
        QTimer::singleShot(0, &graph, report);
}

void SetApplicationFacts()
{
    QCoreApplication::setApplicationName(QStringLiteral("Plotwell"));
    QCoreApplication::setOrganizationName(QStringLiteral("Marrowfen"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PLOTWELL_VERSION));
}

} // namespace

int main(int argc, char** argv)
{
    SetApplicationFacts();
    {
        // --help and --version need no display: they are answered before the window system is
        // opened, by an application object without one (the help names the program from it).
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments.append(QString::fromLocal8Bit(argv[i]));
        if (plotwell::ProgramArguments(arguments).Answer()) {
            const QCoreApplication core(argc, argv);
            PrintText(*plotwell::ProgramArguments(QCoreApplication::arguments()).Answer());
            return 0;
        }
    }
    QApplication app(argc, argv);
    plotwell::UseStandInFaces(); // before any window lays out a text
    SetApplicationFacts();
    QGuiApplication::setDesktopFileName(QStringLiteral("plotwell"));
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("plotwell")));
    // The window system's own options (-platform, -display) are gone from these.
    const plotwell::ProgramArguments arguments(QApplication::arguments());
    if (const auto& answer = arguments.Answer()) {
        PrintText(*answer);
        return 0;
    }
    const bool pressHelp = qEnvironmentVariableIsSet("PLOTWELL_PRESS_HELP_AT_START");
    plotwell::RecordingSink recordedMessages;
    plotwell::MainWindow window(arguments.WindowArguments(), pressHelp ? &recordedMessages : nullptr);
    QuitAfterFirstGraph quitter(window.Graph());
    if (qEnvironmentVariableIsSet("PLOTWELL_QUIT_AFTER_FIRST_GRAPH"))
        if (QWidget* surface = window.Graph().findChild<QWidget*>(QStringLiteral("PaintBox")))
            surface->installEventFilter(&quitter);
    window.show();
    if (pressHelp)
        QTimer::singleShot(0, &window, [&] { PressHelpAndReport(window, recordedMessages); });
    return QApplication::exec();
}
