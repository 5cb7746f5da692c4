#include "control/view_navigator.h"

#include "control/plot_surface.h"
#include "control/view_steps.h"
#include "graph/data/plot_model.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>

namespace plotwell {

namespace {

// Views gone back to are kept up to this many.
constexpr std::size_t kHistoryLength = 100;
// Shift+wheel pans by this share of the span per notch; Left and Right by a quarter.
constexpr double kWheelPan = 0.125;
constexpr double kKeyPan = 0.25;

} // namespace

ViewNavigator::ViewNavigator(PlotSurface& surface, const PlotModel& model,
                             std::function<const DrawingResult&()> drawing, std::function<void()> changed)
    : QObject(&surface), surface_(surface), model_(model), drawing_(std::move(drawing)), changed_(std::move(changed))
{
    surface_.installEventFilter(this);
}

void ViewNavigator::SetView(const PlotView& given)
{
    wheeling_ = false;
    const PlotView view = given.Checked();
    if (view == view_)
        return;
    history_.push_back(view_);
    if (history_.size() > kHistoryLength)
        history_.erase(history_.begin());
    view_ = view;
    changed_();
}

void ViewNavigator::ShowAll()
{
    SetView(PlotView{});
}

void ViewNavigator::Back()
{
    wheeling_ = false;
    if (history_.empty())
        return;
    view_ = history_.back();
    history_.pop_back();
    changed_();
}

void ViewNavigator::Reset()
{
    wheeling_ = false;
    history_.clear();
    drag_ = Drag::None;
    surface_.SetBand(QRect());
    view_ = PlotView{};
}

void ViewNavigator::KeepOver(const std::optional<ViewSpan>& wholeX)
{
    wheeling_ = false;
    view_ = KeptOverReload(view_, wholeX);
    if (!view_.Zoomed())
        history_.clear();
}

// The drawing's geometry with the view's ranges: steps taken before the next drawing build on
// one another.
PlotGeometry ViewNavigator::Current() const
{
    PlotGeometry g = drawing_().geometry;
    if (view_.x) {
        g.minX = view_.x->low;
        g.maxextentX = static_cast<double>(static_cast<long double>(view_.x->high) - view_.x->low);
    }
    if (view_.y) {
        g.minY = view_.y->low;
        g.maxextentY = static_cast<double>(static_cast<long double>(view_.y->high) - view_.y->low);
    }
    return g;
}

std::optional<ViewLimits> ViewNavigator::Limits() const
{
    bool bare = true;
    for (int n = 1; n <= model_.NumberOfSeries(); ++n)
        bare = bare && !(model_.SeriesDisplay(n) && model_.AllSeriesInfo(n).xydata);
    return LimitsOf(drawing_(), bare);
}

void ViewNavigator::Step(const std::optional<PlotView>& next, bool merge)
{
    if (!next)
        return;
    if (merge && wheeling_) {
        if (*next != view_) {
            view_ = *next;
            changed_();
        }
        return;
    }
    SetView(*next);
    wheeling_ = merge;
}

bool ViewNavigator::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &surface_)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return Key(static_cast<QKeyEvent*>(event));
    case QEvent::Wheel:
        Wheel(static_cast<QWheelEvent*>(event));
        return true;
    case QEvent::MouseButtonPress:
        Press(static_cast<QMouseEvent*>(event));
        return false;
    case QEvent::MouseMove:
        Move(static_cast<QMouseEvent*>(event));
        return false;
    case QEvent::MouseButtonRelease:
        Release(static_cast<QMouseEvent*>(event));
        return false;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            drag_ = Drag::None;
            surface_.SetBand(QRect());
            ShowAll();
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool ViewNavigator::Key(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier && mods != Qt::ShiftModifier)
        return false;
    const int key = event->key();
    if (key == Qt::Key_Backspace) {
        Back();
        return true;
    }
    if (key == Qt::Key_Home) {
        ShowAll();
        return true;
    }
    const bool zoomKey = key == Qt::Key_Plus || key == Qt::Key_Equal || key == Qt::Key_Minus;
    if (!zoomKey && key != Qt::Key_Left && key != Qt::Key_Right)
        return false;
    const std::optional<ViewLimits> limits = Limits();
    if (!limits)
        return true;
    const PlotGeometry g = Current();
    const ViewSpan x = ShownX(g);
    const double span = static_cast<double>(static_cast<long double>(x.high) - x.low);
    const double middle = static_cast<double>((static_cast<long double>(x.low) + x.high) / 2);
    if (key == Qt::Key_Plus || key == Qt::Key_Equal)
        Step(ZoomX(view_, g, *limits, middle, 0.5));
    else if (key == Qt::Key_Minus)
        Step(ZoomX(view_, g, *limits, middle, 2.0));
    else
        Step(PanX(view_, g, *limits, (key == Qt::Key_Left ? -kKeyPan : kKeyPan) * span));
    return true;
}

