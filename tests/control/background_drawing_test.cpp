// Drawings off the interface thread: the surface keeps the previous picture until the new one
// is whole, changes meanwhile end in one drawing of the latest state, and neither a load, a new
// point nor closing the window races with a drawing that still reads the old series.

#include "control_fixture.h"
#include "graph/draw/canvas.h"
#include "graph/draw/renderer.h"

#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

using namespace plotwell;

namespace {

// Holds a drawing back until the test lets it go.
struct Gate
{
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    void Wait()
    {
        std::unique_lock lock(mutex);
        opened.wait(lock, [this] { return open; });
    }
    void Open()
    {
        {
            const std::lock_guard lock(mutex);
            open = true;
        }
        opened.notify_all();
    }
};

// What each drawing saw of its model, written on the drawing's thread.
struct DrawLog
{
    std::mutex mutex;
    std::vector<QString> titles;
    std::vector<qint64> points;
    int Count()
    {
        const std::lock_guard lock(mutex);
        return static_cast<int>(titles.size());
    }
};

// The renderer's own drawing, logged, then held at the gate: the worker still holds its
// snapshot while the test changes the control.
BackgroundDrawing::DrawFunction GatedDrawing(std::shared_ptr<Gate> gate, std::shared_ptr<DrawLog> log)
{
    return [gate, log](const PlotModel& model, Canvas& canvas, const DrawRequest& request) {
        const DrawingResult result = DrawGraph(model, canvas, request);
        {
            const std::lock_guard lock(log->mutex);
            log->titles.push_back(model.Title());
            log->points.push_back(model.NumberOfPoints());
        }
        gate->Wait();
        return result;
    };
}

// Lets a held drawing go however the test ends, before the control waits for it.
struct OpenAtEnd
{
    std::shared_ptr<Gate> gate;
    ~OpenAtEnd() { gate->Open(); }
};

// Which thread each drawing ran on: a quick drawing may be over before the test looks.
struct ThreadLog
{
    const std::thread::id interfaceThread = std::this_thread::get_id();
    std::mutex mutex;
    std::vector<bool> onWorker;
    BackgroundDrawing::DrawFunction Around(BackgroundDrawing::DrawFunction draw)
    {
        return [this, draw](const PlotModel& model, Canvas& canvas, const DrawRequest& request) {
            {
                const std::lock_guard lock(mutex);
                onWorker.push_back(std::this_thread::get_id() != interfaceThread);
            }
            return draw(model, canvas, request);
        };
    }
    std::optional<bool> Last()
    {
        const std::lock_guard lock(mutex);
        return onWorker.empty() ? std::nullopt : std::optional<bool>(onWorker.back());
    }
};

bool WaitUntil(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000)
        QTest::qWait(2);
    return done();
}

// The renderer's picture of the control's model as it is, at the surface's size.
QImage RendererPicture(ControlHost& f)
{
    const QWidget* surface = f.Child<QWidget>("PaintBox");
    Canvas canvas;
    canvas.SetSize(surface->width(), surface->height(), surface->devicePixelRatioF());
    DrawRequest request;
    request.controlClientHeight = f.graph->height();
    request.view = f.graph->View();
    DrawGraph(f.graph->Model(), canvas, request);
    return canvas.Image();
}

QByteArray Points(int series, int count)
{
    QByteArray text;
    for (int s = 0; s < series; ++s) {
        for (int i = 0; i < count; ++i)
            text += QByteArray::number((i * 37 + s * 11) % 101) + ' ';
        text += '\n';
    }
    return text;
}

} // namespace

