// control-bench: times the graph control in a shown window, with a data file loaded, at the size
// the main window gives it: from an option click or a one-pixel resize to the new picture, and a
// pointer move over the surface; beside each, the drawing alone of the same graph on a canvas of
// the surface's size; then the drawing grid (bench/draw_grid.h): the redraw through the index
// and the walk, per line width, markers and graph kind at 469 x 399 and 1920 x 1080; and for
// slow redraws at 1920 x 1080 the longest the event loop is held up, drawing on the interface
// thread and where the control chooses. Prints one row per case.
// Usage: control-bench FILE [RUNS [slow]]; "slow" times the slow redraws alone.

#include "bench/draw_grid.h"
#include "control/graph_control.h"
#include "core/recording_sink.h"
#include "graph/draw/canvas.h"
#include "graph/draw/renderer.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace plotwell;

namespace {

// The main window at its designed client size: the control at (20, 20), 95 pixels short of the
// right edge and ending one pixel above the hidden Test button at 422.
constexpr int kClientWidth = 684;
constexpr int kClientHeight = 461;
constexpr int kControlWidth = kClientWidth - 95;
constexpr int kControlHeight = 422 - 20 - 1;

// Goals: an action costs the drawing plus this much; a pointer move this much in all.
constexpr double kActionOverheadGoalMs = 5.0;
constexpr double kPointerMoveGoalMs = 1.0;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double Milliseconds(qint64 nanoseconds)
{
    return static_cast<double>(nanoseconds) / 1e6;
}

// The processor time of this thread: it leaves out the time other programs on a shared machine
// take from it, which wall time cannot.
qint64 ThreadNanoseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<qint64>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Counts the paint events of a widget: the picture reached the window.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

struct Row
{
    std::vector<double> toImage; // from the action to onGraphDrawn
    std::vector<double> alone;   // DrawGraph of the same state on a canvas of the surface's size
    std::vector<double> cpuOverhead; // processor time of the action less that of the drawing alone
    std::vector<double> turn;        // to the end of the event-loop turn, the surface painted
};

class Bench
{
public:
    Bench(const QString& file, int runs) : runs_(runs)
    {
        host_.resize(kClientWidth, kClientHeight);
        graph_ = new GraphControl(sink_, &host_);
        QFont font = graph_->font();
        font.setPointSize(9);
        graph_->setFont(font);
        // The rows up to the slow redraws time drawings made within the event-loop turn.
        graph_->SetDrawingThread(GraphControl::DrawingThread::Interface);
        graph_->SetLineWidth(2);
        graph_->resize(kControlWidth, kControlHeight);
        graph_->SetOnGraphDrawn([this](QObject*) {
            ++drawings_;
            drawnAt_ = clock_.nsecsElapsed();
            drawnCpuAt_ = ThreadNanoseconds();
        });
        Surface()->installEventFilter(&paints_);
        host_.show();
        // Only an exposed window paints, and the paint belongs to the turn of each action.
        if (!QTest::qWaitForWindowExposed(&host_))
            std::fputs("control-bench: the window was never exposed\n", stderr);
        Settle();
        QElapsedTimer load;
        load.start();
        graph_->SetFileName(file);
        Settle();
        DrawAlone("loading");
        std::printf("control %s: %lld points in %d series, load and first drawing %.3f s, surface %d x %d\n",
                    qPrintable(QFileInfo(file).fileName()), static_cast<long long>(graph_->NumberOfPoints()),
                    graph_->NumberOfSeries(), static_cast<double>(load.nsecsElapsed()) / 1e9, Surface()->width(),
                    Surface()->height());
    }