void ViewNavigator::Wheel(QWheelEvent* event)
{
    const QPoint angle = event->angleDelta();
    // Some platforms turn a Shift+wheel into a sideways one.
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    const std::optional<ViewLimits> limits = Limits();
    if (delta == 0 || !limits)
        return;
    const double notches = delta / 120.0;
    const PlotGeometry g = Current();
    const QPointF pos = event->position();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (mods & Qt::ShiftModifier) {
        const ViewSpan x = ShownX(g);
        // Up pans towards smaller X, as Left does.
        Step(PanX(view_, g, *limits, -notches * kWheelPan * static_cast<double>(static_cast<long double>(x.high) - x.low)),
             true);
    } else if (mods & Qt::ControlModifier) {
        Step(ZoomY(view_, g, *limits, YAtRow(g, pos.y()), std::pow(kWheelFactor, -notches)), true);
    } else {
        Step(ZoomX(view_, g, *limits, XAtColumn(g, pos.x()), std::pow(kWheelFactor, -notches)), true);
    }
}

void ViewNavigator::Press(QMouseEvent* event)
{
    wheeling_ = false;
    if (event->button() == Qt::LeftButton)
        drag_ = Drag::Band;
    else if (event->button() == Qt::MiddleButton)
        drag_ = Drag::Pan;
    else
        return;
    dragStart_ = event->position().toPoint();
    dragGeometry_ = Current();
    dragView_ = view_;
    dragged_ = false;
}

void ViewNavigator::Move(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (drag_ == Drag::Band && (event->buttons() & Qt::LeftButton)) {
        const bool far = (pos - dragStart_).manhattanLength() >= kClickDistance;
        surface_.SetBand(far ? QRect(dragStart_, pos).normalized() : QRect());
    } else if (drag_ == Drag::Pan && (event->buttons() & Qt::MiddleButton)) {
        // From where the drag started, so that it follows the pointer however far the
        // drawings lag behind; one drag is one step of the history.
        const std::optional<ViewLimits> limits = Limits();
        const PlotGeometry& g = dragGeometry_;
        if (!limits)
            return;
        const std::optional<PlotView> next =
            PanX(dragView_, g, *limits, XAtColumn(g, dragStart_.x()) - XAtColumn(g, pos.x()));
        wheeling_ = dragged_;
        dragged_ = true;
        Step(next, true);
    }
}

void ViewNavigator::Release(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (drag_ == Drag::Band && event->button() == Qt::LeftButton) {
        drag_ = Drag::None;
        surface_.SetBand(QRect());
        const std::optional<ViewLimits> limits = Limits();
        if (limits && (pos - dragStart_).manhattanLength() >= kClickDistance)
            Step(ZoomToBox(drawing_().geometry, *limits, dragStart_, pos));
    } else if (drag_ == Drag::Pan && event->button() == Qt::MiddleButton) {
        drag_ = Drag::None;
        wheeling_ = false;
    }
}

} // namespace plotwell
