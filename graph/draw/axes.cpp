#include "graph/draw/axes.h"

#include "graph/draw/canvas.h"
#include "graph/data/compact_date.h"
#include "graph/data/plot_model.h"
#include "graph/draw/render_frame.h"
#include "graph/draw/tick_labels.h"
#include "graph/draw/titles.h"

#include <algorithm>
#include <cmath>

namespace plotwell {

namespace {

// Grid lines across the plot are always this grey for the X ticks.
constexpr TColor kVerticalGridColor = 0x00808080;
// Y tick values beyond this are written in the "0.00 e-00" form.
constexpr double kExponentLabels = 10000000.0;

void useTickFont(TCanvas& canvas, const PlotOptions& options)
{
    TFont& font = canvas.Font();
    font.SetName(QString::fromLatin1(kGraphFace));
    font.SetSize(8);
    font.SetColor(options.AxisColor);
}

void useGridPen(TCanvas& canvas, TColor color)
{
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(psDot);
    canvas.Pen().SetColor(color);
}

// Draws the Y ticks; returns the width of the widest tick label drawn or left out.
int drawYTicks(TCanvas& canvas, const PlotModel& model, const RenderFrame& frame)
{
    const PlotOptions& options = model.Options();
    const PlotArea& area = frame.map.Area();
    const int top = area.bottomy - area.ywid;
    useGridPen(canvas, options.GridColor);
    useTickFont(canvas, options);
    int widest = 0;
    for (const TickLabel& label : TickLabels(options.DecimalPlaces, frame.map.Y().Low(), frame.map.Y().High())) {
        const int y = frame.map.TickRow(label.value);
        if (y < top || y > area.bottomy)
            continue;
        if (options.HorzGridLines && y != frame.cornery) {
            canvas.MoveTo(area.cornerx, y);
            canvas.LineTo(area.cornerx + area.xwid, y);
        }
        const QString text = std::fabs(label.value) > kExponentLabels ? FormatTickExponent(label.value) : label.text;
        const int w = canvas.TextExtent(text).width();
        widest = std::max(widest, w);
        if (!(text == QLatin1String("0") && options.FloatingXAxis))
            canvas.TextOut(area.cornerx - w - 10, y - 5, text);
    }
    // A floating X axis over negative values gets its "0" beside it.
    if (frame.isnegative && options.FloatingXAxis && frame.cornery != top) {
        const QString zero = QStringLiteral("0");
        canvas.TextOut(area.cornerx - canvas.TextExtent(zero).width() - 10, frame.cornery - 5, zero);
    }
    return widest;
}

void drawXTick(TCanvas& canvas, const PlotModel& model, const RenderFrame& frame, int x, const QString& text, int i)
{
    const PlotOptions& options = model.Options();
    const PlotArea& area = frame.map.Area();
    if (options.VertGridLines && x != area.cornerx) {
        useGridPen(canvas, kVerticalGridColor);
        canvas.MoveTo(x, area.bottomy);
        canvas.LineTo(x, area.bottomy - area.ywid);
    }
    canvas.SetPixel(x, frame.cornery + 1, options.AxisColor);
    if (options.LineWidth > 1)
        canvas.SetPixel(x, frame.cornery + 2, options.AxisColor);
    useTickFont(canvas, options);
    int w = canvas.TextExtent(text).width();
    // The first label of a floating axis over negative values starts at its tick.
    if (i == 0 && frame.isnegative && options.FloatingXAxis)
        w = 0;
    canvas.TextOut(x - w / 2, frame.cornery + 4, text);
}

} // namespace

void DrawAxes(TCanvas& canvas, const PlotModel& model, const RenderFrame& frame)
{
    const PlotArea& area = frame.map.Area();
    canvas.Pen().SetColor(model.Options().AxisColor);
    canvas.Pen().SetStyle(psSolid);
    canvas.MoveTo(area.cornerx, frame.cornery);
    canvas.LineTo(area.cornerx + area.xwid, frame.cornery);
    DrawXLabel(canvas, model, frame);
    canvas.MoveTo(area.cornerx, area.bottomy);
    canvas.LineTo(area.cornerx, area.bottomy - area.ywid);
    const int widest = drawYTicks(canvas, model, frame);
    DrawYLabel(canvas, model, frame, widest);
}

void DrawXTicks(TCanvas& canvas, const PlotModel& model, const RenderFrame& frame)
{
    const PlotOptions& options = model.Options();
    const PlotArea& area = frame.map.Area();
    // Tick labels stand on the background like every other text of the graph.
    canvas.Brush().SetColor(options.BackgroundColor);
    const AxisScale& x = frame.map.X();
    if (!model.seriesinfo(1).isdates) {
        int i = 0;
        for (const TickLabel& label : TickLabels(options.DecimalPlaces, x.Low(), x.High()))
            drawXTick(canvas, model, frame, frame.map.TickColumn(label.value), label.text, i++);
        return;
    }
    const QString format = CompactDateFormat();
    const int step = area.xwid / 8;
    for (int k = 0; k <= 8; ++k) {
        const double day = k == 0 ? x.Low() : x.Low() + k / 8.0 * x.Extent();
        int column = area.cornerx + k * step;
        if (frame.graphtype == gtbar)
            column = PixelRound(k * step + step / 2.0 + area.cornerx);
        else if (frame.graphtype == gtstacked)
            column = PixelRound(k * step + step / 2.0 + area.cornerx - step / 10.0);
        drawXTick(canvas, model, frame, column, FormatCompactDate(day, format), k);
    }
}

} // namespace plotwell