    void Clicks()
    {
        auto* linerb = Child<QRadioButton>("linerb");
        auto* barrb = Child<QRadioButton>("barrb");
        auto* points = Child<QCheckBox>("PointsCheckbox");
        auto* series2 = Child<QCheckBox>("displayseriesbox2");
        if (!linerb || !barrb || !points || !series2)
            std::exit(1);
        const auto click = [](QWidget* w) { return [w] { QTest::mouseClick(w, Qt::LeftButton); }; };

        Row bar;
        for (int i = 0; i < runs_; ++i) {
            Measure(bar, click(barrb), "barrb");
            Untimed(click(linerb), "linerb");
        }
        Print("click Bar (barrb)", bar, kActionOverheadGoalMs);

        Row pointsOff, pointsOn;
        Toggles(points, pointsOff, pointsOn, "PointsCheckbox");
        Print("click Mark points off", pointsOff, kActionOverheadGoalMs);
        Print("click Mark points on", pointsOn, kActionOverheadGoalMs);

        Row hide, show;
        Toggles(series2, hide, show, "displayseriesbox2");
        Print("click series 2 off", hide, kActionOverheadGoalMs);
        Print("click series 2 on", show, kActionOverheadGoalMs);

        // The other graph kinds and the filled area at the window's defaults.
        for (const char* name : {"curverb", "stackedbarrb"}) {
            auto* radio = Child<QRadioButton>(name);
            if (!radio)
                std::exit(1);
            if (!radio->isEnabled()) { // stacked bars over values below 0 are not offered
                PrintAlone((std::string("click ") + name + ": not offered for these data").c_str(), 0, "-", true);
                continue;
            }
            Row row;
            for (int i = 0; i < runs_; ++i) {
                Measure(row, click(radio), name);
                Untimed(click(linerb), "linerb");
            }
            Print(std::string("click ").append(radio->text().toStdString()).append(" (").append(name).append(")").c_str(),
                  row, kActionOverheadGoalMs);
        }
        if (auto* area = Child<QCheckBox>("DrawAreaCheckbox")) {
            Row on, off;
            Toggles(area, off, on, "DrawAreaCheckbox");
            Print("click Draw Area on", on, kActionOverheadGoalMs);
            Print("click Draw Area off", off, kActionOverheadGoalMs);
        }
    }

    // Labels, a new title typed, OK: the dialog's own time is in the turn, the drawing after it.
    void LabelsOk()
    {
        auto* labels = Child<QPushButton>("LabelsBtn");
        if (!labels)
            std::exit(1);
        Row row;
        for (int i = 0; i < runs_; ++i) {
            QTimer::singleShot(0, [i] {
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                if (!dialog)
                    return;
                if (auto* title = dialog->findChild<QLineEdit*>())
                    title->setText(QStringLiteral("Title %1").arg(i));
                if (auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("okbutton")))
                    ok->click();
            });
            Measure(row, [labels] { labels->click(); }, "LabelsBtn");
        }
        Print("Labels, new title, OK", row, kActionOverheadGoalMs);
    }

