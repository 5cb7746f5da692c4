#include "control/graph_control.h"

#include "control/graph_labels_dialog.h"
#include "control/graph_output.h"
#include "control/options_panel.h"
#include "control/plot_surface.h"
#include "core/message_sink.h"
#include "core/rounding.h"
#include "dialogs/anchors.h"
#include "graph/load/data_file_loader.h"
#include "graph/draw/pie_chart.h"
#include "graph/draw/pointer_shape.h"
#include "graph/draw/renderer.h"
#include "graph/data/graph_types.h"
#include "dialogs/plain_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace plotwell {

namespace {

constexpr int kMenuIndent = 120;

// The hourglass over the whole application while a drawing runs.
class TApplicationPointer : public TPointerShape
{
public:
    void SetCursor(TCursor cursor) override
    {
        if (cursor == crHourGlass)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
};

// "*" and not "*.*": on this platform files without a dot (sales, data) are data files too.
const QString kAnyFileFilter = QStringLiteral("Any file (*)");

QString defaultOpenFileDialog(QWidget* parent, const QString& folder)
{
    return QFileDialog::getOpenFileName(parent, QString(), folder, kAnyFileFilter);
}

bool defaultPrintSetup(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

TPlotwell::TPlotwell(TMessageSink& sink, QWidget* parent)
    : QFrame(parent), sink_(sink), model_(sink), openFileDialog_(defaultOpenFileDialog),
      printSetup_(defaultPrintSetup)
{
    setObjectName(QStringLiteral("Plotwell"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setGeometry(20, 20, 400, 250);
    setMinimumSize(400, 300);

    PaintBox = new TPlotSurface(canvas_, this);
    PaintBox->setGeometry(1, 1, width() - static_cast<int>(Round(kMenuIndent * FScaleAmount)),
                          height() - static_cast<int>(Round(20 * FScaleAmount)));
    PaintBox->SetBackground(ToQColor(BackgroundColor()));

    panel_ = std::make_unique<TOptionsPanel>(this);
    panel_->linerb->setChecked(true);
    ShowOptions();
    WireOptions();
    connect(&model_, &PlotModel::changed, this, &TPlotwell::ShowChange);
    DescribeGraph();
}

// A load still running is cancelled (and its worker waited for) with the control.
TPlotwell::~TPlotwell() = default;

void TPlotwell::WireOptions()
{
    TOptionsPanel& p = *panel_;
    for (QRadioButton* rb : p.graphTypeButtons)
        connect(rb, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                GraphTypeClicked();
        });
    connect(p.smoothingSpinEdit, &QSpinBox::valueChanged, this,
            [this](int value) { model_.SetOption(&PlotOptions::smoothing, value); });
    const auto gridClicked = [this] {
        model_.SetOption(&PlotOptions::HorzGridLines, panel_->HorzGridlinesCheckbox->isChecked());
        model_.SetOption(&PlotOptions::VertGridLines, panel_->VertGridlinesCheckbox->isChecked());
    };
    connect(p.HorzGridlinesCheckbox, &QCheckBox::toggled, this, gridClicked);
    connect(p.VertGridlinesCheckbox, &QCheckBox::toggled, this, gridClicked);
    connect(p.PointsCheckbox, &QCheckBox::toggled, this, [this](bool on) { SetShowPoints(on); });
    connect(p.DrawAreaCheckbox, &QCheckBox::toggled, this, [this](bool on) { SetDrawArea(on); });
    connect(p.LineWidthSpinEdit, &QSpinBox::valueChanged, this, [this](int value) { SetLineWidth(value); });
    connect(p.OpenBtn, &QPushButton::clicked, this, &TPlotwell::Open);
    connect(p.LabelsBtn, &QPushButton::clicked, this, &TPlotwell::LabelsClicked);
    connect(p.CopyBtn, &QPushButton::clicked, this, &TPlotwell::CopyToClipboard);
    connect(p.PrintBtn, &QPushButton::clicked, this, &TPlotwell::Print);
    for (int n = 1; n <= maxseries; ++n)
        connect(p.displayseriesboxes[static_cast<std::size_t>(n - 1)], &QCheckBox::toggled, this,
                [this, n](bool checked) { SeriesBoxClicked(n, checked); });
    connect(PaintBox, &TPlotSurface::pointerMoved, this, &TPlotwell::ShowReadout);
    connect(PaintBox, &TPlotSurface::pictureOutdated, this, &TPlotwell::ScheduleRedraw);
}

// --- Model to widgets ---------------------------------------------------------------------

void TPlotwell::ShowChange(PlotModel::Change what)
{
    switch (what) {
    case PlotModel::Change::Options:
        ShowOptions();
        break;
    case PlotModel::Change::GraphType:
        ShowGraphType();
        DescribeGraph();
        // The picture already shows this type when the drawing itself chose it.
        if (model_.GraphType() == lastDrawing_.graphType && lastDrawing_.foundData)
            return;
        break;
    case PlotModel::Change::Series:
    case PlotModel::Change::SeriesBoxes:
        ShowSeriesBoxes();
        DescribeGraph();
        break;
    case PlotModel::Change::Title:
        DescribeGraph();
        break;
    }
    ScheduleRedraw();
}

void TPlotwell::ShowOptions()
{
    const PlotOptions& o = model_.Options();
    TOptionsPanel& p = *panel_;
    const QSignalBlocker b1(p.PointsCheckbox), b2(p.HorzGridlinesCheckbox), b3(p.VertGridlinesCheckbox),
        b4(p.LineWidthSpinEdit), b5(p.smoothingSpinEdit);
    p.PointsCheckbox->setChecked(o.ShowPoints);
    p.HorzGridlinesCheckbox->setChecked(o.HorzGridLines);
    p.VertGridlinesCheckbox->setChecked(o.VertGridLines);
    p.LineWidthSpinEdit->setValue(o.LineWidth);
    p.smoothingSpinEdit->setValue(o.smoothing);
    PaintBox->SetBackground(ToQColor(o.BackgroundColor));
}

void TPlotwell::ShowGraphType()
{
    TOptionsPanel& p = *panel_;
    {
        std::vector<QSignalBlocker> blockers;
        for (QRadioButton* rb : p.graphTypeButtons)
            blockers.emplace_back(rb);
        p.GraphTypeButton(model_.GraphType())->setChecked(true);
    }
    p.smoothingSpinEdit->setEnabled(p.curverb->isChecked());
}

void TPlotwell::ShowSeriesBoxes()
{
    // A drawing of a lone series hides its box and the label: there is nothing to choose.
    const bool choosable = panelEffects_.displaySeriesShown;
    panel_->displayserieslabel->setVisible(model_.DisplaySeriesLabelVisible() && choosable);
    for (int n = 1; n <= maxseries; ++n) {
        const TSeriesBox& state = model_.SeriesBox(n);
        QCheckBox* box = panel_->displayseriesboxes[static_cast<std::size_t>(n - 1)];
        const QSignalBlocker blocker(box);
        box->setChecked(state.checked);
        // The hint carries the series name from the file: shown as plain text, never as markup.
        box->setToolTip(PlainTextHint(state.hint));
        box->setAccessibleName(state.hint);
        box->setVisible(state.visible && (n != 1 || choosable));
    }
}

// The drawing's findings, through the model's setters and the sink as a user's change would.
void TPlotwell::ApplyDrawing(const DrawingResult& drawing, bool userAction)
{
    lastDrawing_ = drawing;
    if (drawing.panel) {
        panelEffects_ = *drawing.panel;
        panel_->pierb->setEnabled(panelEffects_.pieEnabled);
        panel_->stackedbarrb->setEnabled(panelEffects_.stackedEnabled);
        panel_->DrawAreaCheckbox->setEnabled(panelEffects_.drawAreaEnabled);
    }
    model_.SetGraphType(drawing.graphType);
    ShowSeriesBoxes();
    if (drawing.foundData && FOnGraphDrawn)
        FOnGraphDrawn(this);
    // Only for the user's action: a box at every resize or uncovering of the window would
    // bury the user in them.
    emit drawn();
    if (drawing.pieNegative && userAction)
        sink_.ShowMessage(PieNegativeMessage());
}

// Tells a screen reader what the picture shows.
void TPlotwell::DescribeGraph()
{
    const int series = model_.NumberOfSeries();
    if (series == 0) {
        PaintBox->setAccessibleDescription(QStringLiteral("No data loaded"));
        return;
    }
    QString text = GraphTypeDescription(model_.GraphType()) + QStringLiteral(" of %1 series").arg(series);
    if (!model_.Title().isEmpty())
        text += QStringLiteral(": ") + model_.Title();
    PaintBox->setAccessibleDescription(text);
}

// --- Drawing ---------------------------------------------------------------------------------

void TPlotwell::ScheduleRedraw()
{
    if (redrawPending_)
        return;
    redrawPending_ = true;
    QMetaObject::invokeMethod(this, &TPlotwell::RedrawNow, Qt::QueuedConnection);
}

void TPlotwell::DrawGraph()
{
    RedrawNow();
}

void TPlotwell::RedrawNow()
{
    redrawPending_ = false;
    if (!isVisible())
        return; // drawn when shown
    const double ratio = PaintBox->devicePixelRatioF();
    if (canvas_.Width() != PaintBox->width() || canvas_.Height() != PaintBox->height() ||
        canvas_.DevicePixelRatio() != ratio)
        canvas_.SetSize(PaintBox->width(), PaintBox->height(), ratio);

    TApplicationPointer pointer;
    DrawRequest request;
    request.pointer = &pointer;
    request.controlClientHeight = height();
    const bool userAction = std::exchange(pendingUserAction_, false);
    const DrawingResult drawing = plotwell::DrawGraph(model_, canvas_, request);
    readout_.Forget();
    PaintBox->update();
    ApplyDrawing(drawing, userAction);
}

// --- Properties --------------------------------------------------------------------------------

void TPlotwell::SetFileName(const QString& value)
{
    // A load from code replaces one running in the background, as a second Open would.
    CancelLoad();
    pendingUserAction_ = true;
    LoadDataFile(model_, value);
}

void TPlotwell::SetShowMenu(bool value)
{
    FShowMenu = value;
    panel_->GraphTypeGroupBox->setVisible(value);
    panel_->PointsCheckbox->setVisible(value);
    menuindent = value ? kMenuIndent : 0;
}

void TPlotwell::SetLineWidth(int value)
{
    model_.SetOption(&PlotOptions::LineWidth, kLineWidthRange.Clamp(value));
}

void TPlotwell::SetShowOpenBtn(bool value)
{
    FShowOpenBtn = value;
    QPushButton* open = panel_->OpenBtn;
    open->setVisible(value);
    panel_->LabelsBtn->move(open->x() + open->width() + (value ? 10 : -16), panel_->LabelsBtn->y());
    TAnchors::SetAnchors(panel_->LabelsBtn, Qt::TopEdge | Qt::RightEdge);
}

// --- Events and handlers -----------------------------------------------------------------------

void TPlotwell::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    PaintBox->resize(std::max(0, width() - static_cast<int>(Round(menuindent * FScaleAmount))),
                     std::max(0, height() - static_cast<int>(Round(2 * FScaleAmount))));
    panel_->PlaceLineWidth();
    ScheduleRedraw();
}

void TPlotwell::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    ScheduleRedraw();
}

void TPlotwell::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        panel_->FitToFont();
}

void TPlotwell::GraphTypeClicked()
{
    if (const std::optional<Tgraphtype> type = panel_->CheckedGraphType()) {
        pendingUserAction_ = true;
        model_.SetGraphType(*type);
    }
    ShowGraphType();
}

void TPlotwell::SeriesBoxClicked(int n, bool checked)
{
    pendingUserAction_ = true;
    model_.SetSeriesBoxChecked(n, checked);
}

void TPlotwell::Open()
{
    const QString loaded = model_.FileName();
    const QString folder = loaded.isEmpty() ? QDir::currentPath() : QFileInfo(loaded).absolutePath();
    const QString path = openFileDialog_(this, folder);
    if (!path.isEmpty())
        LoadFile(path);
}

void TPlotwell::LoadFile(const QString& path)
{
    const bool wasLoading = Loading();
    LetGoOfLoad(); // a second request replaces the first
    load_ = std::make_unique<TBackgroundLoad>(path, loadFunction_);
    TBackgroundLoad* load = load_.get();
    connect(load, &TBackgroundLoad::finished, this, [this, load] { LoadFinished(load); });
    PaintBox->setCursor(Qt::WaitCursor);
    if (!wasLoading)
        emit loadingChanged(true);
}

void TPlotwell::CancelLoad()
{
    if (!load_)
        return;
    LetGoOfLoad();
    PaintBox->unsetCursor();
    emit loadingChanged(false);
}

// The running load is told to stop and kept until its worker has stopped, so that neither a
// cancel nor a new load waits for it.
void TPlotwell::LetGoOfLoad()
{
    if (!load_)
        return;
    load_->Cancel();
    stopping_.push_back(std::move(load_));
}

void TPlotwell::LoadFinished(TBackgroundLoad* finished)
{
    if (finished != load_.get()) {
        std::erase_if(stopping_, [finished](const auto& load) { return load.get() == finished; });
        return;
    }
    const std::unique_ptr<TBackgroundLoad> load = std::move(load_);
    PaintBox->unsetCursor();
    if (!load->Cancelled()) {
        if (load->TouchedStore()) {
            pendingUserAction_ = true;
            model_.TakeStoreFrom(load->Store());
        }
        for (const QString& message : load->Messages())
            sink_.ShowMessage(message);
    }
    emit loadingChanged(false);
}

void TPlotwell::LabelsClicked()
{
    TGraphLabelsDialog dialog(Title(), XLabel(), YLabel(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    SetTitle(dialog.Title());
    SetYLabel(dialog.YLabel());
    SetXLabel(dialog.XLabel());
}

void TPlotwell::ShowReadout(QPoint pos)
{
    const QRect changed = readout_.Show(model_, lastDrawing_.geometry, canvas_, pos, height());
    if (!changed.isEmpty())
        PaintBox->update(changed);
}

void TPlotwell::CopyToClipboard()
{
    CopyPictureToClipboard(canvas_.Image());
}

void TPlotwell::Print()
{
    QPrinter printer;
    if (!printSetup_(printer, this))
        return;
    QString error;
    if (PrintPicture(printer, canvas_.Image(), BackgroundColor(), &error))
        return;
    if (error.isEmpty())
        sink_.ShowMessage(QStringLiteral("The graph could not be printed."));
    else
        sink_.ShowMessage(QStringLiteral("The graph could not be printed to the file:\r\r") + printer.outputFileName() +
                          QStringLiteral("\r\r") + error);
}

} // namespace plotwell
