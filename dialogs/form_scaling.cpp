#include "dialogs/form_scaling.h"

#include "core/rounding.h"
#include "dialogs/anchors.h"
#include "dialogs/form_position.h"

#include <QFont>
#include <QList>
#include <QScopeGuard>
#include <QWidget>

#include <cmath>
#include <utility>

namespace plotwell {

namespace {

int MulDiv(int value, int m, int d)
{
    return static_cast<int>(std::lround(static_cast<double>(value) * m / d));
}

QSize Scaled(QSize size, int m, int d)
{
    return QSize(MulDiv(size.width(), m, d), MulDiv(size.height(), m, d));
}

// A rectangle scaled by its edges, so neighbours that touched still touch.
QRect Scaled(const QRect& r, int m, int d)
{
    const int left = MulDiv(r.x(), m, d);
    const int top = MulDiv(r.y(), m, d);
    return QRect(left, top, MulDiv(r.x() + r.width(), m, d) - left, MulDiv(r.y() + r.height(), m, d) - top);
}

// The child widgets of `form` that belong to it (not separate windows): each level's direct
// children in order, then each of their own children in turn.
QList<QWidget*> ControlsOf(QWidget& form)
{
    QList<QWidget*> result;
    QList<QWidget*> level{&form};
    while (!level.isEmpty()) {
        QList<QWidget*> next;
        for (QWidget* parent : std::as_const(level)) {
            for (QObject* object : parent->children()) {
                auto* child = qobject_cast<QWidget*>(object);
                if (child && !child->isWindow()) {
                    result.append(child);
                    next.append(child);
                }
            }
        }
        level = std::move(next);
    }
    return result;
}

void ScaleLimits(QWidget& widget, int m, int d)
{
    const QSize min = widget.minimumSize();
    const QSize max = widget.maximumSize();
    if (!min.isNull())
        widget.setMinimumSize(Scaled(min, m, d));
    widget.setMaximumSize(max.width() == QWIDGETSIZE_MAX ? QWIDGETSIZE_MAX : qMin(MulDiv(max.width(), m, d), QWIDGETSIZE_MAX),
                          max.height() == QWIDGETSIZE_MAX ? QWIDGETSIZE_MAX : qMin(MulDiv(max.height(), m, d), QWIDGETSIZE_MAX));
}

QFont ScaledFont(QFont font, int m, int d)
{
    if (font.pixelSize() > 0)
        font.setPixelSize(qMax(1, MulDiv(font.pixelSize(), m, d)));
    else if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * m / d);
    return font;
}

// Fonts are read first and set afterwards: a child's font follows its parent's, and scaling
// the parent first would have the child scaled twice.
void ScaleFonts(QWidget& form, const QList<QWidget*>& controls, int m, int d, bool pixelSizedOnly)
{
    QList<std::pair<QWidget*, QFont>> fonts{{&form, form.font()}};
    for (QWidget* control : controls)
        if (control->testAttribute(Qt::WA_SetFont))
            fonts.append({control, control->font()});
    for (auto& [widget, font] : fonts)
        if (!pixelSizedOnly || font.pixelSize() > 0)
            widget->setFont(ScaledFont(font, m, d));
}

} // namespace

ScaleStep ScaleStepOfDpi(qreal dpi)
{
    const qint64 d = Round(dpi);
    if (d <= 110)
        return {0, 1.0};
    if (d <= 134)
        return {1, 1.25};
    if (d <= 170)
        return {2, 1.5};
    return {3, 2.0};
}

FormScaler::FormScaler(const ScreenInfo* screens) : screens_(screens ? screens : &systemScreens_) {}

double FormScaler::ScaleAmountOf(const QWidget* form)
{
    const ScaleStep step = ScaleStepOfDpi(screens_->LogicalDpi(form));
    scaleLevel_ = step.level;
    return step.amount;
}

double FormScaler::StandardizeFormFont(QWidget* form, bool anchorsfixed)
{
    Q_ASSERT_X(form, "StandardizeFormFont", "a form is required");
    if (!form)
        return 1.0;
    scaleAmount_ = ScaleAmountOf(form);
    Scale(form, static_cast<int>(Round(scaleAmount_ * 100)), 100, anchorsfixed, FontScaling::PixelSizedOnly);
    return scaleAmount_;
}

void FormScaler::ScaleForm(QWidget* form, int m, int d, bool anchorsfixed)
{
    Scale(form, m, d, anchorsfixed, FontScaling::All);
}

void FormScaler::Scale(QWidget* form, int m, int d, bool anchorsfixed, FontScaling fonts)
{
    // 0/0 means "no scaling"; any other ratio that is not positive cannot be a size.
    if (!form || m <= 0 || d <= 0)
        return;
    const QRect before = form->frameGeometry();
    const QList<QWidget*> controls = ControlsOf(*form);

    // While sizes change, anchored children would follow the parent's new size from their old
    // places: anchor them to left and top meanwhile, and anchor them again from where they end up.
    QList<Qt::Edges> anchors;
    if (!anchorsfixed) {
        for (QWidget* control : controls) {
            anchors.append(AnchorLayout::Anchors(control));
            AnchorLayout::SetAnchors(control, Qt::LeftEdge | Qt::TopEdge);
        }
    }
    const auto restoreAnchors = qScopeGuard([&] {
        for (qsizetype i = 0; i < anchors.size(); ++i)
            AnchorLayout::SetAnchors(controls[i], anchors[i]);
    });

    if (m != d) {
        // Sizes are taken before the limits change, since changing a limit can resize a widget.
        for (QWidget* control : controls) {
            const QRect geometry = Scaled(control->geometry(), m, d);
            ScaleLimits(*control, m, d);
            control->setGeometry(geometry);
        }
        const QSize size = Scaled(form->size(), m, d);
        ScaleLimits(*form, m, d);
        form->resize(size);
        ScaleFonts(*form, controls, m, d, fonts == FontScaling::PixelSizedOnly);
    }
    if (form->isWindow())
        KeepOnMonitor(*form, before);
}

void FormScaler::KeepOnMonitor(QWidget& form, const QRect& before)
{
    const QRect after = form.frameGeometry();
    int left = after.left();
    int top = after.top();
    if (IsCentred(FormPosition(form))) {
        left -= (after.width() - before.width()) / 2;
        top -= (after.height() - before.height()) / 2;
    }
    const QRect area = screens_->WorkArea(form);
    if (area.isNull()) {
        form.move(qMax(left, 0), qMax(top, 0));
        return;
    }
    // Judged where the window now is, after centring, so a centred window that fits stays centred.
    if (left + after.width() > area.left() + area.width())
        left = area.left() + area.width() - after.width();
    if (top + after.height() > area.top() + area.height())
        top = area.top() + area.height() - after.height();
    form.move(qMax(left, area.left()), qMax(top, area.top()));
}

} // namespace plotwell
