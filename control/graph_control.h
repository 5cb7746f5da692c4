#pragma once
// GraphControl: the graph control. A bordered panel with the plotting surface on its left and the
// options panel along its right edge; it shows a PlotModel (owned here) and turns the user's
// clicks into changes of that model. The graph is drawn into a picture when something changed,
// at most once per event-loop turn; painting only shows the picture. A drawing too slow for one
// frame is made on a worker thread while the previous picture stays on the surface.

#include "control/background_drawing.h"
#include "control/background_load.h"
#include "core/color.h"
#include "graph/draw/canvas.h"
#include "graph/draw/drawing_result.h"
#include "graph/data/plot_model.h"
#include "graph/load/load_options.h"
#include "graph/data/plot_view.h"
#include "graph/load/point_parser.h"
#include "graph/picture/picture_file.h"
#include "control/pointer_readout.h"

#include <QFrame>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QMenu;
class QPrinter;

namespace plotwell {

class MessageSink;
class PlotSurface;
class ViewNavigator;
struct OptionsPanel;

class GraphControl : public QFrame
{
    Q_OBJECT

public:
    using NotifyEvent = std::function<void(QObject* sender)>;
    // What the Open dialog chose: the file (empty when cancelled) and the layout of the filter
    // it was chosen under.
    struct OpenChoice
    {
        OpenChoice(QString file = {}, DataLayout fileLayout = DataLayout::ByName)
            : path(std::move(file)), layout(fileLayout)
        {
        }
        QString path;
        DataLayout layout;
    };
    // Asks the user for a data file to open, starting in `folder`.
    using OpenFileDialog = std::function<OpenChoice(QWidget* parent, const QString& folder)>;
    // Asks for the name of a picture to save, proposing `proposed`; `filter` is the chosen
    // filter of SavePictureFilters() on return. Empty when cancelled.
    using SaveFileDialog = std::function<QString(QWidget* parent, const QString& proposed, QString& filter)>;
    // Lets the user set the printer up; false when cancelled.
    using PrintSetup = std::function<bool(QPrinter& printer, QWidget* parent)>;

    GraphControl(MessageSink& sink, QWidget* parent = nullptr);
    ~GraphControl() override;

    PlotModel& Model() { return model_; }
    const PlotModel& Model() const { return model_; }

    // --- Published properties -------------------------------------------------------------
    QString Title() const { return model_.Title(); }
    void SetTitle(const QString& value) { model_.SetTitle(value); }
    GraphKind GraphType() const { return model_.GraphType(); }
    void SetGraphType(GraphKind value) { model_.SetGraphType(value); }
    QString XLabel() const { return model_.Options().xLabel; }
    void SetXLabel(const QString& value) { model_.SetOption(&PlotOptions::xLabel, value); }
    QString YLabel() const { return model_.Options().yLabel; }
    void SetYLabel(const QString& value) { model_.SetOption(&PlotOptions::yLabel, value); }
    bool HorzGridLines() const { return model_.Options().horzGridLines; }
    void SetHorzGridLines(bool value) { model_.SetOption(&PlotOptions::horzGridLines, value); }
    bool VertGridLines() const { return model_.Options().vertGridLines; }
    void SetVertGridLines(bool value) { model_.SetOption(&PlotOptions::vertGridLines, value); }
    // Loads the file at once; a name that does not exist says "File not found:".
    QString FileName() const { return model_.FileName(); }
    void SetFileName(const QString& value);
    bool ShowPoints() const { return model_.Options().showPoints; }
    void SetShowPoints(bool value) { model_.SetOption(&PlotOptions::showPoints, value); }
    // False hides the Graph type box and the Mark points box; the surface widens at the next resize.
    bool ShowMenu() const { return showMenu_; }
    void SetShowMenu(bool value);
    // Held to 1..30, as the line width spin edit allows.
    int LineWidth() const { return model_.Options().lineWidth; }
    void SetLineWidth(int value);
    RgbColor BackgroundColor() const { return model_.Options().backgroundColor; }
    void SetBackgroundColor(RgbColor value) { model_.SetOption(&PlotOptions::backgroundColor, value); }
    RgbColor AxisColor() const { return model_.Options().axisColor; }
    void SetAxisColor(RgbColor value) { model_.SetOption(&PlotOptions::axisColor, value); }
    RgbColor GridColor() const { return model_.Options().gridColor; }
    void SetGridColor(RgbColor value) { model_.SetOption(&PlotOptions::gridColor, value); }
    RgbColor TitleColor() const { return model_.Options().titleColor; }
    void SetTitleColor(RgbColor value) { model_.SetOption(&PlotOptions::titleColor, value); }
    // Series1Color .. Series8Color, by series number n = 1..8.
    RgbColor SeriesColor(int n) const { return model_.Options().SeriesColorOf(n); }
    void SetSeriesColor(int n, RgbColor value) { model_.SetSeriesColor(n, value); }
    bool FloatingXAxis() const { return model_.Options().floatingXAxis; }
    void SetFloatingXAxis(bool value) { model_.SetOption(&PlotOptions::floatingXAxis, value); }
    bool ShowLegend() const { return model_.Options().showLegend; }
    void SetShowLegend(bool value) { model_.SetOption(&PlotOptions::showLegend, value); }
    // Leaves the Draw Area box as it is.
    bool DrawArea() const { return model_.Options().drawArea; }
    void SetDrawArea(bool value) { model_.SetOption(&PlotOptions::drawArea, value); }
    bool ShowOpenBtn() const { return showOpenBtn_; }
    void SetShowOpenBtn(bool value);
    // Raised with the control as sender at the end of each drawing that found data.
    void SetOnGraphDrawn(NotifyEvent handler) { onGraphDrawn_ = std::move(handler); }
    // Stored only; the next resize uses it.
    double ScaleAmount() const { return scaleAmount_; }
    void SetScaleAmount(double value) { scaleAmount_ = value; }

