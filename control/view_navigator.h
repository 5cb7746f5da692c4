#pragma once
// ViewNavigator: zoom and pan on the plotting surface. It watches the surface's wheel, mouse
// and key events, turns them into views (view_steps.h) and keeps the views gone back to
// (Backspace). The control draws the view it holds.

#include "control/view_steps.h"
#include "graph/data/plot_view.h"
#include "graph/draw/drawing_result.h"

#include <QObject>
#include <QPoint>

#include <functional>
#include <optional>
#include <vector>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace plotwell {

class PlotModel;
class PlotSurface;

class ViewNavigator : public QObject
{
    Q_OBJECT

public:
    // `drawing` gives the last drawing of the surface, `changed` is called after each change
    // of the view.
    ViewNavigator(PlotSurface& surface, const PlotModel& model, std::function<const DrawingResult&()> drawing,
                  std::function<void()> changed);

    const PlotView& View() const { return view_; }
    // A new view, the one before it kept for Backspace; nothing when it is the same.
    void SetView(const PlotView& view);
    // The whole graph, the view before it kept (Home, a double-click, "Show all").
    void ShowAll();
    // Back to the view before; nothing without one.
    void Back();
    // The whole graph and no history: another file.
    void Reset();
    // After a reload: the view while it overlaps the data's X range, else the whole graph.
    void KeepOver(const std::optional<ViewSpan>& wholeX);

    // Wheel steps of 1.25 times per notch; a drag shorter than this is a click.
    static constexpr double kWheelFactor = 1.25;
    static constexpr int kClickDistance = 4;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Key(QKeyEvent* event);
    void Wheel(QWheelEvent* event);
    void Press(QMouseEvent* event);
    void Move(QMouseEvent* event);
    void Release(QMouseEvent* event);
    // A step's view, as one change of the history unless `merge` (steps of one gesture).
    void Step(const std::optional<PlotView>& next, bool merge = false);
    std::optional<ViewLimits> Limits() const;
    PlotGeometry Current() const;

    PlotSurface& surface_;
    const PlotModel& model_;
    std::function<const DrawingResult&()> drawing_;
    std::function<void()> changed_;
    PlotView view_;
    std::vector<PlotView> history_;
    bool wheeling_ = false; // the last change was a wheel step
    enum class Drag { None, Band, Pan } drag_ = Drag::None;
    QPoint dragStart_;
    PlotGeometry dragGeometry_;
    PlotView dragView_;
    bool dragged_ = false;
};

} // namespace plotwell
