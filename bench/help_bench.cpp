// help-bench: times converting a generated help page of about 1 MB (headings, paragraphs, lists,
// tables, links, entities, pictures that are missing) into rich text, as the help view does when
// it opens a page. Usage: help-bench [RUNS] [MEGABYTES]

#include "help/engine/document_rich_text_target.h"
#include "help/engine/html_converter.h"

#include "generated_help_page.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextDocument>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace plotwell;


int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const double megabytes = argc > 2 ? std::max(0.01, std::atof(argv[2])) : 1.0;
    const QString page = GeneratePage(static_cast<qsizetype>(megabytes * 1e6));
    std::vector<double> times;
    int paragraphs = 0;
    qsizetype links = 0;
    for (int i = 0; i < runs; ++i) {
        DocumentRichTextTarget target;
        LinkList urls;
        QElapsedTimer timer;
        timer.start();
        HTMLToRichText(target, page, true, RGBToColor(0, 0, 255), QString(), urls, 32);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        paragraphs = target.Document()->blockCount();
        links = urls.size();
    }
    std::sort(times.begin(), times.end());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("help page %.2f MB  median %.3f s  min %.3f s  (%d paragraphs, %lld links)  peak RSS %.0f MB\n",
                static_cast<double>(page.toUtf8().size()) / 1e6, times[times.size() / 2], times.front(), paragraphs,
                static_cast<long long>(links), static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