    qint64 NumberOfPoints() const { return model_.NumberOfPoints(); }
    qint64 NumberOfNonNullPoints() const { return model_.NumberOfNonNullPoints(); }
    int NumberOfSeries() const { return model_.NumberOfSeries(); }
    double MinValue() const { return model_.MinValue(); }
    double MaxValue() const { return model_.MaxValue(); }
    double Average() const { return model_.Average(); }
    double StandardDeviation() const { return model_.StandardDeviation(); }

    // --- Operations -------------------------------------------------------------------------
    bool AddSeries() { return model_.AddSeries(); }
    void ClearData() { model_.ClearData(); }
    QString GetSeriesName(int n) const { return model_.GetSeriesName(n); }
    void SetSeriesName(int n, const QString& name) { model_.SetSeriesName(n, name); }
    QString GetSeriesData(int n) const { return model_.GetSeriesData(n); }
    SeriesSummary GetSeriesSummary(int n) const { return model_.GetSeriesSummary(n); }
    bool AddSeriesFromString(const QString& s, bool displayerror) { return plotwell::AddSeriesFromString(model_, s, displayerror); }
    bool SeriesDisplay(int n) const { return model_.SeriesDisplay(n); }
    // Draws the graph now rather than at the end of the event-loop turn, on this thread: the
    // picture shows the model as it is on return (a drawing running on a worker is waited for
    // and left unshown).
    void DrawGraph();
    // The plotting surface's picture (the pointer readout included) onto the clipboard.
    void CopyToClipboard();
    // Printer set-up, then the picture across the page width; nothing when cancelled.
    void Print();
    // Save picture: asks for a file and writes the graph shown into it, as PNG (at the screen's
    // pixel ratio, the readout included), SVG or PDF (the same drawing at the surface's size);
    // nothing when cancelled or when the store is empty.
    void SavePicture();
    // The Open button: asks for a data file and loads it; nothing when cancelled.
    void Open();

