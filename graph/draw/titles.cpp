#include "graph/draw/titles.h"

#include "graph/draw/canvas.h"
#include "graph/data/plot_model.h"
#include "graph/draw/render_frame.h"
#include "graph/draw/legend.h"

#include <algorithm>
#include <functional>

namespace plotwell {

namespace {

// The longest start of the text that fits `width` with an ellipsis after it; nothing when not
// even the ellipsis fits.
QString CutShort(const Canvas& canvas, const QString& text, int width)
{
    const QString ellipsis(QChar(0x2026));
    qsizetype low = 0; // a start that fits
    qsizetype high = text.size();
    if (canvas.TextExtent(ellipsis).width() > width)
        return QString();
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (canvas.TextExtent(text.left(mid) + ellipsis).width() <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return text.left(low).trimmed() + ellipsis;
}

} // namespace

TitleSpot PlaceTitle(int surfaceWidth, const QRect& legend, const std::function<QSize(int points)>& extent)
{
    const QSize full = extent(kTitlePoints);
    TitleSpot spot{kTitlePoints, (surfaceWidth - full.width()) / 2, kTitleTop, -1};
    const auto clear = [&](int x, QSize size) {
        return legend.isEmpty() || !QRect(x, kTitleTop, size.width(), size.height())
                                         .adjusted(-kTitleGap, -kTitleGap, kTitleGap, kTitleGap)
                                         .intersects(legend);
    };
    if (clear(spot.x, full))
        return spot;
    // Centred in the room left of the legend, as large as fits there.
    const int room = legend.left() - kTitleGap;
    for (int points = kTitlePoints; points >= kSmallestTitlePoints; --points) {
        const QSize size = points == kTitlePoints ? full : extent(points);
        const int x = (room - size.width()) / 2;
        if (x >= 0)
            return TitleSpot{points, x, kTitleTop, -1};
    }
    // Too long even at the smallest size: cut short to the room there. Below the legend it
    // would lie in the plot, under the series' lines.
    return TitleSpot{kSmallestTitlePoints, 0, kTitleTop, std::max(room, 0)};
}

void DrawTitle(Canvas& canvas, const PlotModel& model, GraphKind graphtype, int surfaceWidth)
{
    if (graphtype == kPieGraph)
        return;
    QString text = model.Title();
    if (text.isEmpty() && model.NumberOfSeries() == 1)
        text = model.GetSeriesName(1);
    if (text.isEmpty())
        return;
    const QRect legend = LegendBox(canvas, model, graphtype, surfaceWidth);
    CanvasFont& font = canvas.Font();
    font.SetName(QString::fromLatin1(kGraphFace));
    font.SetColor(model.Options().titleColor);
    const TitleSpot spot = PlaceTitle(surfaceWidth, legend, [&](int points) {
        font.SetSize(points);
        return canvas.TextExtent(text);
    });
    font.SetSize(spot.points);
    int x = spot.x;
    if (spot.cutTo >= 0) {
        text = CutShort(canvas, text, spot.cutTo);
        x = (spot.cutTo - canvas.TextExtent(text).width()) / 2;
    }
    if (!text.isEmpty())
        canvas.TextOut(x, spot.y, text);
}

void DrawXLabel(Canvas& canvas, const PlotModel& model, const RenderFrame& frame)
{
    const PlotArea& area = frame.map.Area();
    CanvasFont& font = canvas.Font();
    font.SetName(QString::fromLatin1(kGraphFace));
    font.SetColor(model.Options().axisColor);
    font.SetHeight(14);
    const QString& label = model.Options().xLabel;
    canvas.TextOut(area.cornerx + area.xwid / 2 - canvas.TextExtent(label).width() / 2, frame.cornery + 20, label);
}

void DrawYLabel(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, int widestTickLabel)
{
    const PlotArea& area = frame.map.Area();
    const QString& label = model.Options().yLabel;
    const int w = canvas.TextExtent(label).width();
    // On a narrow surface the label would start left of the surface and lose the tops of its
    // letters: it goes no farther left than the blank part of its cell above them, so that its
    // cell keeps off the tick labels as long as it can.
    const int left = std::max(-canvas.TextBlankTop(label), area.cornerx - (widestTickLabel + 10) - 20);
    canvas.TextOutAngle(left, area.bottomy - area.ywid / 2 + w / 2, 90, label);
}

} // namespace plotwell
