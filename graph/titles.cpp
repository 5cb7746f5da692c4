#include "graph/titles.h"

#include "graph/canvas.h"
#include "graph/plot_model.h"
#include "graph/render_frame.h"

#include <algorithm>

namespace plotwell {

void DrawTitle(TCanvas& canvas, const PlotModel& model, Tgraphtype graphtype, int surfaceWidth)
{
    if (graphtype == gtpie)
        return;
    QString text = model.Title();
    if (text.isEmpty() && model.NumberOfSeries() == 1)
        text = model.GetSeriesName(1);
    if (text.isEmpty())
        return;
    TFont& font = canvas.Font();
    font.SetName(QString::fromLatin1(kGraphFace));
    font.SetSize(16);
    font.SetColor(model.Options().TitleColor);
    canvas.TextOut((surfaceWidth - canvas.TextExtent(text).width()) / 2, 20, text);
}

void DrawXLabel(TCanvas& canvas, const PlotModel& model, const RenderFrame& frame)
{
    const PlotArea& area = frame.map.Area();
    TFont& font = canvas.Font();
    font.SetName(QString::fromLatin1(kGraphFace));
    font.SetColor(model.Options().AxisColor);
    font.SetHeight(14);
    const QString& label = model.Options().XLabel;
    canvas.TextOut(area.cornerx + area.xwid / 2 - canvas.TextExtent(label).width() / 2, frame.cornery + 20, label);
}

void DrawYLabel(TCanvas& canvas, const PlotModel& model, const RenderFrame& frame, int widestTickLabel)
{
    const PlotArea& area = frame.map.Area();
    const QString& label = model.Options().YLabel;
    const int w = canvas.TextExtent(label).width();
    // On a narrow surface the label would start left of the surface and lose the tops of its
    // letters: it goes no farther left than the blank part of its cell above them, so that its
    // cell keeps off the tick labels as long as it can.
    const int left = std::max(-canvas.TextBlankTop(label), area.cornerx - (widestTickLabel + 10) - 20);
    canvas.TextOutAngle(left, area.bottomy - area.ywid / 2 + w / 2, 90, label);
}

} // namespace plotwell
