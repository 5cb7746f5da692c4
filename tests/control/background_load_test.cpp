// Loads in the background: the result arrives in one step with the messages and state of a
// load from code; cancelling, replacing and closing during a load leave no trace.

#include "control_fixture.h"
#include "graph/load/data_file_loader.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRadioButton>

#include <atomic>
#include <chrono>
#include <memory>
#include <new>
#include <thread>

using namespace plotwell;

namespace {

// A load that runs until it is cancelled, as a huge file would.
bool EndlessLoad(PlotModel&, const QString&, LoadProgress& progress)
{
    progress.SetTotal(1000);
    for (qint64 done = 0;; done = (done + 1) % 1000) {
        progress.Report(done);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

struct State
{
    QString fileName, title;
    int series;
    GraphKind type;
    QStringList messages;
    QImage picture;
};

State StateOf(ControlHost& f)
{
    return {f.graph->FileName(), f.graph->Title(), f.graph->NumberOfSeries(), f.graph->GraphType(),
            f.sink.Messages(), f.graph->SurfaceImage()};
}

void ExpectSame(const State& a, const State& b, const char* name)
{
    EXPECT_EQ(QFileInfo(a.fileName).fileName(), QFileInfo(b.fileName).fileName()) << name;
    EXPECT_EQ(a.title, b.title) << name;
    EXPECT_EQ(a.series, b.series) << name;
    EXPECT_EQ(a.type, b.type) << name;
    EXPECT_EQ(a.messages, b.messages) << name;
    EXPECT_TRUE(a.picture == b.picture) << name;
}

} // namespace

TEST(BackgroundLoad, EndsLikeALoadFromCode)
{
    const struct
    {
        const char* name;
        const char* text; // null: the file does not exist
    } cases[] = {
        {"good", "1 2 3 ;First\n4 5 6 ;Second\n"},
        {"bad line at the end", "1 2 3\n4 5 6\n7 x 9\n"},
        {"no points", "; only a comment\n"},
        {"missing", nullptr},
    };
    for (const auto& c : cases) {
        ControlHost sync, async;
        for (ControlHost* f : {&sync, &async}) {
            f->Load("10 20 30\n"); // a previous graph, and Bar chosen over it
            f->graph->SetGraphType(kBarGraph);
            f->Settle();
            f->sink.Clear();
        }
        const QString path = sync.dir.filePath(QStringLiteral("case.txt"));
        if (c.text)
            WriteFile(path, c.text);
        sync.graph->SetFileName(path);
        sync.Settle();
        async.graph->LoadFile(path);
        EXPECT_TRUE(async.graph->Loading());
        async.WaitForLoad();
        ExpectSame(StateOf(async), StateOf(sync), c.name);
    }
}

TEST_F(ControlFixture, CancelLeavesTheGraphAsItWas)
{
    Load("1 2 3 ;First\n4 5 6 ;Second\n");
    graph->SetGraphType(kBarGraph);
    Settle();
    const State before = StateOf(*this);
    drawn = 0;
    graph->SetLoadFunction(EndlessLoad);
    graph->LoadFile(dir.filePath(QStringLiteral("huge.txt")));
    QTest::qWait(20);
    EXPECT_TRUE(graph->Loading());
    EXPECT_EQ(Child<QWidget>("PaintBox")->cursor().shape(), Qt::WaitCursor);
    graph->CancelLoad();
    EXPECT_FALSE(graph->Loading());
    QTest::qWait(10);
    ExpectSame(StateOf(*this), before, "cancelled");
    EXPECT_TRUE(Child<QRadioButton>("barrb")->isChecked());
    EXPECT_EQ(drawn, 0);
    EXPECT_NE(Child<QWidget>("PaintBox")->cursor().shape(), Qt::WaitCursor);
}

TEST_F(ControlFixture, ASecondLoadReplacesTheFirst)
{
    graph->SetLoadFunction([](PlotModel& store, const QString& path, LoadProgress& progress) {
        if (path.endsWith(QStringLiteral("slow.txt")))
            return EndlessLoad(store, path, progress);
        return BackgroundLoad::LoadDataFile(store, path, progress);
    });
    const QString quick = dir.filePath(QStringLiteral("quick.txt"));
    WriteFile(quick, "7 8 9\n");
    graph->LoadFile(dir.filePath(QStringLiteral("slow.txt")));
    graph->LoadFile(quick);
    WaitForLoad();
    EXPECT_EQ(graph->FileName(), quick);
    EXPECT_EQ(graph->NumberOfPoints(), 3);
    EXPECT_TRUE(sink.Messages().isEmpty());
}

TEST(BackgroundLoad, ClosingDuringALoadStopsItsWorker)
{
    // The worker reports until it is cancelled, but gives up after a few seconds, so that a
    // control that only waits for it (or leaves it running) fails here instead of hanging.
    struct WorkerLog
    {
        std::atomic<bool> ended{false};
        std::atomic<bool> cancelled{false};
    };
    const auto log = std::make_shared<WorkerLog>(); // shared: a worker left running may outlive the test
    ControlHost f;
    f.graph->SetLoadFunction([log](PlotModel&, const QString&, LoadProgress& progress) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        try {
            while (std::chrono::steady_clock::now() < giveUp) {
                progress.Report(0);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        } catch (const LoadCancelled&) {
            log->cancelled = true;
            log->ended = true;
            throw;
        }
        log->ended = true;
        return false;
    });
    f.graph->LoadFile(QStringLiteral("huge.txt"));
    QTest::qWait(10);
    QElapsedTimer closing;
    closing.start();
    delete f.graph; // waits for the worker, which stops at its next report
    f.graph = nullptr;
    EXPECT_LT(closing.elapsed(), 2000);
    ASSERT_TRUE(log->ended) << "the worker is still running after the control is gone";
    EXPECT_TRUE(log->cancelled) << "the worker ran to its end instead of being cancelled";
}

TEST(BackgroundLoad, TheFileLoaderStopsWhenCancelled)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.txt"));
    WriteFile(path, "1 2 3\n4 5 6\n");
    RecordingSink sink;
    PlotModel model(sink);
    LoadProgress progress;
    progress.Cancel();
    EXPECT_THROW(DataFileLoader(model, &progress).SetFileName(path), LoadCancelled);
    EXPECT_TRUE(sink.Messages().isEmpty());

    LoadProgress running;
    EXPECT_TRUE(DataFileLoader(model, &running).SetFileName(path));
    EXPECT_EQ(running.Percent(), 100);
}

TEST_F(ControlFixture, TenLoadsInARowEndWithTheLastAndAWorkerWithoutMemoryFailsLikeALoad)
{
    const QString path = dir.filePath(QStringLiteral("data.txt"));
    WriteFile(path, "1 2 3\n4 5 6\n");
    for (int i = 0; i < 10; ++i)
        graph->LoadFile(path);
    WaitForLoad();
    EXPECT_EQ(graph->NumberOfSeries(), 2);
    EXPECT_TRUE(sink.Messages().isEmpty());

    graph->SetLoadFunction([](PlotModel& store, const QString&, LoadProgress&) -> bool {
        AddSeriesFromString(store, QStringLiteral("1 2"), false);
        throw std::bad_alloc();
    });
    graph->LoadFile(path);
    WaitForLoad();
    EXPECT_EQ(graph->NumberOfSeries(), 0);
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Not enough memory to load file:\r\r") + path});
}

TEST_F(ControlFixture, ACancelDoesNotWaitForAWorkerBusyWithoutReporting)
{
    std::atomic<bool> release{false};
    graph->SetLoadFunction([&release](PlotModel&, const QString&, LoadProgress& progress) -> bool {
        while (!release) // work that reports nothing for a while
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        progress.ThrowIfCancelled();
        return true;
    });
    graph->LoadFile(dir.filePath(QStringLiteral("busy.txt")));
    graph->CancelLoad();
    EXPECT_FALSE(graph->Loading());
    EXPECT_EQ(graph->LoadsStopping(), 1);
    release = true;
    QDeadlineTimer deadline(10000);
    while (graph->LoadsStopping() > 0 && !deadline.hasExpired())
        QTest::qWait(2);
    EXPECT_EQ(graph->LoadsStopping(), 0);
    EXPECT_EQ(graph->NumberOfSeries(), 0);
}

TEST_F(ControlFixture, ALoadFromCodeReplacesOneInTheBackground)
{
    graph->SetLoadFunction(EndlessLoad);
    graph->LoadFile(dir.filePath(QStringLiteral("huge.txt")));
    Load("4 5 6\n");
    EXPECT_FALSE(graph->Loading());
    QTest::qWait(20);
    EXPECT_EQ(graph->NumberOfPoints(), 3);
}