    // --- Loading in the background ---------------------------------------------------------
    // Loads the file on a worker thread while the window stays alive: the result is put in
    // place in one step, with the messages and the drawing a FileName load gives. A load
    // still running is cancelled first. Setting FileName from code stays synchronous.
    // `layout` ByName reads .csv and .tsv files as columns and every other file as lines.
    // `view`: Keep holds the view over the load while it overlaps the new data (F5); Whole
    // shows the whole graph of another file.
    enum class ViewOnLoad { Whole, Keep };
    void LoadFile(const QString& path, DataLayout layout = DataLayout::ByName, ViewOnLoad view = ViewOnLoad::Whole);
    // The layout the loaded file was asked for, for loading it again.
    DataLayout FileLayout() const { return fileLayout_; }
    // Loads the loaded file again in the background because it changed on disk: the graph
    // type, title, Display Series boxes and view stay; a load that fails keeps the graph and
    // gives its message through reloadFailed instead of the sink.
    void ReloadChangedFile();
    bool Loading() const { return load_ != nullptr; }
    // Cancelled loads whose workers have not stopped yet.
    int LoadsStopping() const { return static_cast<int>(stopping_.size()); }
    int LoadPercent() const { return load_ ? load_->Percent() : 0; }
    // Stops a running load; the graph, its file name, title and panel stay as they were.
    void CancelLoad();
    // How background loads read; tests replace it.
    void SetLoadFunction(BackgroundLoad::LoadFunction load) { loadFunction_ = std::move(load); }
    // The plotting surface's picture as the screen shows it.
    QImage SurfaceImage() const { return canvas_->Image(); }

    // --- Drawing off the interface thread ---------------------------------------------------
    // Where redraws are made. Auto: on the interface thread when the last comparable drawing
    // (same size or smaller, same series and drawing options) took less than a frame, or the
    // store is small; else on a worker thread, one at a time: the surface keeps the previous
    // picture until the new one is done, and changes made meanwhile end in one drawing of the
    // latest state after it. DrawGraph() always draws on the interface thread.
    enum class DrawingThread { Auto, Interface, Worker };
    DrawingThread DrawingThreadChoice() const { return drawingThread_; }
    void SetDrawingThread(DrawingThread where) { drawingThread_ = where; }
    // A drawing runs on a worker thread.
    bool DrawingInBackground() const { return background_ != nullptr; }
    // How drawings are made; tests replace it (a slow drawing, say).
    void SetDrawFunction(BackgroundDrawing::DrawFunction draw) { drawFunction_ = std::move(draw); }
    // The surface's context menu (right click, or the Menu key and Shift+F10 while the surface
    // has the focus): the control's own items, then those a host adds at its end.
    QMenu* ContextMenu() const { return contextMenu_; }
    void AddContextMenuAction(QAction* action);
    // What the drawing on the surface found (nothing before the first drawing).
    const DrawingResult& LastDrawing() const { return lastDrawing_; }

    // --- Zoom and pan ------------------------------------------------------------------------
    // The view the surface shows (wheel, drag, keys; see ViewNavigator); the whole graph by
    // default, again after another file is loaded.
    const PlotView& View() const;
    // A view from code, the one before it kept for Backspace.
    void SetView(const PlotView& view);
    // The whole graph ("Show all", Home).
    void ShowAll();

    // Where the Open button and Print ask the user; tests answer in their place.
    void SetOpenFileDialog(OpenFileDialog dialog) { openFileDialog_ = std::move(dialog); }
    void SetSaveFileDialog(SaveFileDialog dialog) { saveFileDialog_ = std::move(dialog); }
    void SetPrintSetup(PrintSetup setup) { printSetup_ = std::move(setup); }