TEST_F(ControlFixture, ABackgroundDrawingShowsThePreviousPictureUntilItIsDone)
{
    Load("1 5 3 8 2\n2 4 6 1 3\n");
    const QImage before = graph->SurfaceImage();
    const auto gate = std::make_shared<Gate>();
    const auto log = std::make_shared<DrawLog>();
    const OpenAtEnd release{gate};
    graph->SetDrawingThread(GraphControl::DrawingThread::Worker);
    graph->SetDrawFunction(GatedDrawing(gate, log));

    graph->SetTitle(QStringLiteral("First"));
    Settle();
    ASSERT_TRUE(graph->DrawingInBackground());
    ASSERT_TRUE(WaitUntil([&] { return log->Count() == 1; }));
    // The drawing is done but not yet let go: the window still shows the old picture.
    QTest::qWait(20);
    EXPECT_TRUE(graph->SurfaceImage() == before);

    // Changes while it runs: none starts a drawing of its own.
    graph->SetLineWidth(5);
    graph->SetGraphType(kBarGraph);
    graph->SetTitle(QStringLiteral("Latest"));
    Settle();
    QTest::qWait(20);
    EXPECT_EQ(log->Count(), 1);
    EXPECT_TRUE(graph->SurfaceImage() == before);

    gate->Open();
    ASSERT_TRUE(WaitUntil([&] { return log->Count() == 2 && !graph->DrawingInBackground(); }));
    QTest::qWait(20);
    EXPECT_EQ(log->titles, (std::vector<QString>{QStringLiteral("First"), QStringLiteral("Latest")}));
    // The first drawing's line graph did not undo the bar graph chosen while it ran.
    EXPECT_EQ(graph->GraphType(), kBarGraph);
    EXPECT_EQ(graph->LastDrawing().graphType, kBarGraph);
    EXPECT_TRUE(graph->SurfaceImage() == RendererPicture(*this));
    EXPECT_FALSE(graph->Model().SharesSeries());
}

TEST_F(ControlFixture, ALoadOrANewPointDuringABackgroundDrawingLosesNothing)
{
    Load(Points(2, 40));
    const auto gate = std::make_shared<Gate>();
    const auto log = std::make_shared<DrawLog>();
    const OpenAtEnd release{gate};
    graph->SetDrawingThread(GraphControl::DrawingThread::Worker);
    graph->SetDrawFunction(GatedDrawing(gate, log));
    const QString other = dir.filePath(QStringLiteral("other.txt"));
    WriteFile(other, Points(3, 60));

    graph->SetTitle(QStringLiteral("Old points"));
    Settle();
    ASSERT_TRUE(WaitUntil([&] { return log->Count() == 1; }));
    // A point added to the store the drawing still reads, then a whole store put in place.
    EXPECT_TRUE(graph->Model().SharesSeries());
    EXPECT_TRUE(graph->Model().AddPoint(1, nullvalue, 7));
    EXPECT_EQ(graph->NumberOfPoints(), 81);
    graph->LoadFile(other);
    WaitForLoad();
    EXPECT_TRUE(graph->Model().AddPoint(2, nullvalue, 9));
    EXPECT_EQ(graph->NumberOfPoints(), 181);

    gate->Open();
    ASSERT_TRUE(WaitUntil([&] { return log->Count() == 2 && !graph->DrawingInBackground(); }));
    QTest::qWait(20);
    EXPECT_EQ(log->points, (std::vector<qint64>{80, 181}));
    EXPECT_EQ(graph->NumberOfSeries(), 3);
    EXPECT_EQ(graph->GetSeriesSummary(2).numpoints, 61);
    EXPECT_TRUE(graph->SurfaceImage() == RendererPicture(*this));
}

TEST_F(ControlFixture, DrawGraphDrawsTheLatestStateAtOnceDuringABackgroundDrawing)
{
    Load("1 5 3 8 2\n");
    graph->SetDrawingThread(GraphControl::DrawingThread::Worker);
    const auto started = std::make_shared<std::atomic<bool>>(false);
    graph->SetDrawFunction([started](const PlotModel& model, Canvas& canvas, const DrawRequest& request) {
        *started = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        return DrawGraph(model, canvas, request);
    });
    graph->SetTitle(QStringLiteral("Drawn later"));
    Settle();
    ASSERT_TRUE(graph->DrawingInBackground());
    while (!*started) // without the event loop: the drawing's end stays unheard
        std::this_thread::yield();
    graph->SetTitle(QStringLiteral("Drawn now"));
    graph->DrawGraph();
    EXPECT_FALSE(graph->DrawingInBackground());
    const QImage now = RendererPicture(*this);
    EXPECT_TRUE(graph->SurfaceImage() == now);
    // Nothing older comes in over it afterwards.
    QTest::qWait(100);
    EXPECT_TRUE(graph->SurfaceImage() == now);
}

