#include "graph/draw/axes.h"

#include "graph/draw/canvas.h"
#include "graph/data/compact_date.h"
#include "graph/data/plot_model.h"
#include "graph/draw/render_frame.h"
#include "graph/draw/tick_labels.h"
#include "graph/draw/titles.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace plotwell {

namespace {

// Grid lines across the plot are always this grey for the X ticks.
constexpr RgbColor kVerticalGridColor = 0x00808080;
// Y tick values beyond this are written in the "0.00 e-00" form.
constexpr double kExponentLabels = 10000000.0;

void UseTickFont(Canvas& canvas, const PlotOptions& options)
{
    CanvasFont& font = canvas.Font();
    font.SetName(QString::fromLatin1(kGraphFace));
    font.SetSize(8);
    font.SetColor(options.axisColor);
}

void UseGridPen(Canvas& canvas, RgbColor color)
{
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(kDotPen);
    canvas.Pen().SetColor(color);
}

// Draws the Y ticks; returns the width of the widest tick label drawn or left out.
int DrawYTicks(Canvas& canvas, const PlotModel& model, const RenderFrame& frame)
{
    const PlotOptions& options = model.Options();
    const PlotArea& area = frame.map.Area();
    const int top = area.bottomy - area.ywid;
    UseGridPen(canvas, options.gridColor);
    UseTickFont(canvas, options);
    struct YTick
    {
        int row;
        QString text;
    };
    std::vector<YTick> ticks;
    std::vector<TickSpan> spans;
    std::vector<double> values;
    for (const TickLabel& label : TickLabels(options.decimalPlaces, frame.map.Y().Low(), frame.map.Y().High())) {
        const int y = frame.map.TickRow(label.value);
        if (y < top || y > area.bottomy)
            continue;
        const QString text = std::fabs(label.value) > kExponentLabels ? FormatTickExponent(label.value) : label.text;
        ticks.push_back({y, text});
        spans.push_back({y - 5, y - 5 + canvas.TextExtent(text).height()});
        values.push_back(label.value);
    }
    std::vector<bool> keep = SpacedTickLabels(spans, values);
    // A floating X axis over negative values gets its "0" beside it; labels that would come
    // too close to it give way.
    const bool zeroBeside = frame.isnegative && options.floatingXAxis && !frame.zeroOutsideView && frame.cornery != top;
    if (zeroBeside) {
        const int zeroTop = frame.cornery - 5;
        const int zeroBottom = zeroTop + canvas.TextExtent(QStringLiteral("0")).height();
        for (std::size_t i = 0; i < spans.size(); ++i)
            if (std::max(zeroTop - spans[i].end, spans[i].start - zeroBottom) < kTickLabelGap)
                keep[i] = false;
    }
    int widest = 0;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const int y = ticks[i].row;
        const QString& text = ticks[i].text;
        if (options.horzGridLines && y != frame.cornery) {
            canvas.MoveTo(area.cornerx, y);
            canvas.LineTo(area.cornerx + area.xwid, y);
        }
        const int w = canvas.TextExtent(text).width();
        widest = std::max(widest, w);
        if (keep[i] && !(text == QLatin1String("0") && options.floatingXAxis))
            canvas.TextOut(area.cornerx - w - 10, y - 5, text);
    }
    if (zeroBeside) {
        const QString zero = QStringLiteral("0");
        canvas.TextOut(area.cornerx - canvas.TextExtent(zero).width() - 10, frame.cornery - 5, zero);
    }
    return widest;
}

// Where the label of the X tick at column x starts: centred under it, except that the first
// label of a floating axis over negative values starts at its tick.
int XLabelLeft(const PlotOptions& options, const RenderFrame& frame, int x, int width, std::size_t i)
{
    if (i == 0 && frame.isnegative && options.floatingXAxis && !frame.zeroOutsideView)
        width = 0;
    return x - width / 2;
}

// The tick's grid line and tick pixel, and its label starting at `left` unless it is empty.
void DrawXTick(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, int x, const QString& text, int left)
{
    const PlotOptions& options = model.Options();
    const PlotArea& area = frame.map.Area();
    if (options.vertGridLines && x != area.cornerx) {
        UseGridPen(canvas, kVerticalGridColor);
        canvas.MoveTo(x, area.bottomy);
        canvas.LineTo(x, area.bottomy - area.ywid);
    }
    canvas.SetPixel(x, frame.cornery + 1, options.axisColor);
    if (options.lineWidth > 1)
        canvas.SetPixel(x, frame.cornery + 2, options.axisColor);
    UseTickFont(canvas, options);
    if (!text.isEmpty())
        canvas.TextOut(left, frame.cornery + 4, text);
}

