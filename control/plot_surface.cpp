#include "control/plot_surface.h"

#include "graph/draw/canvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace plotwell {

PlotSurface::PlotSurface(const Canvas& canvas, QWidget* parent) : QWidget(parent), canvas_(&canvas)
{
    setObjectName(QStringLiteral("PaintBox"));
    setAccessibleName(QStringLiteral("Graph"));
    setMouseTracking(true);
    // Every pixel comes from the picture: Qt need not clear the widget first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotSurface::ShowCanvas(const Canvas& canvas)
{
    canvas_ = &canvas;
    update();
}

void PlotSurface::SetBackground(const QColor& color)
{
    background_ = color;
}

void PlotSurface::SetBand(const QRect& band)
{
    if (band == band_)
        return;
    update(band_.adjusted(-1, -1, 1, 1));
    band_ = band;
    update(band_.adjusted(-1, -1, 1, 1));
}

void PlotSurface::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect picture(0, 0, canvas_->Width(), canvas_->Height());
    const QRegion uncovered = QRegion(event->rect()) - picture;
    for (const QRect& r : uncovered)
        painter.fillRect(r, background_);
    canvas_->DrawTo(painter, QPoint(0, 0));
    // Over the picture only: Copy and Print never take the band.
    if (!band_.isEmpty()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(band_.adjusted(0, 0, -1, -1));
    }
    // The keys act on the surface while it has the focus: the frame says so, over the picture.
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
    if (canvas_->DevicePixelRatio() != devicePixelRatioF())
        emit pictureOutdated();
}

void PlotSurface::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void PlotSurface::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void PlotSurface::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

} // namespace plotwell
