#include "graph/draw/pie_chart.h"

#include "core/number_format.h"
#include "core/rounding.h"
#include "graph/draw/canvas.h"
#include "graph/data/plot_model.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>

namespace plotwell {

namespace {

// More slices than this would not be readable.
constexpr std::size_t kMaxPiePoints = 50;

int RoundToInt(double v)
{
    return static_cast<int>(Round(v));
}

double Radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

// The title and, below it, the caption, centred above the circle.
void DrawHeading(Canvas& canvas, const PlotModel& model, int n, long double total, int r)
{
    const PlotOptions& options = model.Options();
    const QString caption = QStringLiteral("Series %1 (Total: %2)").arg(n).arg(PieTotalText(total));
    const int middle = canvas.Width() / 2;
    const int top = canvas.Height() / 2 - r;
    canvas.Brush().SetColor(options.backgroundColor);
    CanvasFont& font = canvas.Font();
    font.SetColor(options.titleColor);
    font.SetSize(16);
    const QString title = model.Title();
    if (!title.isEmpty()) {
        canvas.TextOut(middle - canvas.TextExtent(title).width() / 2, top - 80, title);
        font.SetSize(10);
    }
    canvas.TextOut(middle - canvas.TextExtent(caption).width() / 2, top - 40, caption);
}

} // namespace

QString PieNegativeMessage()
{
    return QStringLiteral("Cannot draw a pie graph when some of the data is negative.");
}

RgbColor PieColor(int j)
{
    if (j % 8 == 0)
        return 0x00BD814F;
    if (j % 7 == 0)
        return 0x00C6AC4B;
    if (j % 6 == 0)
        return 0x0059BB9B;
    if (j % 5 == 0)
        return 0x00FF0000;
    if (j % 4 == 0)
        return 0x000000FF;
    if (j % 3 == 0)
        return 0x00008000;
    if (j % 2 == 0)
        return 0x00000080;
    return 0x00008080;
}

QString PieTotalText(long double total)
{
    QString text;
    if (std::fabs(total) <= std::numeric_limits<double>::max()) {
        text = QString::number(static_cast<double>(total), 'f', 10);
    } else {
        char digits[5000];
        std::snprintf(digits, sizeof digits, "%.10Lf", total);
        text = QString::fromLatin1(digits);
    }
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        return text;
    while (text.size() - point > 2 && text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return text;
}

void DrawPie(Canvas& canvas, const PlotModel& model, int n, int controlClientHeight)
{
    const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
    if (points.size() > kMaxPiePoints)
        return;
    double total = 0;
    long double wideTotal = 0; // holds what overflows a double: the slices of huge values
    for (const DataPoint& p : points)
        if (!IsNullPoint(p)) {
            total += p.y;
            wideTotal += p.y;
        }
    const bool overflowed = !std::isfinite(total);
    const auto share = [&](double y) {
        return overflowed ? static_cast<double>(static_cast<long double>(y) / wideTotal) : y / total;
    };
    const int cx = canvas.Width() / 2;
    const int cy = canvas.Height() / 2 + canvas.Height() / 16;
    const int r = RoundToInt(0.26 * controlClientHeight);
    DrawHeading(canvas, model, n, overflowed ? wideTotal : total, r);

    const RgbColor background = model.Options().backgroundColor;
    double start = 0;
    for (std::size_t j = 0; j < points.size(); ++j) {
        const double y = points[j].y;
        if (IsNullValue(y) || y == 0)
            continue;
        double end = std::min(share(y) * 360 + start, 360.0);
        if (j + 1 == points.size())
            end = 360; // no sliver left open by rounding
        canvas.Brush().SetColor(PieColor(static_cast<int>(j)));
        canvas.Pen().SetColor(background);
        DrawPieSlice(canvas, background, cx, cy, r, FormatGeneral(y), RoundToInt(start), RoundToInt(end));
        start = end;
    }
    canvas.Brush().SetColor(background);
}

void DrawPieSlice(Canvas& canvas, RgbColor background, int cx, int cy, int r, const QString& label, int s, int e)
{
    // A slice of no whole degree has no wedge: the same radial twice would fill the circle.
    if (s != e) {
        const auto radial = [&](int degrees) {
            const double a = Radians(degrees);
            return QPoint(cx + RoundToInt(std::cos(a) * r), cy - RoundToInt(std::sin(a) * r));
        };
        const QPoint from = radial(s);
        const QPoint to = radial(e);
        canvas.Pie(cx - r, cy - r, cx + r, cy + r, from.x(), from.y(), to.x(), to.y());
    }
    if (label.isEmpty())
        return;
    const double mid = (s + e) / 2.0;
    // Labels left of the centre stand further out, clear of the circle.
    const double lr = mid > 130 && mid < 230 ? r + r / 5.0 : r + r / 6.0;
    const RgbColor color = canvas.Brush().Color();
    canvas.Font().SetColor(color);
    canvas.Font().SetSize(10);
    canvas.Brush().SetColor(background);
    const QSize extent = canvas.TextExtent(label);
    const int lx = cx + RoundToInt(std::cos(Radians(mid)) * lr);
    const int ly = cy - RoundToInt(std::sin(Radians(mid)) * lr);
    canvas.TextOut(lx - extent.width() / 2, ly - extent.height() / 2, label);
}

} // namespace plotwell
