// A long line series is thinned per pixel column before drawing; with a one-pixel pen the
// picture must be exactly that of drawing every segment.
#include "core/recording_sink.h"
#include "graph/draw/canvas.h"
#include "graph/draw/line_series.h"
#include "graph/data/plot_model.h"
#include "graph/draw/render_frame.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using namespace plotwell;

namespace {

enum class XOrder { Ascending, Shuffled, Repeated, OneStepBack };

struct ThinningCase
{
    const char* name;
    int width, height; // of the surface
    int points;
    XOrder order;
    int walkStep;    // 0: noise over the whole range; else a random walk of this step
    int leadingGaps = 0; // null points the series starts with
};

double XOf(XOrder order, int i, int points, QRandomGenerator& random)
{
    switch (order) {
    case XOrder::Ascending:
        return i + 1;
    case XOrder::Shuffled:
        return random.bounded(points) + 1;
    case XOrder::Repeated:
        return i / 7 + 1; // (X,Y) data with equal X values
    case XOrder::OneStepBack:
        return i == points * 2 / 3 ? i - points / 4 : i + 1; // in order but for one point
    }
    return 0;
}

// Draws series 1 as the line step does, segment by segment from each point back to the one
// before, with no thinning.
void DrawEverySegment(Canvas& canvas, const PointList& points, const RenderFrame& frame)
{
    bool started = false;
    QPoint previous;
    for (const DataPoint& p : points) {
        if (IsNullPoint(p))
            continue;
        const QPoint current(frame.map.Column(p.x), frame.map.Row(p.y));
        if (started) {
            canvas.MoveTo(current.x(), current.y());
            canvas.LineTo(previous.x(), previous.y());
        }
        previous = current;
        started = true;
    }
}

} // namespace

TEST(LineThinning, SamePixelsAsEverySegment)
{
    const ThinningCase cases[] = {
        {"random walk, 1M-like density", 600, 400, 40000, XOrder::Ascending, 3},
        {"noise", 600, 400, 6000, XOrder::Ascending, 0},
        {"unordered X", 600, 400, 3000, XOrder::Shuffled, 0},
        {"repeated X, starting with gaps", 600, 400, 7000, XOrder::Repeated, 4, 40},
        {"one point out of X order", 600, 400, 9000, XOrder::OneStepBack, 3},
        {"few columns, many points each", 30, 22, 400, XOrder::Ascending, 2},
    };
    QRandomGenerator random(11);
    for (const ThinningCase& c : cases) {
        for (int trial = 0; trial < (c.width < 100 ? 300 : 3); ++trial) {
            RecordingSink sink;
            PlotModel model(sink);
            model.AddSeries();
            double level = 50;
            for (int i = 0; i < c.points; ++i) {
                level = c.walkStep ? std::clamp(level + random.bounded(2 * c.walkStep + 1) - c.walkStep, 0.0, 100.0)
                                   : random.bounded(101);
                const double x = XOf(c.order, i, c.points, random);
                const double y = i < c.leadingGaps || random.bounded(50) == 0 ? nullvalue : level; // some gaps
                model.AddPoint(1, x, y);
            }
            RenderFrame frame;
            const PlotArea area{c.width / 10, (c.height / 40) * 37, (c.width / 10) * 8, (c.height / 11) * 8};
            frame.map = PlotMapping(area, AxisScale(1, c.points), AxisScale(0, 100));
            frame.cornery = area.bottomy;
            frame.width = c.width;
            frame.height = c.height;

            Canvas thinned;
            Canvas reference;
            for (Canvas* canvas : {&thinned, &reference}) {
                canvas->SetSize(c.width, c.height);
                canvas->Pen().SetColor(0x000000FF);
                canvas->Pen().SetWidth(1);
            }
            DrawLineSeries(thinned, model, frame, 1);
            DrawEverySegment(reference, model.AllSeries()[0], frame);
            ASSERT_TRUE(thinned.Image() == reference.Image()) << c.name << ", trial " << trial;
        }
    }
}
