// plotwell: the program's entry point. The first argument names the data file to open;
// further arguments are ignored.
//
// With PLOTWELL_QUIT_AFTER_FIRST_GRAPH set, the program quits once the first graph with data
// has been painted on the screen; the start-up benchmark times whole runs that way.

#include "app/main_window.h"
#include "control/graph_control.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace {

class TQuitAfterFirstGraph : public QObject
{
public:
    explicit TQuitAfterFirstGraph(plotwell::TPlotwell& graph) : graph_(graph) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && graph_.NumberOfSeries() > 0 && graph_.Model().Render().surfaceWidth > 0)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }

private:
    plotwell::TPlotwell& graph_;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plotwell"));
    QApplication::setOrganizationName(QStringLiteral("Marrowfen"));
    plotwell::TForm1 window(QApplication::arguments().mid(1));
    TQuitAfterFirstGraph quitter(window.Graph());
    if (qEnvironmentVariableIsSet("PLOTWELL_QUIT_AFTER_FIRST_GRAPH"))
        if (QWidget* surface = window.Graph().findChild<QWidget*>(QStringLiteral("PaintBox")))
            surface->installEventFilter(&quitter);
    window.show();
    return QApplication::exec();
}