// A floating X axis lies among the series: its texts go on top of them, drawn last.
bool Floats(const RenderFrame& frame)
{
    return frame.cornery != frame.map.Area().bottomy;
}

enum class XTickPart { whole, marks, labels };

// The X ticks at their columns, with as many of their labels as keep apart; or only their
// grid lines and tick pixels, or only their labels.
void DrawXTickRow(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, const std::vector<int>& columns,
                  const std::vector<QString>& texts, const std::vector<double>& values, XTickPart part)
{
    const PlotOptions& options = model.Options();
    UseTickFont(canvas, options);
    std::vector<TickSpan> spans;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const int w = canvas.TextExtent(texts[i]).width();
        const int left = XLabelLeft(options, frame, columns[i], w, i);
        spans.push_back({left, left + w});
    }
    const std::vector<bool> keep = SpacedTickLabels(spans, values);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const QString text = keep[i] && part != XTickPart::marks ? texts[i] : QString();
        if (part == XTickPart::labels) {
            if (!text.isEmpty())
                canvas.TextOut(spans[i].start, frame.cornery + 4, text);
        } else {
            DrawXTick(canvas, model, frame, columns[i], text, spans[i].start);
        }
    }
}

// Round values along a numeric axis, nine whole days along a date axis.
void DrawXTicks(Canvas& canvas, const PlotModel& model, const RenderFrame& frame, XTickPart part)
{
    const PlotOptions& options = model.Options();
    const PlotArea& area = frame.map.Area();
    // Tick labels stand on the background like every other text of the graph.
    canvas.Brush().SetColor(options.backgroundColor);
    const AxisScale& x = frame.map.X();
    std::vector<int> columns;
    std::vector<QString> texts;
    std::vector<double> values;
    if (!model.AllSeriesInfo(1).isdates) {
        for (const TickLabel& label : TickLabels(options.decimalPlaces, x.Low(), x.High())) {
            columns.push_back(frame.map.TickColumn(label.value));
            texts.push_back(label.text);
            values.push_back(label.value);
        }
        DrawXTickRow(canvas, model, frame, columns, texts, values, part);
        return;
    }
    const QString format = CompactDateFormat();
    const int step = area.xwid / 8;
    for (int k = 0; k <= 8; ++k) {
        const double day = k == 0 ? x.Low() : x.Low() + k / 8.0 * x.Extent();
        int column = area.cornerx + k * step;
        if (frame.graphtype == kBarGraph)
            column = PixelRound(k * step + step / 2.0 + area.cornerx);
        else if (frame.graphtype == kStackedGraph)
            column = PixelRound(k * step + step / 2.0 + area.cornerx - step / 10.0);
        columns.push_back(column);
        texts.push_back(FormatCompactDate(day, format));
    }
    DrawXTickRow(canvas, model, frame, columns, texts, {}, part);
}

} // namespace

void DrawAxes(Canvas& canvas, const PlotModel& model, const RenderFrame& frame)
{
    const PlotArea& area = frame.map.Area();
    canvas.Pen().SetColor(model.Options().axisColor);
    canvas.Pen().SetStyle(kSolidPen);
    canvas.MoveTo(area.cornerx, frame.cornery);
    canvas.LineTo(area.cornerx + area.xwid, frame.cornery);
    if (!Floats(frame))
        DrawXLabel(canvas, model, frame);
    canvas.MoveTo(area.cornerx, area.bottomy);
    canvas.LineTo(area.cornerx, area.bottomy - area.ywid);
    const int widest = DrawYTicks(canvas, model, frame);
    DrawYLabel(canvas, model, frame, widest);
}

void DrawXTicks(Canvas& canvas, const PlotModel& model, const RenderFrame& frame)
{
    DrawXTicks(canvas, model, frame, Floats(frame) ? XTickPart::marks : XTickPart::whole);
}

void DrawFloatingAxisTexts(Canvas& canvas, const PlotModel& model, const RenderFrame& frame)
{
    if (!Floats(frame))
        return;
    DrawXTicks(canvas, model, frame, XTickPart::labels);
    DrawXLabel(canvas, model, frame);
}

} // namespace plotwell