TEST(BackgroundDrawing, ClosingDuringADrawingWaitsForIt)
{
    const auto started = std::make_shared<std::atomic<bool>>(false);
    const auto finished = std::make_shared<std::atomic<int>>(0);
    auto f = std::make_unique<ControlHost>();
    f->Load("1 5 3 8 2\n2 4 6 1 3\n");
    f->graph->SetDrawingThread(GraphControl::DrawingThread::Worker);
    f->graph->SetDrawFunction([started, finished](const PlotModel& model, Canvas& canvas, const DrawRequest& request) {
        *started = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const DrawingResult result = DrawGraph(model, canvas, request);
        ++*finished;
        return result;
    });
    f->graph->SetTitle(QStringLiteral("Closing"));
    f->Settle();
    ASSERT_TRUE(f->graph->DrawingInBackground());
    while (!*started)
        std::this_thread::yield();
    f->host.close();
    f.reset();
    EXPECT_EQ(*finished, 1);
    QTest::qWait(20); // the drawing's late announcement finds nothing to call
}

TEST(BackgroundDrawing, OnlyBigStoresOfUnknownCostGoToTheWorker)
{
    const struct
    {
        const char* name;
        int points;
        GraphControl::DrawingThread where;
        bool background;
    } cases[] = {
        {"small store", 50, GraphControl::DrawingThread::Auto, false},
        {"big store, new series", 120000, GraphControl::DrawingThread::Auto, true},
        {"big store, interface thread asked", 120000, GraphControl::DrawingThread::Interface, false},
        {"small store, worker asked", 50, GraphControl::DrawingThread::Worker, true},
    };
    for (const auto& c : cases) {
        ThreadLog threads;
        ControlHost f;
        f.graph->SetDrawingThread(c.where);
        f.graph->SetDrawFunction(threads.Around([](const PlotModel& model, Canvas& canvas, const DrawRequest& request) {
            return DrawGraph(model, canvas, request);
        }));
        f.Load(Points(1, c.points));
        ASSERT_TRUE(WaitUntil([&] { return !f.graph->DrawingInBackground(); })) << c.name;
        QTest::qWait(10);
        EXPECT_EQ(threads.Last(), c.background) << c.name;
        EXPECT_EQ(f.graph->NumberOfPoints(), c.points) << c.name;
        EXPECT_TRUE(f.graph->SurfaceImage() == RendererPicture(f)) << c.name;
    }
}

TEST(BackgroundDrawing, TheTimesOfEarlierDrawingsOfTheSameSeriesAndOptionsChooseTheThread)
{
    ThreadLog threads;
    ControlHost f;
    const auto delay = std::make_shared<std::atomic<int>>(0); // ms each drawing takes
    f.graph->SetDrawFunction(threads.Around([delay](const PlotModel&, Canvas&, const DrawRequest&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(delay->load()));
        return DrawingResult{};
    }));
    const struct
    {
        const char* name;
        std::function<void()> change;
        bool background;
    } steps[] = {
        {"new series", [&] { f.Load(Points(1, 120000)); }, true},
        {"title, quick before", [&] { f.graph->SetTitle(QStringLiteral("A")); }, false},
        {"markers off, not drawn yet", [&] { f.graph->SetShowPoints(false); }, true},
        {"markers on, quick before", [&] { f.graph->SetShowPoints(true); }, false},
        {"slow from now on, quick before", [&] { *delay = 20; f.graph->SetTitle(QStringLiteral("B")); }, false},
        {"title, slow before", [&] { f.graph->SetTitle(QStringLiteral("C")); }, true},
    };
    for (const auto& step : steps) {
        step.change();
        f.Settle();
        ASSERT_TRUE(WaitUntil([&] { return !f.graph->DrawingInBackground(); })) << step.name;
        QTest::qWait(5);
        EXPECT_EQ(threads.Last(), step.background) << step.name;
    }
}
