// A snapshot of the model, which a drawing on another thread reads, keeps the series it was
// made of, with their drawing indexes, whatever the model does to its own series meanwhile.

#include "core/recording_sink.h"
#include "graph/data/plot_model.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace plotwell;

namespace {

// Series 1 of bare values, series 2 of (X, Y) points out of X order.
void Fill(PlotModel& model)
{
    model.AddSeries();
    for (double y : {5.0, 3.0, 8.0, 1.0})
        model.AddPoint(1, nullvalue, y);
    model.AddSeries();
    for (double x : {4.0, 2.0, 3.0, 1.0})
        model.AddPoint(2, x, x * 10);
}

std::vector<QString> SeriesData(const PlotModel& model)
{
    std::vector<QString> data;
    for (int n = 1; n <= model.NumberOfSeries(); ++n)
        data.push_back(model.GetSeriesData(n));
    return data;
}

// The model's drawing indexes are those of its points as they are.
void ExpectIndexesTrue(const PlotModel& model, const char* name)
{
    for (int n = 1; n <= model.NumberOfSeries(); ++n) {
        const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
        if (points.empty())
            continue;
        const SeriesRange kept = model.DrawingIndex(n).Range();
        const SeriesRange fresh = SeriesIndex(points).Range();
        EXPECT_EQ(kept.minY, fresh.minY) << name << " series " << n;
        EXPECT_EQ(kept.maxY, fresh.maxY) << name << " series " << n;
        EXPECT_EQ(kept.maxX, fresh.maxX) << name << " series " << n;
    }
}

} // namespace

TEST(ModelSnapshot, KeepsItsSeriesThroughEveryWriteToTheModel)
{
    RecordingSink sink;
    const struct
    {
        const char* name;
        std::function<void(PlotModel&)> write;
    } cases[] = {
        {"AddPoint", [](PlotModel& m) { m.AddPoint(1, nullvalue, 99); }},
        {"SortPoints", [](PlotModel& m) { m.SortPoints(2, 0, 3); }},
        {"AddSeries", [](PlotModel& m) { m.AddSeries(); }},
        {"RemoveLastSeries", [](PlotModel& m) { m.RemoveLastSeries(); }},
        {"ClearData", [](PlotModel& m) { m.ClearData(); }},
        {"TakeStoreFrom",
         [&sink](PlotModel& m) {
             PlotModel loaded(sink);
             loaded.AddPoint(-1, nullvalue, 42);
             m.TakeStoreFrom(loaded);
         }},
        {"SeriesWriter",
         [](PlotModel& m) {
             SeriesWriter writer(m);
             writer.Points(1).push_back(DataPoint{5, -7});
             writer.SeriesWritten();
         }},
    };
    for (const auto& c : cases) {
        PlotModel alone(sink), shared(sink);
        for (PlotModel* m : {&alone, &shared})
            Fill(*m);
        ExpectIndexesTrue(shared, c.name); // built before the snapshot, so shared with it
        std::unique_ptr<PlotModel> snapshot = shared.Snapshot();
        EXPECT_TRUE(shared.SharesSeries()) << c.name;
        const std::vector<QString> before = SeriesData(shared);
        const double* storage = snapshot->AllSeries()[0].Storage();

        c.write(alone);
        c.write(shared);

        EXPECT_EQ(SeriesData(*snapshot), before) << c.name;
        EXPECT_EQ(snapshot->AllSeries()[0].Storage(), storage) << c.name;
        ExpectIndexesTrue(*snapshot, c.name);
        EXPECT_EQ(SeriesData(shared), SeriesData(alone)) << c.name;
        ExpectIndexesTrue(shared, c.name);
        snapshot.reset();
        EXPECT_FALSE(shared.SharesSeries()) << c.name;
    }
}

TEST(ModelSnapshot, CopiesTheSmallStateAndSharesTheIndexesItBuilds)
{
    RecordingSink sink;
    PlotModel model(sink);
    Fill(model);
    for (int i = 0; i < 5000; ++i) // enough for an index of some size
        model.AddPoint(1, nullvalue, i % 17);
    model.SetTitle(QStringLiteral("Sales"));
    model.SetGraphType(kBarGraph);
    model.SetOption(&PlotOptions::lineWidth, 7);
    model.SetSeriesBoxChecked(2, false);
    const std::unique_ptr<PlotModel> snapshot = model.Snapshot();
    model.SetTitle(QStringLiteral("Later"));
    model.SetGraphType(kLineGraph);
    model.SetOption(&PlotOptions::lineWidth, 1);
    model.SetSeriesBoxChecked(2, true);

    EXPECT_EQ(snapshot->Title(), QStringLiteral("Sales"));
    EXPECT_EQ(snapshot->GraphType(), kBarGraph);
    EXPECT_EQ(snapshot->Options().lineWidth, 7);
    EXPECT_FALSE(snapshot->SeriesDisplay(2));
    EXPECT_EQ(snapshot->NumberOfPoints(), 5004);
    EXPECT_EQ(model.NumberOfPoints(), 5008);
    // An index the snapshot's drawing builds serves the model's next drawing too.
    const std::size_t unbuilt = model.DrawingIndexBytes();
    snapshot->DrawingIndex(1);
    EXPECT_GT(model.DrawingIndexBytes(), unbuilt + 1000);
    EXPECT_EQ(model.DrawingIndexBytes(), snapshot->DrawingIndexBytes());
}

// The stacks' index depends on the boxes, which a snapshot and its model may see differently:
// each keeps the index it was given while the other asks for one of other series.
TEST(ModelSnapshot, KeepsItsStacksWhileTheModelShowsOtherSeries)
{
    RecordingSink sink;
    PlotModel model(sink);
    for (int n = 1; n <= 3; ++n) {
        model.AddSeries();
        for (int i = 0; i < 3000; ++i)
            model.AddPoint(n, nullvalue, (i * n) % 11);
    }
    const std::unique_ptr<PlotModel> snapshot = model.Snapshot();
    const std::shared_ptr<const StackIndex> held = snapshot->StackDrawingIndex(false);
    model.SetSeriesBoxChecked(2, false);
    const std::shared_ptr<const StackIndex> other = model.StackDrawingIndex(false);
    EXPECT_NE(held.get(), other.get());
    EXPECT_EQ(held->Shown(), 0b111u);
    EXPECT_EQ(other->Shown(), 0b101u);
    EXPECT_EQ(held->MaxTotal(), snapshot->StackDrawingIndex(false)->MaxTotal());
}
