#include "control/graph_control.h"

#include "control/graph_labels_dialog.h"
#include "control/graph_output.h"
#include "control/options_panel.h"
#include "control/picture_saving.h"
#include "control/plot_surface.h"
#include "control/view_navigator.h"
#include "core/message_sink.h"
#include "core/number_format.h"
#include "core/rounding.h"
#include "dialogs/anchors.h"
#include "graph/load/data_file_loader.h"
#include "graph/draw/pie_chart.h"
#include "graph/draw/pointer_shape.h"
#include "graph/draw/renderer.h"
#include "graph/data/date_reading.h"
#include "graph/data/graph_types.h"
#include "graph/data/value_range.h"
#include "dialogs/plain_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>
#include <utility>
#include <vector>

namespace plotwell {

namespace {

constexpr int kMenuIndent = 120;
// A drawing expected to take longer than this is made on a worker thread: a frame at 60 Hz
// leaves about half of it to the drawing.
constexpr double kFrameMilliseconds = 8.0;
// Stores smaller than this are always drawn on the interface thread: their drawings are quick,
// and drawings come at once where code and tests expect them.
constexpr std::size_t kBackgroundPoints = 100000;
// Drawing costs remembered, each for other drawing options of the same series.
constexpr std::size_t kCostsKept = 8;

// The hourglass over the whole application while a drawing runs.
class ApplicationPointer : public PointerShape
{
public:
    void SetCursor(CursorShape cursor) override
    {
        if (cursor == kHourGlassCursor)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
};

// "*" and not "*.*": on this platform files without a dot (sales, data) are data files too.
const QString kAnyFileFilter = QStringLiteral("Any file (*)");
// Any file chosen under it is read as columns.
const QString kColumnFileFilter = QStringLiteral("Column files (*.csv *.tsv *)");

GraphControl::OpenChoice DefaultOpenFileDialog(QWidget* parent, const QString& folder)
{
    QString filter;
    const QString path = QFileDialog::getOpenFileName(parent, QString(), folder,
                                                      kAnyFileFilter + QStringLiteral(";;") + kColumnFileFilter, &filter);
    return {path, filter == kColumnFileFilter ? DataLayout::Columns : DataLayout::ByName};
}

QString DefaultSaveFileDialog(QWidget* parent, const QString& proposed, QString& filter)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save picture"), proposed,
                                        SavePictureFilters().join(QStringLiteral(";;")), &filter);
}

bool DefaultPrintSetup(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

GraphControl::GraphControl(MessageSink& sink, QWidget* parent)
    : QFrame(parent), sink_(sink), model_(sink), canvas_(std::make_unique<Canvas>()),
      openFileDialog_(DefaultOpenFileDialog), saveFileDialog_(DefaultSaveFileDialog), printSetup_(DefaultPrintSetup),
      drawFunction_([](const PlotModel& model, Canvas& canvas, const DrawRequest& request) {
          return plotwell::DrawGraph(model, canvas, request);
      })
{
    setObjectName(QStringLiteral("Plotwell"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setGeometry(20, 20, 400, 250);
    setMinimumSize(400, 300);

    paintBox_ = new PlotSurface(*canvas_, this);
    paintBox_->setGeometry(1, 1, width() - static_cast<int>(Round(kMenuIndent * scaleAmount_)),
                          height() - static_cast<int>(Round(20 * scaleAmount_)));
    paintBox_->SetBackground(ToQColor(BackgroundColor()));

    panel_ = std::make_unique<OptionsPanel>(this);
    panel_->linerb->setChecked(true);
    ShowOptions();
    WireOptions();
    connect(&model_, &PlotModel::changed, this, &GraphControl::ShowChange);
    navigator_ = new ViewNavigator(*paintBox_, model_, [this]() -> const DrawingResult& { return lastDrawing_; },
                                   [this] { ScheduleRedraw(); });
    BuildContextMenu();
    DescribeGraph();
}

// A load still running is cancelled (and its worker waited for) with the control; a drawing
// still running is waited for.
GraphControl::~GraphControl()
{
    background_.reset();
}

void GraphControl::WireOptions()
{
    OptionsPanel& p = *panel_;
    for (QRadioButton* rb : p.graphTypeButtons)
        connect(rb, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                GraphTypeClicked();
        });
    connect(p.smoothingSpinEdit, &QSpinBox::valueChanged, this,
            [this](int value) { model_.SetOption(&PlotOptions::smoothing, value); });
    const auto gridClicked = [this] {
        model_.SetOption(&PlotOptions::horzGridLines, panel_->horzGridlinesCheckbox->isChecked());
        model_.SetOption(&PlotOptions::vertGridLines, panel_->vertGridlinesCheckbox->isChecked());
    };
    connect(p.horzGridlinesCheckbox, &QCheckBox::toggled, this, gridClicked);
    connect(p.vertGridlinesCheckbox, &QCheckBox::toggled, this, gridClicked);
    connect(p.pointsCheckbox, &QCheckBox::toggled, this, [this](bool on) { SetShowPoints(on); });
    connect(p.drawAreaCheckbox, &QCheckBox::toggled, this, [this](bool on) { SetDrawArea(on); });
    connect(p.lineWidthSpinEdit, &QSpinBox::valueChanged, this, [this](int value) { SetLineWidth(value); });
    connect(p.openBtn, &QPushButton::clicked, this, &GraphControl::Open);
    connect(p.labelsBtn, &QPushButton::clicked, this, &GraphControl::LabelsClicked);
    connect(p.copyBtn, &QPushButton::clicked, this, &GraphControl::CopyToClipboard);
    connect(p.printBtn, &QPushButton::clicked, this, &GraphControl::Print);
    for (int n = 1; n <= maxseries; ++n)
        connect(p.displayseriesboxes[static_cast<std::size_t>(n - 1)], &QCheckBox::toggled, this,
                [this, n](bool checked) { SeriesBoxClicked(n, checked); });
    connect(paintBox_, &PlotSurface::pointerMoved, this, &GraphControl::ShowReadout);
    connect(paintBox_, &PlotSurface::pictureOutdated, this, &GraphControl::ScheduleRedraw);
}

// --- Model to widgets ---------------------------------------------------------------------

void GraphControl::ShowChange(PlotModel::Change what)
{
    if (what == PlotModel::Change::Series || what == PlotModel::Change::SeriesBoxes)
        ++seriesVersion_;
    switch (what) {
    case PlotModel::Change::Options:
        ShowOptions();
        break;
    case PlotModel::Change::GraphType:
        ShowGraphType();
        DescribeGraph();
        // The picture already shows this type when the drawing itself chose it.
        if (model_.GraphType() == lastDrawing_.graphType && lastDrawing_.foundData && !background_)
            return;
        break;
    case PlotModel::Change::Series:
        // A reload that keeps the view trims it once the store, with its drawing index, is in place.
        if (!keepingView_)
            navigator_->Reset();
        [[fallthrough]];
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

void GraphControl::ShowOptions()
{
    const PlotOptions& o = model_.Options();
    OptionsPanel& p = *panel_;
    const QSignalBlocker b1(p.pointsCheckbox), b2(p.horzGridlinesCheckbox), b3(p.vertGridlinesCheckbox),
        b4(p.lineWidthSpinEdit), b5(p.smoothingSpinEdit);
    p.pointsCheckbox->setChecked(o.showPoints);
    p.horzGridlinesCheckbox->setChecked(o.horzGridLines);
    p.vertGridlinesCheckbox->setChecked(o.vertGridLines);
    p.lineWidthSpinEdit->setValue(o.lineWidth);
    p.smoothingSpinEdit->setValue(o.smoothing);
    paintBox_->SetBackground(ToQColor(o.backgroundColor));
}

void GraphControl::ShowGraphType()
{
    OptionsPanel& p = *panel_;
    {
        std::vector<QSignalBlocker> blockers;
        for (QRadioButton* rb : p.graphTypeButtons)
            blockers.emplace_back(rb);
        p.GraphTypeButton(model_.GraphType())->setChecked(true);
    }
    p.smoothingSpinEdit->setEnabled(p.curverb->isChecked());
}

void GraphControl::ShowSeriesBoxes()
{
    // A drawing of a lone series hides its box and the label: there is nothing to choose.
    const bool choosable = panelEffects_.displaySeriesShown;
    panel_->displayserieslabel->setVisible(model_.DisplaySeriesLabelVisible() && choosable);
    for (int n = 1; n <= maxseries; ++n) {
        const SeriesBoxState& state = model_.SeriesBox(n);
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
void GraphControl::ApplyDrawing(const DrawingResult& drawing, bool userAction, GraphKind askedType)
{
    lastDrawing_ = drawing;
    for (QAction* action : pictureActions_)
        action->setEnabled(drawing.foundData);
    if (drawing.panel) {
        panelEffects_ = *drawing.panel;
        panel_->pierb->setEnabled(panelEffects_.pieEnabled);
        panel_->stackedbarrb->setEnabled(panelEffects_.stackedEnabled);
        panel_->drawAreaCheckbox->setEnabled(panelEffects_.drawAreaEnabled);
    }
    // A type the user chose while a background drawing ran stays chosen.
    if (model_.GraphType() == askedType)
        model_.SetGraphType(drawing.graphType);
    ShowSeriesBoxes();
    DescribeGraph();
    if (drawing.foundData && onGraphDrawn_)
        onGraphDrawn_(this);
    emit drawn();
    // Only for the user's action: a box at every resize or uncovering of the window would
    // bury the user in them.
    if (drawing.pieNegative && userAction)
        sink_.ShowMessage(PieNegativeMessage());
}

// Tells a screen reader what the picture shows.
void GraphControl::DescribeGraph()
{
    const int series = model_.NumberOfSeries();
    if (series == 0) {
        paintBox_->setAccessibleDescription(QStringLiteral("No data loaded"));
        return;
    }
    QString text = GraphTypeDescription(model_.GraphType()) + QStringLiteral(" of %1 series").arg(series);
    if (!model_.Title().isEmpty())
        text += QStringLiteral(": ") + model_.Title();
    if (const std::optional<ViewSpan>& x = lastDrawing_.view.x; x && lastDrawing_.foundData) {
        const bool dates = model_.AllSeriesInfo(1).isdates;
        const auto value = [dates](double v) { return dates ? FormatShortDate(v) : FormatGeneral(v); };
        text += QStringLiteral(", X from ") + value(x->low) + QStringLiteral(" to ") + value(x->high);
    }
    paintBox_->setAccessibleDescription(text);
}

// --- Drawing ---------------------------------------------------------------------------------

void GraphControl::ScheduleRedraw()
{
    if (redrawPending_)
        return;
    redrawPending_ = true;
    QMetaObject::invokeMethod(this, &GraphControl::RedrawNow, Qt::QueuedConnection);
}

void GraphControl::DrawGraph()
{
    AbandonBackgroundDrawing();
    redrawAfterBackground_ = false;
    redrawPending_ = false;
    if (isVisible())
        DrawHere();
}

void GraphControl::RedrawNow()
{
    redrawPending_ = false;
    if (!isVisible())
        return; // drawn when shown
    if (background_) {
        redrawAfterBackground_ = true;
        return;
    }
    if (DrawsInBackground())
        StartBackgroundDrawing();
    else
        DrawHere();
}

GraphControl::DrawingCostKey GraphControl::CostKey() const
{
    const PlotOptions& o = model_.Options();
    return {seriesVersion_, model_.GraphType(), o.lineWidth, o.showPoints, o.drawArea};
}

double GraphControl::PicturePixels() const
{
    const double ratio = paintBox_->devicePixelRatioF();
    return paintBox_->width() * ratio * paintBox_->height() * ratio;
}

bool GraphControl::DrawsInBackground() const
{
    if (drawingThread_ != DrawingThread::Auto)
        return drawingThread_ == DrawingThread::Worker;
    std::size_t points = 0;
    for (const PointList& series : model_.AllSeries())
        points += series.size();
    if (points < kBackgroundPoints)
        return false;
    // A drawing of other series or options, or one the size of which went up, may be slow
    // (a first drawing builds the drawing indexes): it goes to the worker.
    const DrawingCostKey key = CostKey();
    const auto cost = std::find_if(costs_.begin(), costs_.end(), [&key](const DrawingCost& c) { return c.key == key; });
    if (cost == costs_.end() || cost->pixels <= 0)
        return true;
    return cost->milliseconds * std::max(1.0, PicturePixels() / cost->pixels) >= kFrameMilliseconds;
}

void GraphControl::RememberCost(const DrawingCost& cost)
{
    // The costs of the series drawn now, for the options toggled back and forth.
    std::erase_if(costs_, [&cost](const DrawingCost& c) { return c.key == cost.key || c.key.series != cost.key.series; });
    if (costs_.size() >= kCostsKept)
        costs_.erase(costs_.begin());
    costs_.push_back(cost);
}

DrawRequest GraphControl::Request() const
{
    DrawRequest request;
    request.controlClientHeight = height();
    request.view = navigator_->View();
    return request;
}

void GraphControl::DrawHere()
{
    canvas_->EnsureSize(paintBox_->width(), paintBox_->height(), paintBox_->devicePixelRatioF());
    ApplicationPointer pointer;
    DrawRequest request = Request();
    request.pointer = &pointer;
    const bool userAction = std::exchange(pendingUserAction_, false);
    const GraphKind askedType = model_.GraphType();
    const DrawingCostKey key = CostKey();
    const auto start = std::chrono::steady_clock::now();
    const DrawingResult drawing = drawFunction_(model_, *canvas_, request);
    RememberCost({key, PicturePixels(),
                  std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count()});
    shownSeries_ = seriesVersion_;
    readout_.Forget();
    paintBox_->update();
    ApplyDrawing(drawing, userAction, askedType);
}

void GraphControl::StartBackgroundDrawing()
{
    std::unique_ptr<Canvas> canvas = spareCanvas_ ? std::move(spareCanvas_) : std::make_unique<Canvas>();
    const BackgroundDrawing::Size size{paintBox_->width(), paintBox_->height(), paintBox_->devicePixelRatioF()};
    backgroundUserAction_ = std::exchange(pendingUserAction_, false);
    backgroundKey_ = CostKey();
    backgroundPixels_ = PicturePixels();
    background_ = std::make_unique<BackgroundDrawing>(model_.Snapshot(), std::move(canvas), size, Request(), drawFunction_);
    BackgroundDrawing* drawing = background_.get();
    connect(drawing, &BackgroundDrawing::finished, this, [this, drawing] { BackgroundDrawingFinished(drawing); });
}

void GraphControl::BackgroundDrawingFinished(BackgroundDrawing* finished)
{
    if (finished != background_.get())
        return;
    const std::unique_ptr<BackgroundDrawing> drawing = std::move(background_);
    drawing->Wait();
    spareCanvas_ = std::exchange(canvas_, drawing->TakeCanvas());
    paintBox_->ShowCanvas(*canvas_);
    RememberCost({backgroundKey_, backgroundPixels_, drawing->Milliseconds()});
    shownSeries_ = backgroundKey_.series;
    readout_.Forget();
    ApplyDrawing(drawing->Result(), backgroundUserAction_, drawing->Model().GraphType());
    if (std::exchange(redrawAfterBackground_, false))
        ScheduleRedraw();
}

void GraphControl::AbandonBackgroundDrawing()
{
    if (!background_)
        return;
    const std::unique_ptr<BackgroundDrawing> drawing = std::move(background_);
    drawing->Wait();
    pendingUserAction_ = pendingUserAction_ || backgroundUserAction_;
    try {
        spareCanvas_ = drawing->TakeCanvas();
    } catch (...) {
        // The drawing that replaces it fails the same way, where its caller hears of it.
    }
}

void GraphControl::BringPictureUpToDate()
{
    if (background_ || redrawPending_ || redrawAfterBackground_)
        DrawGraph();
}

// --- Properties --------------------------------------------------------------------------------

void GraphControl::SetFileName(const QString& value)
{
    // A load from code replaces one running in the background, as a second Open would.
    CancelLoad();
    pendingUserAction_ = true;
    LoadDataFile(model_, value);
}

void GraphControl::SetShowMenu(bool value)
{
    showMenu_ = value;
    panel_->graphTypeGroupBox->setVisible(value);
    panel_->pointsCheckbox->setVisible(value);
    menuIndent_ = value ? kMenuIndent : 0;
}

void GraphControl::SetLineWidth(int value)
{
    model_.SetOption(&PlotOptions::lineWidth, kLineWidthRange.Clamp(value));
}

void GraphControl::SetShowOpenBtn(bool value)
{
    showOpenBtn_ = value;
    QPushButton* open = panel_->openBtn;
    open->setVisible(value);
    panel_->labelsBtn->move(open->x() + open->width() + (value ? 10 : -16), panel_->labelsBtn->y());
    AnchorLayout::SetAnchors(panel_->labelsBtn, Qt::TopEdge | Qt::RightEdge);
}

// --- Events and handlers -----------------------------------------------------------------------

void GraphControl::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    paintBox_->resize(std::max(0, width() - static_cast<int>(Round(menuIndent_ * scaleAmount_))),
                     std::max(0, height() - static_cast<int>(Round(2 * scaleAmount_))));
    panel_->PlaceLineWidth();
    ScheduleRedraw();
}

void GraphControl::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    ScheduleRedraw();
}

void GraphControl::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        panel_->FitToFont();
}

void GraphControl::GraphTypeClicked()
{
    if (const std::optional<GraphKind> type = panel_->CheckedGraphType()) {
        pendingUserAction_ = true;
        model_.SetGraphType(*type);
    }
    ShowGraphType();
}

void GraphControl::SeriesBoxClicked(int n, bool checked)
{
    pendingUserAction_ = true;
    model_.SetSeriesBoxChecked(n, checked);
}

void GraphControl::Open()
{
    const QString loaded = model_.FileName();
    const QString folder = loaded.isEmpty() ? QDir::currentPath() : QFileInfo(loaded).absolutePath();
    const OpenChoice choice = openFileDialog_(this, folder);
    if (!choice.path.isEmpty())
        LoadFile(choice.path, choice.layout);
}

void GraphControl::LoadFile(const QString& path, DataLayout layout, ViewOnLoad view)
{
    StartLoad(path, layout, false, view);
}

void GraphControl::ReloadChangedFile()
{
    if (!model_.FileName().isEmpty())
        StartLoad(model_.FileName(), fileLayout_, true, ViewOnLoad::Keep);
}

void GraphControl::StartLoad(const QString& path, DataLayout layout, bool changedFile, ViewOnLoad view)
{
    loadKeepsView_ = view == ViewOnLoad::Keep;
    const bool wasLoading = Loading();
    LetGoOfLoad(); // a second request replaces the first
    BackgroundLoad::LoadFunction read = loadFunction_;
    if (!read)
        read = [layout](PlotModel& store, const QString& file, LoadProgress& progress) {
            DataFileLoader loader(store, &progress);
            loader.SetOptions(LoadOptions{layout, XColumnRule::Auto});
            return loader.SetFileName(file);
        };
    load_ = std::make_unique<BackgroundLoad>(path, read);
    loadLayout_ = layout;
    loadIsReload_ = changedFile;
    BackgroundLoad* load = load_.get();
    connect(load, &BackgroundLoad::finished, this, [this, load] { LoadFinished(load); });
    paintBox_->setCursor(Qt::WaitCursor);
    if (!wasLoading)
        emit loadingChanged(true);
}

void GraphControl::CancelLoad()
{
    if (!load_)
        return;
    LetGoOfLoad();
    paintBox_->unsetCursor();
    emit loadingChanged(false);
}

// The running load is told to stop and kept until its worker has stopped, so that neither a
// cancel nor a new load waits for it.
void GraphControl::LetGoOfLoad()
{
    if (!load_)
        return;
    load_->Cancel();
    stopping_.push_back(std::move(load_));
}

void GraphControl::LoadFinished(BackgroundLoad* finished)
{
    if (finished != load_.get()) {
        std::erase_if(stopping_, [finished](const auto& load) { return load.get() == finished; });
        return;
    }
    const std::unique_ptr<BackgroundLoad> load = std::move(load_);
    paintBox_->unsetCursor();
    if (!load->Cancelled() && !(loadIsReload_ && KeepGraphOver(*load))) {
        if (load->TouchedStore()) {
            // A reload the file asked for is no action of the user's: it shows no box.
            pendingUserAction_ = !loadIsReload_;
            keepingView_ = loadKeepsView_;
            model_.TakeStoreFrom(load->Store());
            keepingView_ = false;
            if (loadKeepsView_)
                KeepViewOverData();
            fileLayout_ = loadLayout_;
        }
        for (const QString& message : load->Messages())
            sink_.ShowMessage(message);
    }
    loadIsReload_ = false;
    emit loadingChanged(false);
}

void GraphControl::KeepViewOverData()
{
    const ValueRange range = FindRange(model_, true);
    navigator_->KeepOver(range.anyPoint ? std::optional<ViewSpan>(ViewSpan{range.minX, range.maxX}) : std::nullopt);
}

bool GraphControl::KeepGraphOver(BackgroundLoad& load)
{
    PlotModel& store = load.Store();
    if (!load.TouchedStore() || !load.Messages().isEmpty() || store.NumberOfSeries() == 0) {
        emit reloadFailed(load.Messages().value(0, QStringLiteral("No points to plot")));
        return true;
    }
    // The store comes with the boxes, title and type of a fresh load; the user's stay.
    for (int n = 1; n <= store.NumberOfSeries(); ++n) {
        SeriesBoxState box = store.SeriesBox(n);
        box.checked = model_.SeriesBox(n).checked;
        store.SetSeriesBox(n, box);
    }
    store.SetTitle(model_.Title());
    store.SetGraphType(model_.GraphType());
    // The place for what else the user set on the graph (a zoomed view, say) to carry over.
    return false;
}

void GraphControl::LabelsClicked()
{
    GraphLabelsDialog dialog(Title(), XLabel(), YLabel(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    SetTitle(dialog.Title());
    SetYLabel(dialog.YLabel());
    SetXLabel(dialog.XLabel());
}

void GraphControl::ShowReadout(QPoint pos)
{
    // The readout reads the series the picture shows; a picture of other series is replaced soon.
    if (shownSeries_ != seriesVersion_)
        return;
    const QRect changed = readout_.Show(model_, lastDrawing_.geometry, *canvas_, pos, height());
    if (!changed.isEmpty())
        paintBox_->update(changed);
}

void GraphControl::BuildContextMenu()
{
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("GraphContextMenu"));
    QAction* copy = contextMenu_->addAction(QStringLiteral("&Copy"), this, &GraphControl::CopyToClipboard);
    copy->setObjectName(QStringLiteral("CopyAction"));
    copy->setShortcut(QKeySequence::Copy);
    // "&Save": "&Print..." already answers to P.
    QAction* save = contextMenu_->addAction(QStringLiteral("&Save picture..."), this, &GraphControl::SavePicture);
    save->setObjectName(QStringLiteral("SavePictureAction"));
    save->setShortcut(QKeySequence::Save);
    QAction* print = contextMenu_->addAction(QStringLiteral("&Print..."), this, &GraphControl::Print);
    print->setObjectName(QStringLiteral("PrintAction"));
    print->setShortcut(QKeySequence::Print);
    // The keys are the window's (the host's shortcuts); the menu only shows them.
    pictureActions_ = {copy, save, print};
    for (QAction* action : pictureActions_) {
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setEnabled(false);
    }
    QAction* all = contextMenu_->addAction(QStringLiteral("Show &all"), this, &GraphControl::ShowAll);
    all->setObjectName(QStringLiteral("ShowAllAction"));
    // The surface takes the focus on a click and by Tab, so the keys of the menu reach it.
    paintBox_->setFocusPolicy(Qt::StrongFocus);
    paintBox_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(paintBox_, &QWidget::customContextMenuRequested, this, &GraphControl::ShowContextMenu);
}

void GraphControl::AddContextMenuAction(QAction* action)
{
    // The host's items stand apart from the control's own.
    if (!hostActionsAdded_)
        contextMenu_->addSeparator();
    hostActionsAdded_ = true;
    contextMenu_->addAction(action);
}

void GraphControl::ShowContextMenu(QPoint surfacePos)
{
    contextMenu_->popup(paintBox_->mapToGlobal(surfacePos));
}

void GraphControl::CopyToClipboard()
{
    BringPictureUpToDate();
    CopyPictureToClipboard(canvas_->Image(), lastDrawing_.foundData ? VectorPictureShown(PictureFormat::Svg) : QByteArray());
}

// The drawing on the surface again, onto a vector device of the surface's size.
QByteArray GraphControl::VectorPictureShown(PictureFormat format) const
{
    DrawRequest request;
    request.controlClientHeight = height();
    request.view = navigator_->View();
    return DrawVectorPicture(model_, format, QSize(canvas_->Width(), canvas_->Height()), request).bytes;
}

void GraphControl::SavePicture()
{
    BringPictureUpToDate();
    if (!lastDrawing_.foundData)
        return;
    QString filter = SavePictureFilters().constFirst();
    const QString path = saveFileDialog_(this, ProposedPicturePath(model_.FileName(), QDir::currentPath()), filter);
    if (path.isEmpty())
        return;
    if (IsSameFile(path, model_.FileName())) {
        sink_.ShowMessage(QStringLiteral("The picture was not saved: it would replace the data file:\r\r") + path);
        return;
    }
    const PictureFormat format = ChosenPictureFormat(path, filter);
    const QByteArray bytes = format == PictureFormat::Png ? PngBytes(canvas_->Image()) : VectorPictureShown(format);
    QString error = QStringLiteral("not enough memory for the picture");
    if (bytes.isEmpty() || !WriteWholeFile(bytes, path, &error))
        sink_.ShowMessage(QStringLiteral("The picture could not be saved to the file:\r\r") + path + QStringLiteral("\r\r") +
                          error);
}

void GraphControl::Print()
{
    QPrinter printer;
    if (!printSetup_(printer, this))
        return;
    BringPictureUpToDate();
    QString error;
    if (PrintPicture(printer, canvas_->Image(), BackgroundColor(), &error))
        return;
    if (error.isEmpty())
        sink_.ShowMessage(QStringLiteral("The graph could not be printed."));
    else
        sink_.ShowMessage(QStringLiteral("The graph could not be printed to the file:\r\r") + printer.outputFileName() +
                          QStringLiteral("\r\r") + error);
}


const PlotView& GraphControl::View() const
{
    return navigator_->View();
}

void GraphControl::SetView(const PlotView& view)
{
    navigator_->SetView(view);
}

void GraphControl::ShowAll()
{
    navigator_->ShowAll();
}

} // namespace plotwell