    // The host's screen scale factor; the control itself never reads it.
    double scaleAmt = 1.0;

signals:
    void loadingChanged(bool loading);
    // A ReloadChangedFile failed; `message` is what the load said.
    void reloadFailed(const QString& message);
    // After every drawing of the surface, also of an empty store (onGraphDrawn is not raised then).
    void drawn();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void WireOptions();
    void ShowChange(PlotModel::Change what);
    void ShowOptions();
    void ShowGraphType();
    void ShowSeriesBoxes();
    // `askedType` is the graph type the drawing was made for; the type drawn replaces the
    // model's only while the model still asks for that one.
    void ApplyDrawing(const DrawingResult& drawing, bool userAction, GraphKind askedType);
    void DescribeGraph();
    // One drawing at the end of this event-loop turn, however many changes come before it.
    void ScheduleRedraw();
    void RedrawNow();
    // What makes one drawing comparable with another in time.
    struct DrawingCostKey
    {
        quint64 series = 0;
        GraphKind graphType = kLineGraph;
        int lineWidth = 0;
        bool showPoints = false;
        bool drawArea = false;
        bool operator==(const DrawingCostKey&) const = default;
    };
    DrawingCostKey CostKey() const;
    struct DrawingCost
    {
        DrawingCostKey key;
        double pixels = 0;
        double milliseconds = 0;
    };
    void RememberCost(const DrawingCost& cost);
    double PicturePixels() const;
    bool DrawsInBackground() const;
    DrawRequest Request() const;
    void DrawHere();
    void StartBackgroundDrawing();
    void BackgroundDrawingFinished(BackgroundDrawing* drawing);
    // Waits for the background drawing and drops its picture; its user action carries over.
    void AbandonBackgroundDrawing();
    // Copy, Save and Print take the picture of the model as it is.
    void BringPictureUpToDate();
    void GraphTypeClicked();
    void SeriesBoxClicked(int n, bool checked);
    void LabelsClicked();
    void ShowReadout(QPoint pos);
    void BuildContextMenu();
    void ShowContextMenu(QPoint surfacePos);
    void StartLoad(const QString& path, DataLayout layout, bool changedFile, ViewOnLoad view);
    QByteArray VectorPictureShown(PictureFormat format) const;
    void LoadFinished(BackgroundLoad* load);
    // A reload of the changed file: true when it failed, and the graph stays as it is.
    bool KeepGraphOver(BackgroundLoad& load);
    // Trims the kept view to the data now loaded.
    void KeepViewOverData();
    void LetGoOfLoad();

    MessageSink& sink_;
    PlotModel model_;
    // The picture shown, and the one a background drawing is given next.
    std::unique_ptr<Canvas> canvas_;
    std::unique_ptr<Canvas> spareCanvas_;
    PointerReadout readout_;
    PlotSurface* paintBox_;
    std::unique_ptr<OptionsPanel> panel_;
    QMenu* contextMenu_ = nullptr;
    bool hostActionsAdded_ = false;
    // The menu's items that need a graph: Copy, Save picture..., Print...
    std::vector<QAction*> pictureActions_;
    ViewNavigator* navigator_ = nullptr;
    // The running load keeps the view (F5).
    bool loadKeepsView_ = false;
    bool keepingView_ = false;

    bool showMenu_ = true;
    bool showOpenBtn_ = true;
    double scaleAmount_ = 1.0;
    int menuIndent_ = 120;
    NotifyEvent onGraphDrawn_;
    OpenFileDialog openFileDialog_;
    SaveFileDialog saveFileDialog_;
    PrintSetup printSetup_;
    // Empty: the data file loader, in the layout asked for.
    BackgroundLoad::LoadFunction loadFunction_;
    std::unique_ptr<BackgroundLoad> load_;
    DataLayout loadLayout_ = DataLayout::ByName; // of load_
    bool loadIsReload_ = false;                  // load_ follows a change of the file
    DataLayout fileLayout_ = DataLayout::ByName;
    // Cancelled loads whose workers are still coming to a stop; the window does not wait for them.
    std::vector<std::unique_ptr<BackgroundLoad>> stopping_;

    bool redrawPending_ = false;
    bool pendingUserAction_ = false;

    DrawingThread drawingThread_ = DrawingThread::Auto;
    BackgroundDrawing::DrawFunction drawFunction_;
    std::unique_ptr<BackgroundDrawing> background_;
    bool backgroundUserAction_ = false;
    DrawingCostKey backgroundKey_;
    double backgroundPixels_ = 0;
    // A change came while the background drawing ran: one more drawing after it.
    bool redrawAfterBackground_ = false;
    // Counts the changes of the series and their boxes; the picture shows `shownSeries_`.
    quint64 seriesVersion_ = 0;
    quint64 shownSeries_ = 0;
    // The last drawings' times (each with its device pixels), one per key.
    std::vector<DrawingCost> costs_;
    DrawingResult lastDrawing_;
    // As the drawings left the panel; a drawing that displayed no series leaves it alone.
    PanelEffects panelEffects_;
};

} // namespace plotwell
