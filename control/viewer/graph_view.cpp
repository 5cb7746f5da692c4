// plotwell-graph-view: shows the graph control alone in a window.
//   plotwell-graph-view [--type line|curve|bar|stacked|pie] [--size WxH] [--grab FILE.png] [DATAFILE]
// With --grab it saves a picture of the window once the graph is drawn, and quits.

#include "control/graph_control.h"
#include "dialogs/message_box_sink.h"
#include "graph/data/graph_types.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

using namespace plotwell;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("DATAFILE"), QStringLiteral("data file to show"));
    const QCommandLineOption type(QStringLiteral("type"), QStringLiteral("graph type"), QStringLiteral("TYPE"));
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("control size"), QStringLiteral("WxH"),
                                  QStringLiteral("644x441"));
    const QCommandLineOption grab(QStringLiteral("grab"), QStringLiteral("save a picture and quit"),
                                  QStringLiteral("FILE"));
    parser.addOptions({type, size, grab});
    parser.process(app);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Plotwell graph"));
    QFont font = window.font();
    font.setPointSize(9);
    window.setFont(font);
    MessageBoxSink sink(&window);
    GraphControl graph(sink, &window);
    const QStringList wh = parser.value(size).split(QLatin1Char('x'));
    const int width = wh.value(0).toInt() > 0 ? wh.value(0).toInt() : 644;
    const int height = wh.value(1).toInt() > 0 ? wh.value(1).toInt() : 441;
    window.resize(width + 40, height + 40);
    graph.setGeometry(20, 20, width, height);
    if (!parser.positionalArguments().isEmpty())
        graph.SetFileName(parser.positionalArguments().constFirst());
    if (const std::optional<GraphKind> chosen = GraphTypeNamed(parser.value(type)))
        graph.SetGraphType(*chosen);
    window.show();

    if (parser.isSet(grab)) {
        const QString out = parser.value(grab);
        // Two turns: the first draws the graph, the second has painted it.
        QTimer::singleShot(300, &window, [&] {
            const bool saved = window.grab().save(out);
            std::fprintf(stderr, saved ? "saved %s\n" : "cannot write %s\n", out.toLocal8Bit().constData());
            app.exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