    // Wheel steps over the middle of the graph, in and out in turn, to the picture of each;
    // the view is reset afterwards.
    void ZoomSteps()
    {
        QWidget* surface = Surface();
        std::vector<double> steps;
        const QPoint pos(surface->width() / 2, surface->height() / 2);
        for (int i = 0; i < 4 * runs_; ++i) {
            const int before = drawings_;
            drawnAt_ = -1;
            QWheelEvent wheel(QPointF(pos), QPointF(surface->mapToGlobal(pos)), QPoint(), QPoint(0, i % 2 ? -120 : 120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            clock_.start();
            QCoreApplication::sendEvent(surface, &wheel);
            Settle();
            if (drawings_ == before + 1 && drawnAt_ >= 0)
                steps.push_back(Milliseconds(drawnAt_));
        }
        QTest::keyClick(surface, Qt::Key_Home);
        Settle();
        if (steps.size() != static_cast<std::size_t>(4 * runs_))
            std::fprintf(stderr, "control-bench: %zu of %d wheel steps were drawn once\n", steps.size(), 4 * runs_);
        PrintAlone("zoom step (wheel)", steps.empty() ? 0 : Median(steps), "< 16 ms",
                   !steps.empty() && Median(steps) < 16.0);
    }

    void Resizes()
    {
        Row resize;
        for (int i = 0; i < 2 * runs_; ++i) {
            const int width = kControlWidth + (i % 2 ? 0 : 1);
            Measure(resize, [this, width] { graph_->resize(width, kControlHeight); }, "resize");
        }
        Print("resize by 1 pixel", resize, kActionOverheadGoalMs);
    }

    // A resize drag over a full-screen graph without markers: 50 steps of one pixel, each of
    // which must be drawn; at `lineWidth`.
    void Drag(int lineWidth)
    {
        graph_->SetLineWidth(lineWidth);
        auto* points = Child<QCheckBox>("PointsCheckbox");
        if (points && points->isChecked())
            Untimed([points] { QTest::mouseClick(points, Qt::LeftButton); }, "PointsCheckbox");
        const QSize full(1920 + 120, 1080 + 2); // a 1920 x 1080 plotting surface
        host_.resize(full + QSize(40, 40));
        graph_->resize(full);
        Settle();
        std::vector<double> steps;
        int missed = 0;
        for (int i = 1; i <= 50; ++i) {
            const int before = drawings_;
            drawnAt_ = -1;
            clock_.start();
            graph_->resize(full.width() - i, full.height() - i / 2);
            Settle();
            if (drawings_ != before + 1 || drawnAt_ < 0)
                ++missed;
            else
                steps.push_back(Milliseconds(drawnAt_));
        }
        if (missed)
            std::fprintf(stderr, "control-bench: %d of 50 drag steps were not drawn once\n", missed);
        const double median = steps.empty() ? 0 : Median(steps);
        PrintAlone(lineWidth == 1 ? "drag 50 steps, 1920x1080" : "drag, 1920x1080, width 2", median,
                   lineWidth == 1 ? "< 16 ms" : "-", !missed && median < 16.0);
        graph_->SetLineWidth(2);
        graph_->resize(kControlWidth, kControlHeight);
        host_.resize(kClientWidth, kClientHeight);
        Settle();
    }

    void PointerMoves()
    {
        QWidget* surface = Surface();
        std::vector<double> moves;
        const int before = drawings_;
        int unchanged = 0;
        for (int i = 0; i < 20 * runs_; ++i) {
            // Points spread over the plotting area, so each readout differs from the last.
            const QPoint pos(60 + (i * 37) % (surface->width() - 120), 40 + (i * 53) % (surface->height() - 120));
            QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(surface->mapToGlobal(pos)), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            const QImage old = graph_->SurfaceImage();
            clock_.start();
            QCoreApplication::sendEvent(surface, &move);
            QCoreApplication::sendPostedEvents();
            moves.push_back(Milliseconds(clock_.nsecsElapsed()));
            unchanged += graph_->SurfaceImage() == old;
        }
        if (drawings_ != before)
            std::fprintf(stderr, "control-bench: pointer moves drew the graph %d times\n", drawings_ - before);
        if (unchanged)
            std::fprintf(stderr, "control-bench: %d pointer moves left the picture as it was\n", unchanged);
        PrintAlone("pointer move", Median(moves), "< 1 ms", Median(moves) < kPointerMoveGoalMs);
    }

    // Showing the picture: the part of a whole turn that paints the surface onto the window.
    void Repaints()
    {
        QWidget* surface = Surface();
        std::vector<double> repaints;
        const int before = paints_.paints;
        for (int i = 0; i < 20 * runs_; ++i) {
            clock_.start();
            surface->repaint();
            repaints.push_back(Milliseconds(clock_.nsecsElapsed()));
        }
        if (paints_.paints - before != 20 * runs_)
            std::fprintf(stderr, "control-bench: %d repaints painted %d times\n", 20 * runs_,
                         paints_.paints - before);
        PrintAlone("repaint whole surface", Median(repaints), "-", true);
    }

    // Slow redraws of a full-screen graph, one per one-pixel resize: the longest stretch the
    // event loop spends in one turn between the resize and its picture (the resize included),
    // and the time to the picture, with the drawing on the interface thread and then where the
    // control chooses. The longest turn goes in the "cpu overhead" column in processor time and
    // in "whole turn" in wall time.
    void SlowRedraws(const char* name, int lineWidth, GraphKind kind)
    {
        const QSize full(1920 + 120, 1080 + 2);
        host_.resize(full + QSize(40, 40));
        graph_->resize(full);
        graph_->SetLineWidth(lineWidth);
        graph_->SetShowPoints(true);
        graph_->SetGraphType(kind);
        for (const auto where : {GraphControl::DrawingThread::Interface, GraphControl::DrawingThread::Auto}) {
            graph_->SetDrawingThread(where);
            graph_->DrawGraph();
            std::vector<double> blocks, blocksCpu, toPicture;
            for (int i = 1; i <= 2 * runs_; ++i) {
                const int before = drawings_;
                drawnAt_ = -1;
                clock_.start();
                qint64 cpu = ThreadNanoseconds();
                graph_->resize(full.width() - i % 2, full.height());
                qint64 longest = clock_.nsecsElapsed();
                qint64 longestCpu = ThreadNanoseconds() - cpu;
                while (drawings_ == before && clock_.nsecsElapsed() < 10'000'000'000) {
                    QThread::usleep(200);
                    const qint64 turnStart = clock_.nsecsElapsed();
                    cpu = ThreadNanoseconds();
                    QCoreApplication::processEvents();
                    longest = std::max(longest, clock_.nsecsElapsed() - turnStart);
                    longestCpu = std::max(longestCpu, ThreadNanoseconds() - cpu);
                }
                if (drawnAt_ < 0) {
                    std::fprintf(stderr, "control-bench: a slow redraw (%s) was never drawn\n", name);
                    continue;
                }
                blocks.push_back(Milliseconds(longest));
                blocksCpu.push_back(Milliseconds(longestCpu));
                toPicture.push_back(Milliseconds(drawnAt_));
            }
            if (blocks.empty())
                continue;
            const bool here = where == GraphControl::DrawingThread::Interface;
            const std::string row = std::string(name) + (here ? ", here" : ", chosen");
            // The goal is on processor time: wall time also counts the other programs of a
            // shared machine, and the worker's drawing beside the turn on two cores.
            const double longestMs = *std::max_element(blocks.begin(), blocks.end());
            const double longestCpuMs = *std::max_element(blocksCpu.begin(), blocksCpu.end());
            std::printf("%-26s %9.2f ms %12s %12s %9.2f ms %9.2f ms %10s  %s\n", row.c_str(), Median(toPicture), "-",
                        "-", longestCpuMs, longestMs, here ? "-" : "< 16 ms",
                        here ? "" : longestCpuMs < 16.0 ? "met" : "MISSED");
            while (graph_->DrawingInBackground())
                QTest::qWait(5);
        }
        graph_->SetDrawingThread(GraphControl::DrawingThread::Interface);
        graph_->SetGraphType(kLineGraph);
        graph_->SetLineWidth(2);
        graph_->resize(kControlWidth, kControlHeight);
        host_.resize(kClientWidth, kClientHeight);
        graph_->DrawGraph();
    }

    static void PrintHeader()
    {
        std::printf("%-26s %12s %12s %12s %12s %12s %10s\n", "control case", "to image", "drawing", "overhead",
                    "cpu overhead", "whole turn", "goal");
    }

private:
    static void Settle() { QCoreApplication::sendPostedEvents(); }

    QWidget* Surface() const { return graph_->findChild<QWidget*>(QStringLiteral("PaintBox")); }

    template <typename W> W* Child(const char* name) const
    {
        W* w = graph_->findChild<W*>(QString::fromLatin1(name));
        if (!w)
            std::fprintf(stderr, "control-bench: no %s in the control\n", name);
        return w;
    }

    // Clicks a check box off and on `runs_` times each, timing each click into `off` or `on`.
    void Toggles(QCheckBox* box, Row& off, Row& on, const char* what)
    {
        for (int i = 0; i < 2 * runs_; ++i)
            Measure(box->isChecked() ? off : on, [box] { QTest::mouseClick(box, Qt::LeftButton); }, what);
    }

    // Between timed actions: the canvas of the drawing alone follows, so that it holds the same
    // pen as the control's canvas (the axes take the width the last drawing left).
    void Untimed(const std::function<void()>& action, const char* what)
    {
        action();
        Settle();
        DrawAlone(what);
    }

    // Times `action` to the drawing it causes, then the drawing alone of the state it left.
    void Measure(Row& row, const std::function<void()>& action, const char* what)
    {
        const int before = drawings_;
        drawnAt_ = -1;
        const qint64 cpu = ThreadNanoseconds();
        clock_.start();
        action();
        Settle();
        const qint64 turn = clock_.nsecsElapsed();
        if (drawings_ != before + 1 || drawnAt_ < 0) {
            std::fprintf(stderr, "control-bench: %s drew %d times\n", what, drawings_ - before);
            return;
        }
        row.toImage.push_back(Milliseconds(drawnAt_));
        row.turn.push_back(Milliseconds(turn));
        double aloneCpu = 0;
        row.alone.push_back(DrawAlone(what, &aloneCpu));
        row.cpuOverhead.push_back(Milliseconds(drawnCpuAt_ - cpu) - aloneCpu);
    }

    // Returns the wall time in ms, and the processor time in `cpuMs` when given.
    double DrawAlone(const char* what, double* cpuMs = nullptr)
    {
        const QWidget* surface = Surface();
        const double ratio = surface->devicePixelRatioF();
        if (alone_.Width() != surface->width() || alone_.Height() != surface->height() ||
            alone_.DevicePixelRatio() != ratio)
            alone_.SetSize(surface->width(), surface->height(), ratio);
        const PlotModel& model = graph_->Model();
        const qint64 cpu = ThreadNanoseconds();
        QElapsedTimer timer;
        timer.start();
        plotwell::DrawGraph(model, alone_);
        const double ms = Milliseconds(timer.nsecsElapsed());
        if (cpuMs)
            *cpuMs = Milliseconds(ThreadNanoseconds() - cpu);
        if (alone_.Image() != graph_->SurfaceImage())
            std::fprintf(stderr, "control-bench: after %s the drawing alone differs from the control's picture\n",
                         what);
        return ms;
    }

    static void Print(const char* name, const Row& row, double goalMs)
    {
        if (row.toImage.empty())
            return;
        // The overhead of each run against its own drawing, then the median of those.
        std::vector<double> overheads;
        for (std::size_t i = 0; i < row.toImage.size(); ++i)
            overheads.push_back(row.toImage[i] - row.alone[i]);
        const double cpuOverhead = Median(row.cpuOverhead);
        std::printf("%-26s %9.2f ms %9.2f ms %9.2f ms %9.2f ms %9.2f ms %10s  %s\n", name, Median(row.toImage),
                    Median(row.alone), Median(overheads), cpuOverhead, Median(row.turn), "+5 ms",
                    cpuOverhead <= goalMs ? "met" : "MISSED");
    }

    static void PrintAlone(const char* name, double ms, const char* goal, bool met)
    {
        std::printf("%-26s %9.2f ms %12s %12s %12s %12s %10s  %s\n", name, ms, "-", "-", "-", "-", goal,
                    *goal == '-' ? "" : met ? "met" : "MISSED");
    }

    int runs_;
    RecordingSink sink_;
    QWidget host_;
    GraphControl* graph_ = nullptr;
    Canvas alone_;
    PaintCounter paints_;
    QElapsedTimer clock_;
    int drawings_ = 0;
    qint64 drawnAt_ = -1;
    qint64 drawnCpuAt_ = 0;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: control-bench FILE [RUNS [slow]]\n", stderr);
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    Bench bench(QString::fromLocal8Bit(argv[1]), runs);
    Bench::PrintHeader();
    if (argc > 3 && std::string(argv[3]) == "slow") {
        bench.SlowRedraws("slow: width 30 + markers", 30, kLineGraph);
        bench.SlowRedraws("slow: stacked bars", 2, kStackedGraph);
        return 0;
    }
    bench.Clicks();
    bench.LabelsOk();
    bench.Resizes();
    bench.ZoomSteps();
    bench.PointerMoves();
    bench.Repaints();
    bench.Drag(1);
    bench.Drag(2);
    bench.SlowRedraws("slow: width 30 + markers", 30, kLineGraph);
    bench.SlowRedraws("slow: stacked bars", 2, kStackedGraph);
    // The drawing alone over the grid of line widths, markers and graph kinds, on a model
    // of its own (the control's is not changed from outside).
    {
        RecordingSink sink;
        PlotModel model(sink);
        grid::Load(model, QString::fromLocal8Bit(argv[1]));
        grid::PrintGridHeader();
        grid::PrintGrid(model, runs);
    }
    return 0;
}
