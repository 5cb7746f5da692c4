#include "control/pointer_readout.h"

#include "graph/draw/canvas.h"
#include "graph/data/date_reading.h"
#include "graph/data/plot_model.h"

#include <QLocale>

namespace plotwell {

namespace {

constexpr RgbColor kReadoutColor = 0x00808080;
constexpr int kReadoutPointSize = 9;
constexpr int kLeft = 12;
constexpr int kLine1FromBottom = 42;
constexpr int kLine2FromBottom = 26;

QString Fixed(double value, int decimals)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

} // namespace

std::optional<ReadoutText> ReadoutLines(const PlotModel& model, const PlotGeometry& r, QPoint pos)
{
    if (model.NumberOfSeries() == 0 || r.maxextentY == 0 || r.maxlimitY == 0 || r.xwid == 0 || r.ywid == 0)
        return std::nullopt;
    // The inverse of the drawing's mapping, continued linearly outside the plot area.
    const double x = static_cast<double>(pos.x() - r.cornerx) / r.xwid * r.maxextentX + r.minX;
    const double y = static_cast<double>(r.bottomy - pos.y()) / r.ywid * r.maxextentY + r.minY;
    const int decimals = model.Options().decimalPlaces;
    ReadoutText lines;
    lines.line1 = model.AllSeriesInfo(1).isdates ? FormatShortDate(x) : QStringLiteral("x: ") + Fixed(x, decimals);
    lines.line2 = QStringLiteral("y: ") + Fixed(y, decimals);
    return lines;
}

QRect PointerReadout::Show(const PlotModel& model, const PlotGeometry& geometry, Canvas& canvas, QPoint pos,
                            int controlHeight)
{
    const std::optional<ReadoutText> lines = ReadoutLines(model, geometry, pos);
    if (!lines)
        return QRect();
    canvas.Font().SetColor(kReadoutColor);
    canvas.Font().SetSize(kReadoutPointSize);
    canvas.Brush().SetColor(model.Options().backgroundColor);
    QRect changed = shown_;
    if (!shown_.isEmpty())
        canvas.FillRect(shown_);
    const QPoint top1(kLeft, controlHeight - kLine1FromBottom);
    const QPoint top2(kLeft, controlHeight - kLine2FromBottom);
    canvas.TextOut(top1.x(), top1.y(), lines->line1);
    canvas.TextOut(top2.x(), top2.y(), lines->line2);
    shown_ = QRect(top1, canvas.TextExtent(lines->line1)) | QRect(top2, canvas.TextExtent(lines->line2));
    return changed | shown_;
}

} // namespace plotwell
