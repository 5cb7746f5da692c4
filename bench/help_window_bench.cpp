// help-window-bench: times a help page until the help window shows it: the generated page of
// about 1 MB converted, laid out and painted in the window, and the program's own page shown
// through the help dialog component as the Help button does.
// Usage: help-window-bench [RUNS] [MEGABYTES] [PAGE.html]

#include "core/recording_launcher.h"
#include "core/recording_sink.h"
#include "help/help_window.h"
#include "help/help_view.h"
#include "help/help_dialog.h"

#include "generated_help_page.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextDocument>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace plotwell;

namespace {

double Seconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const double megabytes = argc > 2 ? std::max(0.01, std::atof(argv[2])) : 1.0;
    const QString ownPage = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const QString page = GeneratePage(static_cast<qsizetype>(megabytes * 1e6));
    RecordingSink sink;
    RecordingLauncher launcher;

    std::vector<double> convert, layout, paint, total;
    int blocks = 0;
    for (int i = 0; i < runs; ++i) {
        HelpWindow window(sink, launcher);
        window.resize(700, 600);
        window.show();
        QElapsedTimer timer;
        timer.start();
        window.AddHTML(page, true);
        const double converted = Seconds(timer);
        // The window's scroll bar needs the whole document laid out before anything is shown.
        window.helpView->document()->size();
        const double laidOut = Seconds(timer);
        window.grab();
        const double painted = Seconds(timer);
        convert.push_back(converted);
        layout.push_back(laidOut - converted);
        paint.push_back(painted - laidOut);
        total.push_back(painted);
        blocks = window.helpView->document()->blockCount();
    }
    std::printf("help window, %.2f MB page: median %.3f s until shown (AddHTML %.3f s, layout left after it %.3f s, paint %.3f s;"
                " %d paragraphs)\n",
                static_cast<double>(page.toUtf8().size()) / 1e6, Median(total), Median(convert), Median(layout),
                Median(paint), blocks);

    if (!ownPage.isEmpty()) {
        std::vector<double> shown;
        for (int i = 0; i < runs; ++i) {
            QWidget owner;
            HelpDialog help(sink, launcher, &owner);
            help.SetTitle(QStringLiteral("Plotwell Help"));
            help.SetHTMLFileName(ownPage);
            QElapsedTimer timer;
            timer.start();
            help.Execute();
            help.helpWindow->helpView->document()->size();
            help.helpWindow->grab();
            shown.push_back(Seconds(timer));
        }
        std::printf("help dialog, %s: median %.3f s until shown\n", qPrintable(ownPage), Median(shown));
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak RSS %.0f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    for (const QString& message : sink.Messages())
        std::printf("message: %s\n", qPrintable(message));
    return 0;
}
